// ISpectrumControl, the control's custom interface: the kind's method name, parameters as text
// (from the record's list), module facts, data and scans. Loading, saving and the format
// queries are in control_load.cpp, the command interpreter in control_console.cpp. Methods not
// built yet answer E_FAIL.
#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/convert/spcconvert.h"

using namespace plat::ole;

using HResult = plat::ole::HResult;

namespace {

std::string Text(const char16_t* bstr) { return plat::toUtf8(bstr ? std::u16string_view(bstr) : std::u16string_view()); }

}  // namespace

HResult CSpcControl::XSpectrumControl::GetCurMethod(Bstr* method) {
  if (!method) return E_FAIL;
  const SpcKindRow* kind = SpcFindKind(outer<CSpcControl>().m_data.nKind);
  if (!kind) return E_FAIL;
  *method = allocString(kind->name);
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::GetParam(const char16_t* name, Bstr* value) {
  if (!value) return E_FAIL;
  const CSpcParamList& params = outer<CSpcControl>().m_data.params;
  const std::string key = Text(name);
  if (!params.HasParam(key)) return E_FAIL;
  *value = allocString(plat::toUtf16(params.GetValue(key).GetString()));
  return S_OK;
}

HResult CSpcControl::XSpectrumControl::SetParam(const char16_t* name, const char16_t* value) {
  const std::string key = Text(name);
  if (key.empty()) return E_FAIL;
  CVariant text;
  text.SetString(Text(value));
  return outer<CSpcControl>().m_data.params.SetParam(key, text) ? S_OK : E_FAIL;
}

HResult CSpcControl::XSpectrumControl::GetModuleName(Bstr*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetCopyright(Bstr*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetVersion(std::int16_t*, std::int16_t*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetCreateDate(Bstr*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetParamNames(Bstr*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetParamDescription(const char16_t*, Bstr*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetMethods(Bstr*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetData(SafeArray**) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetCount(std::int32_t*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetCurIndex(std::int32_t*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::SetCurIndex(std::int32_t) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::TakeResult(Variant*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::GetSize(std::int32_t*) { return E_FAIL; }
HResult CSpcControl::XSpectrumControl::SetData(SafeArray*) { return E_FAIL; }
