// The standard toolbar and its zoom combo.
#include "rodizora/frame/standardbar.h"

#include <algorithm>
#include <string>

#include "platform/base/numtext.h"
#include "platform/ui/dc.h"
#include "platform/ui/resource.h"
#include "rodizora/frame/frameresources.h"

namespace {

constexpr int kZoomOfEntry[] = {500, 200, 150, 100, 75, 50, 25, 10, 0};
// The combo's edit field takes at most this many characters ("500%").
constexpr int kZoomTextLimit = 4;

}  // namespace

UI_IMPLEMENT_DYNAMIC(CStandardBar, CFlatToolBar)

UI_BEGIN_MESSAGE_MAP(CStandardBar, CFlatToolBar)
  ui::map::Create(&CStandardBar::OnCreate),
  ui::map::Control(ui::CBN_SELCHANGE, CStandardBar::kZoomComboId, &CStandardBar::OnZoomSelect),
UI_END_MESSAGE_MAP()

int CStandardBar::ZoomOfEntry(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kZoomOfEntry))) return -1;
  return kZoomOfEntry[index];
}

CStandardBar* CStandardBar::FromFrame(const ui::FrameWnd* frame) {
  return frame ? dynamic_cast<CStandardBar*>(frame->GetControlBar(kBarId)) : nullptr;
}

int CStandardBar::OnCreate(ui::CREATESTRUCT*) {
  if (Default() == -1) return -1;
  int charWidth = 0;
  {
    ui::ClientDC dc(this);
    gdi::TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    charWidth = tm.tmAveCharWidth;
  }
  constexpr ui::DWORD kComboStyle = 0x10210002;  // visible, vertical scroll bar, tab stop, drop-down
  if (!m_zoomCombo.Create(ui::WS_CHILD | kComboStyle, ui::Rect(0, 0, 16 * charWidth, 200), this, kZoomComboId))
    return -1;
  std::size_t longest = 0;
  for (ui::UINT id = rodizora_frame::kZoomStringFirst;; ++id) {
    const char* text = ui::FindStringResource(id);
    if (!text) break;
    m_zoomCombo.AddString(text);
    longest = std::max(longest, std::string_view(text).size());
  }
  m_zoomCombo.SetDroppedWidth(static_cast<ui::UINT>((static_cast<int>(longest) + 1) * charWidth * 3 / 2));

  if (!LoadToolBar(kBarId)) return -1;
  SetSizes({23, 22}, {16, 16});
  m_zoomCombo.LimitText(kZoomTextLimit);

  // The combo takes the place of one separator, centred across the bar.
  m_zoomCombo.SetItemHeight(0, static_cast<ui::UINT>(std::max(1, m_zoomCombo.GetItemHeight(-1))));
  ui::Rect combo;
  m_zoomCombo.GetWindowRect(&combo);
  SetButtonInfo(kZoomButtonIndex, kZoomComboId, ui::TBBS_SEPARATOR, combo.Width());
  ui::Rect place;
  GetItemRect(kZoomButtonIndex, &place);
  m_zoomCombo.SetWindowPos(nullptr, place.left, place.top + (place.Height() - combo.Height()) / 2, 0, 0,
                           ui::SWP_NOSIZE | ui::SWP_NOZORDER | ui::SWP_NOACTIVATE);

  SetFlatLookStyle();
  m_zoomCombo.EnableWindow(false);
  return 0;
}

void CStandardBar::OnZoomSelect() {
  const int zoom = ZoomOfEntry(m_zoomCombo.GetCurSel());
  if (zoom < 0) return;
  ui::Wnd* target = GetOwner();
  if (!target) target = GetParent();
  if (target) target->PostMessage(ui::WM_COMMAND, ui::MAKEWPARAM(static_cast<ui::WORD>(kZoomCommandFirst + zoom), 0), 0);
}

void CStandardBar::SetZoom(int percent) {
  if (percent < 0) {
    m_zoomCombo.EnableWindow(false);
    m_zoomCombo.SetWindowText("");
    return;
  }
  m_zoomCombo.EnableWindow(true);
  m_zoomCombo.SetWindowText(plat::formatUInt(static_cast<unsigned>(percent)) + "%");
}
