#include "controls/structure/structurewnd.h"

#include "common/guids.h"
#include "common/shared_ids.h"
#include "platform/base/text.h"

namespace karvel {

using namespace plat::ole;

UI_IMPLEMENT_DYNCREATE(CStructure, CControlHost)

bool CStructure::Create(std::string_view windowName, ui::DWORD style, const ui::Rect& rect, ui::Wnd* parent,
                        ui::UINT id) {
  return CreateControl(CLSID_StructureControl, DIID__DStructureEvents, windowName, style, rect, parent, id);
}

bool CStructure::LoadFile(std::string_view path) {
  if (!Dispatch()) return false;
  DispatchDriver driver(Dispatch());
  Variant arg, result;
  variantInit(&arg);
  variantInit(&result);
  arg.vt = VT_BSTR;
  arg.bstr = allocString(plat::toUtf16(path));
  const HResult call = driver.invoke(kedrus_dispid::kStructureLoadFile, DISPATCH_METHOD, std::span(&arg, 1), &result);
  variantClear(&arg);
  const bool loaded = succeeded(call) && result.vt == VT_ERROR && succeeded(result.i32);
  variantClear(&result);
  driver.detach();
  return loaded;
}

}  // namespace karvel
