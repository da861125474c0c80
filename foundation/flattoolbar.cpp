// The flat toolbar.
#include "foundation/flattoolbar.h"

#include "platform/ui/dc.h"

using namespace ui;

namespace {

// The styles of the buttons of the bar being updated, shared by the module's flat bars (one
// update runs at a time, on the user-interface thread).
std::vector<UINT>& SavedStyles() {
  static std::vector<UINT> styles;
  return styles;
}

}  // namespace

UI_IMPLEMENT_DYNAMIC(CFlatToolBar, ToolBar)

UI_BEGIN_MESSAGE_MAP(CFlatToolBar, ToolBar)
  map::WindowPosChanging(&CFlatToolBar::OnWindowPosChanging),
  map::Paint(&CFlatToolBar::OnPaint),
  map::NcPaint(&CFlatToolBar::OnNcPaint),
  map::NcCalcSize(&CFlatToolBar::OnNcCalcSize),
UI_END_MESSAGE_MAP()

void CFlatToolBar::SetFlatLookStyle() { ModifyStyle(0, TBSTYLE_FLAT); }

bool CFlatToolBar::IsHorizontalDocking() const { return (GetBarStyle() & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }

void CFlatToolBar::OnWindowPosChanging(WINDOWPOS* pos) {
  ToolBar::OnWindowPosChanging(pos);
  RepaintBackground();
}

// What lies under the bar's old place is painted again: the parent and every sibling.
void CFlatToolBar::RepaintBackground() {
  Wnd* parent = GetParent();
  if (!parent) return;
  Rect window;
  GetWindowRect(&window);
  Rect inParent = window;
  parent->ScreenToClient(&inParent);
  parent->InvalidateRect(&inParent, true);
  for (Wnd* sibling : parent->GetChildren()) {
    if (sibling == this) continue;
    Rect inSibling = window;
    sibling->ScreenToClient(&inSibling);
    sibling->InvalidateRect(&inSibling, true);
  }
}

void CFlatToolBar::OnPaint() {
  ToolBar::OnPaint();
  EraseNonClient();
  DrawSeparators();
}

void CFlatToolBar::OnNcPaint() {
  // The default non-client painting is replaced by EraseNonClient.
}

void CFlatToolBar::EraseNonClient() {
  WindowDC dc(this);
  Rect client;
  GetClientRect(&client);
  Rect window;
  GetWindowRect(&window);
  ScreenToClient(&window);
  client.OffsetRect(-window.left, -window.top);
  window.OffsetRect(-window.left, -window.top);
  dc.ExcludeClipRect(client);
  DrawBorders(&dc, window);
  dc.IntersectClipRect(window);
  SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<gdi::DC*>(&dc)));
  DrawGripper(&dc, window);
}

void CFlatToolBar::DrawGripper(gdi::DC* dc, const Rect& windowRect) {
  if (IsFloating()) return;
  Rect r = windowRect;
  r.DeflateRect(1, 1);
  const COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
  const COLORREF dark = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
  if (IsHorizontalDocking()) {
    Rect bar(r.left, r.top, r.left + 3, r.bottom);
    dc->Draw3dRect(bar, light, dark);
    bar.OffsetRect(4, 0);
    dc->Draw3dRect(bar, light, dark);
  } else {
    Rect bar(r.left, r.top, r.right, r.top + 3);
    dc->Draw3dRect(bar, light, dark);
    bar.OffsetRect(0, 4);
    dc->Draw3dRect(bar, light, dark);
  }
}

void CFlatToolBar::DrawSeparators() {
  ClientDC dc(this);
  DrawSeparators(&dc);
}

void CFlatToolBar::DrawSeparators(gdi::DC* dc) {
  const bool horizontal = IsHorizontalDocking();
  const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
  const COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
  const COLORREF dark = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
  for (int i = 0; i < count; ++i) {
    if (!(GetButtonStyle(i) & TBBS_SEPARATOR)) continue;
    Rect item;
    GetItemRect(i, &item);
    // Wider separators are wraps, spacers or places of embedded windows.
    if (item.right - item.left > 8) continue;
    if (horizontal) {
      const int centre = (item.left + item.right) / 2;
      dc->Draw3dRect(Rect(centre - 1, item.top, centre + 1, item.bottom), dark, light);
    } else {
      // Vertical docking: an etched line across the item.
      const int middle = (item.top + item.bottom) / 2;
      dc->Draw3dRect(Rect(item.left, middle - 1, item.right, middle + 1), dark, light);
    }
  }
}

void CFlatToolBar::OnNcCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS* params) {
  ToolBar::OnNcCalcSize(calcValidRects, params);
  if (!params || IsFloating()) return;
  // Room for the gripper at the leading edge; the client keeps its size.
  Rect& r = params->rgrc[0];
  if (IsHorizontalDocking()) {
    r.left += 2;
    r.right += 2;
  } else {
    r.top += 4;
    r.bottom += 4;
  }
}

void CFlatToolBar::OnUpdateCmdUI(FrameWnd* target, bool disableIfNoHandler) {
  std::vector<UINT>& saved = SavedStyles();
  const int count = GetCount();
  saved.assign(static_cast<std::size_t>(count), 0);
  for (int i = 0; i < count; ++i) saved[static_cast<std::size_t>(i)] = GetButtonStyle(i);
  ToolBar::OnUpdateCmdUI(target, disableIfNoHandler);
  bool changed = false;
  for (int i = 0; i < count && i < GetCount(); ++i) {
    const UINT before = saved[static_cast<std::size_t>(i)];
    const UINT style = GetButtonStyle(i);
    if ((style & TBBS_CHECKBOX) && !(style & TBBS_DISABLED)) {
      UINT wanted = style;
      if (style & TBBS_CHECKED) wanted |= TBBS_PRESSED;
      else if ((before & TBBS_PRESSED) && !(before & TBBS_CHECKED)) wanted |= TBBS_PRESSED;  // being pressed
      else wanted &= ~TBBS_PRESSED;
      if (wanted != style) SetButtonStyle(i, wanted);
    }
    if (GetButtonStyle(i) != before) changed = true;
  }
  if (changed) Invalidate(true);
}
