#include "controls/base/karvelcontrol.h"

#include "controls/module/typelib.h"
#include "platform/base/text.h"

namespace karvel {

using namespace plat::ole;

CKarvelControl::CKarvelControl(const CoClassDesc& coclass, const char* typeName, std::span<const Guid> pages,
                               std::span<const VerbEntry> verbs)
    : OleControl(coclass, &KarvelTypeLib()), m_coclass(coclass), m_typeName(typeName), m_pages(pages), m_verbs(verbs) {}

CKarvelControl::~CKarvelControl() = default;

Guid CKarvelControl::GetClassID() const { return *m_coclass.clsid; }
plat::DWord CKarvelControl::GetMiscStatus() const { return kControlMiscStatus; }
std::u16string CKarvelControl::GetUserTypeName() const { return plat::toUtf16(m_typeName); }

const Guid* CKarvelControl::GetPropPageIDs(std::uint32_t& count) {
  count = static_cast<std::uint32_t>(m_pages.size());
  return m_pages.data();
}

void CKarvelControl::DoPropExchange(PropExchange* px) {
  ExchangeVersion(px, kControlVersion);
  OleControl::DoPropExchange(px);
}

bool OpenPanelWindow(ui::Wnd& panel, ui::Wnd* owner, const gdi::Rect& place) {
  static const std::string windowClass = [] {
    const gdi::Brush grey = gdi::StockBrush(gdi::LTGRAY_BRUSH);
    return ui::RegisterWndClass(0, nullptr, &grey);
  }();
  if (!panel.CreateEx(ui::WS_EX_TOOLWINDOW, windowClass.c_str(), "", ui::WS_POPUP | ui::WS_BORDER | ui::WS_SYSMENU, place,
                      owner, 0))
    return false;
  panel.ShowWindow(ui::SW_SHOWNA);
  return true;
}

}  // namespace karvel
