// Toolbars: buttons from a strip image, separators, check boxes and groups, drop-downs.
#include <algorithm>

#include "platform/ui/bars.h"
#include "platform/ui/controls.h"
#include "platform/ui/dc.h"
#include "platform/ui/internal/state.h"

namespace ui {

namespace {

// The strips' background shows the button face.
constexpr COLORREF kStripBackground = RGB(192, 192, 192);
// A disabled picture keeps only what is darker than its face and its white.
constexpr COLORREF kStripHighlight = RGB(255, 255, 255);
constexpr int kDefaultSeparatorWidth = 8;
constexpr int kDropArrowWidth = 12;

class ToolCmdUI : public CmdUI {
 public:
  explicit ToolCmdUI(ToolBar* bar) : bar_(bar) {}
  void Enable(bool on) override {
    m_bEnableChanged = true;
    const int i = static_cast<int>(m_nIndex);
    UINT style = bar_->GetButtonStyle(i) & ~TBBS_DISABLED;
    if (!on) style |= TBBS_DISABLED;
    bar_->SetButtonStyle(i, style);
  }
  // A button that gets a check state is a check box from then on.
  void SetCheck(int check) override {
    const int i = static_cast<int>(m_nIndex);
    UINT style = bar_->GetButtonStyle(i) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    if (check == 1) style |= TBBS_CHECKED;
    else if (check == 2) style |= TBBS_INDETERMINATE;
    bar_->SetButtonStyle(i, style | TBBS_CHECKBOX);
  }
  void SetRadio(bool on) override { SetCheck(on ? 1 : 0); }
  void SetText(std::string_view) override {}

 private:
  ToolBar* bar_;
};

}  // namespace

UI_IMPLEMENT_DYNAMIC(ToolBar, ControlBar)

UI_BEGIN_MESSAGE_MAP(ToolBar, ControlBar)
  map::Paint(&ToolBar::OnPaint),
  map::LButtonDown(&ToolBar::OnLButtonDown),
  map::LButtonDblClk(&ToolBar::OnLButtonDown),
  map::MouseMove(&ToolBar::OnMouseMove),
  map::Timer(&ToolBar::OnTimer),
  map::LButtonUp(&ToolBar::OnLButtonUp),
  map::Size(&ToolBar::OnSize),
UI_END_MESSAGE_MAP()

ToolBar::ToolBar() {
  m_cxLeftBorder = 6;
  m_cxRightBorder = 4;
  m_cyTopBorder = 2;
  m_cyBottomBorder = 2;
}

ToolBar::~ToolBar() = default;

bool ToolBar::Create(Wnd* parent, DWORD style, UINT id) { return CreateEx(parent, 0, style, Rect(), id); }

bool ToolBar::CreateEx(Wnd* parent, DWORD ctrlStyle, DWORD style, const Rect& borders, UINT id) {
  if (!borders.IsRectNull()) {
    m_cxLeftBorder = borders.left;
    m_cyTopBorder = borders.top;
    m_cxRightBorder = borders.right;
    m_cyBottomBorder = borders.bottom;
  }
  if (!CreateBar(parent, style, id)) return false;
  ModifyStyle(0, ctrlStyle & kToolBarStyleMask);
  return true;
}

bool ToolBar::LoadToolBar(UINT resourceId) {
  const ToolbarResource* tb = FindToolbarResource(resourceId);
  if (!tb) return false;
  SetSizes({tb->width + 7, tb->height + 7}, {tb->width, tb->height});
  SetButtons(tb->items.data(), static_cast<int>(tb->items.size()));
  return LoadBitmap(resourceId);
}

bool ToolBar::LoadBitmap(UINT resourceId) {
  gdi::Bitmap strip = ui::LoadBitmap(resourceId);
  if (strip.IsNull()) return false;
  SetBitmap(strip);
  return true;
}

void ToolBar::SetBitmap(const gdi::Bitmap& strip) {
  m_strip = strip;
  Invalidate();
}

bool ToolBar::SetButtons(const UINT* ids, int count) {
  m_buttons.clear();
  int image = 0;
  for (int i = 0; i < std::max(0, count); ++i) {
    Item item;
    item.id = ids ? ids[i] : ID_SEPARATOR;
    if (item.id == ID_SEPARATOR) {
      item.style = TBBS_SEPARATOR;
      item.image = kDefaultSeparatorWidth;
    } else {
      item.style = TBBS_BUTTON;
      item.image = image++;
    }
    m_buttons.push_back(item);
  }
  Layout();
  Invalidate();
  return true;
}

void ToolBar::SetSizes(Size button, Size image) {
  m_sizeButton = {std::max(1, button.cx), std::max(1, button.cy)};
  m_sizeImage = {std::max(0, image.cx), std::max(0, image.cy)};
  Layout();
  Invalidate();
}

void ToolBar::SetHeight(int height) {
  m_sizeButton.cy = std::max(1, height - m_cyTopBorder - m_cyBottomBorder);
  Layout();
  Invalidate();
}

int ToolBar::CommandToIndex(UINT id) const {
  for (std::size_t i = 0; i < m_buttons.size(); ++i)
    if (m_buttons[i].id == id) return static_cast<int>(i);
  return -1;
}

UINT ToolBar::GetItemID(int index) const {
  return index >= 0 && index < GetCount() ? m_buttons[static_cast<std::size_t>(index)].id : 0;
}

void ToolBar::GetItemRect(int index, Rect* rect) const {
  if (!rect) return;
  *rect = index >= 0 && index < static_cast<int>(m_rects.size()) ? m_rects[static_cast<std::size_t>(index)] : Rect();
}

UINT ToolBar::GetButtonStyle(int index) const {
  return index >= 0 && index < GetCount() ? m_buttons[static_cast<std::size_t>(index)].style : 0;
}

void ToolBar::SetButtonStyle(int index, UINT style) {
  if (index < 0 || index >= GetCount()) return;
  Item& item = m_buttons[static_cast<std::size_t>(index)];
  if (item.style == style) return;
  const bool relayout = ((item.style ^ style) & (TBBS_SEPARATOR | TBBS_HIDDEN | TBBS_DROPDOWN)) != 0;
  item.style = style;
  if (relayout) {
    Layout();
    Invalidate();
  } else if (index < static_cast<int>(m_rects.size())) {
    InvalidateRect(&m_rects[static_cast<std::size_t>(index)]);
  }
}

void ToolBar::GetButtonInfo(int index, UINT* id, UINT* style, int* image) const {
  if (index < 0 || index >= GetCount()) return;
  const Item& item = m_buttons[static_cast<std::size_t>(index)];
  if (id) *id = item.id;
  if (style) *style = item.style;
  if (image) *image = item.image;
}

void ToolBar::SetButtonInfo(int index, UINT id, UINT style, int image) {
  if (index < 0 || index >= GetCount()) return;
  Item& item = m_buttons[static_cast<std::size_t>(index)];
  item.id = id;
  item.style = style;
  item.image = (style & TBBS_SEPARATOR) ? std::clamp(image, 0, 32767) : std::max(0, image);
  Layout();
  Invalidate();
}

std::string ToolBar::GetButtonText(int index) const {
  return index >= 0 && index < GetCount() ? m_buttons[static_cast<std::size_t>(index)].text : std::string();
}

bool ToolBar::SetButtonText(int index, std::string_view text) {
  if (index < 0 || index >= GetCount()) return false;
  m_buttons[static_cast<std::size_t>(index)].text = std::string(text);
  Invalidate();
  return true;
}

void ToolBar::SetToolBarStyle(DWORD style) {
  ModifyStyle(kToolBarStyleMask, style & kToolBarStyleMask);
  Invalidate();
}

void ToolBar::Layout() {
  const bool horz = IsHorizontal() || !(m_dwStyle & CBRS_ALIGN_ANY);
  m_rects.assign(m_buttons.size(), Rect());
  int at = 0;
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    const Item& item = m_buttons[i];
    if (item.style & TBBS_HIDDEN) continue;
    const bool separator = item.style & TBBS_SEPARATOR;
    int length;
    if (horz) length = separator ? item.image : m_sizeButton.cx + ((item.style & TBBS_DROPDOWN) ? kDropArrowWidth : 0);
    else length = separator ? kDefaultSeparatorWidth : m_sizeButton.cy;
    m_rects[i] = horz ? Rect(at, 0, at + length, m_sizeButton.cy) : Rect(0, at, m_sizeButton.cx, at + length);
    at += length;
  }
}

Size ToolBar::CalcFixedLayout(bool stretch, bool horz) {
  int length = 0;
  for (const Item& item : m_buttons) {
    if (item.style & TBBS_HIDDEN) continue;
    const bool separator = item.style & TBBS_SEPARATOR;
    if (horz) length += separator ? item.image : m_sizeButton.cx + ((item.style & TBBS_DROPDOWN) ? kDropArrowWidth : 0);
    else length += separator ? kDefaultSeparatorWidth : m_sizeButton.cy;
  }
  Rect inside(0, 0, 0, 0);
  CalcInsideRect(inside, horz);
  Size size = horz ? Size{length, m_sizeButton.cy} : Size{m_sizeButton.cx, length};
  size.cx -= inside.Width();
  size.cy -= inside.Height();
  if (stretch) {
    if (horz) size.cx = 32767;
    else size.cy = 32767;
  }
  return size;
}

Size ToolBar::CalcDynamicLayout(int, DWORD mode) {
  return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & (LM_HORZ | LM_HORZDOCK)) != 0);
}

void ToolBar::OnBarStyleChange(DWORD, DWORD) {
  Layout();
  Invalidate();
}

void ToolBar::OnSize(UINT, int, int) {
  Layout();
  Invalidate();
}

int ToolBar::ButtonAt(Point point) const {
  for (std::size_t i = 0; i < m_rects.size(); ++i)
    if (m_rects[i].PtInRect(point)) return static_cast<int>(i);
  return -1;
}

void ToolBar::OnPaint() {
  PaintDC dc(this);
  Rect client;
  GetClientRect(&client);
  dc.FillSolidRect(client, gdi::GetSysColor(gdi::COLOR_BTNFACE));
  for (int i = 0; i < GetCount() && i < static_cast<int>(m_rects.size()); ++i) {
    const Item& item = m_buttons[static_cast<std::size_t>(i)];
    if ((item.style & (TBBS_SEPARATOR | TBBS_HIDDEN)) || m_rects[static_cast<std::size_t>(i)].IsRectEmpty()) continue;
    DrawButton(&dc, i, m_rects[static_cast<std::size_t>(i)]);
  }
}

void ToolBar::DrawButton(gdi::DC* dc, int index, const Rect& rect) {
  const Item& item = m_buttons[static_cast<std::size_t>(index)];
  const bool disabled = item.style & TBBS_DISABLED;
  const bool checked = item.style & (TBBS_CHECKED | TBBS_INDETERMINATE);
  const bool pressed = item.style & TBBS_PRESSED;
  const bool flat = GetStyle() & TBSTYLE_FLAT;
  const COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
  const COLORREF dark = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
  Rect face = rect;
  if (checked && !pressed) {
    Rect inner = face;
    inner.DeflateRect(1, 1);
    dc->FillSolidRect(inner, gdi::GetSysColor(gdi::COLOR_3DLIGHT));
  }
  if (pressed || checked) dc->Draw3dRect(face, dark, light);
  else if (!flat) dc->Draw3dRect(face, light, dark);
  // The image, centred, one pixel down and right while pushed.
  gdi::RasterSurface* strip = m_strip.Surface();
  if (strip && m_sizeImage.cx > 0 && m_sizeImage.cy > 0) {
    const int buttonWidth = rect.Width() - ((item.style & TBBS_DROPDOWN) ? kDropArrowWidth : 0);
    const int shift = (pressed || checked) ? 1 : 0;
    const int dx = rect.left + (buttonWidth - m_sizeImage.cx) / 2 + shift;
    const int dy = rect.top + (rect.Height() - m_sizeImage.cy) / 2 + shift;
    const int sx = item.image * m_sizeImage.cx;
    for (int y = 0; y < m_sizeImage.cy; ++y)
      for (int x = 0; x < m_sizeImage.cx; ++x) {
        const COLORREF c = strip->GetPixel(sx + x, y);
        if (c == gdi::CLR_INVALID || c == kStripBackground) continue;
        if (disabled) {
          if (c == kStripHighlight) continue;
          dc->SetPixelV(dx + x + 1, dy + y + 1, light);
          dc->SetPixelV(dx + x, dy + y, dark);
        } else {
          dc->SetPixelV(dx + x, dy + y, c);
        }
      }
  }
  if (item.style & TBBS_DROPDOWN) {
    // A small arrow in the drop-down part.
    const int ax = rect.right - kDropArrowWidth + 3;
    const int ay = rect.top + rect.Height() / 2 - 1;
    const COLORREF ink = disabled ? dark : gdi::GetSysColor(gdi::COLOR_BTNTEXT);
    for (int k = 0; k < 3; ++k) dc->FillSolidRect(Rect(ax + k, ay + k, ax + 6 - k, ay + k + 1), ink);
  }
}

void ToolBar::Pressed(int index) {
  Item& item = m_buttons[static_cast<std::size_t>(index)];
  if ((item.style & TBBS_CHECKGROUP) == TBBS_CHECKGROUP) {
    // One checked button per group: the run of group buttons around this one.
    auto inGroup = [&](int i) { return i >= 0 && i < GetCount() && (m_buttons[static_cast<std::size_t>(i)].style & TBBS_CHECKGROUP) == TBBS_CHECKGROUP; };
    int first = index;
    while (inGroup(first - 1)) --first;
    for (int i = first; inGroup(i); ++i)
      if (i != index && (m_buttons[static_cast<std::size_t>(i)].style & TBBS_CHECKED))
        SetButtonStyle(i, m_buttons[static_cast<std::size_t>(i)].style & ~TBBS_CHECKED);
    SetButtonStyle(index, item.style | TBBS_CHECKED);
  } else if (item.style & TBBS_CHECKBOX) {
    SetButtonStyle(index, item.style ^ TBBS_CHECKED);
  }
  const UINT id = item.id;
  if (Wnd* owner = GetOwner()) owner->PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
}

void ToolBar::OnLButtonDown(UINT, Point point) {
  const int i = ButtonAt(point);
  if (i < 0) {
    Default();  // the bar itself: a drag
    return;
  }
  Item& item = m_buttons[static_cast<std::size_t>(i)];
  if (item.style & TBBS_SEPARATOR) {
    Default();  // between the buttons: a drag too
    return;
  }
  if (item.style & TBBS_DISABLED) return;
  if (item.style & TBBS_DROPDOWN) {
    NMTOOLBAR nm;
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = GetDlgCtrlID();
    nm.hdr.code = TBN_DROPDOWN;
    nm.iItem = static_cast<int>(item.id);
    nm.rcButton = m_rects[static_cast<std::size_t>(i)];
    if (Wnd* owner = GetOwner()) owner->SendMessage(WM_NOTIFY, GetDlgCtrlID(), reinterpret_cast<LPARAM>(&nm));
    return;
  }
  m_tracking = i;
  SetButtonStyle(i, item.style | TBBS_PRESSED);
  SetCapture();
}

namespace {
constexpr UINT_PTR kFlyByTimer = 0xE000;  // checks that the pointer is still on the button
}

void ToolBar::FlyBy(UINT id) {
  if (id == m_flyBy) return;
  m_flyBy = id;
  if (id) SetTimer(kFlyByTimer, 200);
  else KillTimer(kFlyByTimer);
  FrameWnd* frame = dynamic_cast<FrameWnd*>(GetTopLevelParent());
  if (auto* owner = dynamic_cast<FrameWnd*>(GetOwner()); owner && !(owner->GetStyle() & WS_CHILD)) frame = owner;
  if (frame) frame->SetTrackingMessage(id ? id : AFX_IDS_IDLEMESSAGE);
}

void ToolBar::OnTimer(UINT_PTR id) {
  if (id != kFlyByTimer) return;
  Point p;
  GetCursorPos(&p);
  ScreenToClient(&p);
  const int i = ButtonAt(p);
  const bool on = IsWindowVisible() && i >= 0 && !(m_buttons[static_cast<std::size_t>(i)].style & TBBS_SEPARATOR);
  if (!on) FlyBy(0);
}

void ToolBar::OnMouseMove(UINT, Point point) {
  if (m_tracking < 0 && (GetBarStyle() & CBRS_FLYBY)) {
    const int i = ButtonAt(point);
    const bool button = i >= 0 && !(m_buttons[static_cast<std::size_t>(i)].style & TBBS_SEPARATOR);
    FlyBy(button ? m_buttons[static_cast<std::size_t>(i)].id : 0);
  }
  if (IsDragging()) Default();
  if (m_tracking < 0 || m_tracking >= GetCount()) return;
  const bool inside = m_rects[static_cast<std::size_t>(m_tracking)].PtInRect(point);
  const UINT style = m_buttons[static_cast<std::size_t>(m_tracking)].style;
  SetButtonStyle(m_tracking, inside ? (style | TBBS_PRESSED) : (style & ~TBBS_PRESSED));
}

void ToolBar::OnLButtonUp(UINT, Point point) {
  if (IsDragging()) Default();
  if (m_tracking < 0 || m_tracking >= GetCount()) return;
  const int i = m_tracking;
  m_tracking = -1;
  if (GetCapture() == this) ReleaseCapture();
  const UINT style = m_buttons[static_cast<std::size_t>(i)].style;
  SetButtonStyle(i, style & ~TBBS_PRESSED);
  if (m_rects[static_cast<std::size_t>(i)].PtInRect(point) && !(style & TBBS_DISABLED)) Pressed(i);
}

void ToolBar::OnCancelMode() {
  if (m_tracking >= 0 && m_tracking < GetCount())
    SetButtonStyle(m_tracking, m_buttons[static_cast<std::size_t>(m_tracking)].style & ~TBBS_PRESSED);
  m_tracking = -1;
}

LRESULT ToolBar::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TB_BUTTONCOUNT:
      return GetCount();
    case TB_SETTOOLTIPS:
      m_toolTips = dynamic_cast<ToolTipCtrl*>(Wnd::FromHandle(ParamToHandle(static_cast<std::intptr_t>(wParam))));
      return 0;
    case WM_CAPTURECHANGED:
      if (ParamToHandle(lParam) != m_hWnd) OnCancelMode();
      return 0;
    case WM_CANCELMODE:
      OnCancelMode();
      break;
    default:
      break;
  }
  return ControlBar::DefWindowProc(message, wParam, lParam);
}

void ToolBar::OnUpdateCmdUI(FrameWnd* target, bool disableIfNoHandler) {
  ToolCmdUI cmdUI(this);
  cmdUI.m_pOther = this;
  cmdUI.m_nIndexMax = static_cast<UINT>(GetCount());
  for (int i = 0; i < GetCount(); ++i) {
    const Item& item = m_buttons[static_cast<std::size_t>(i)];
    if (item.style & TBBS_SEPARATOR) continue;
    cmdUI.m_nIndex = static_cast<UINT>(i);
    cmdUI.m_nID = item.id;
    cmdUI.DoUpdate(target, disableIfNoHandler);
  }
}

std::intptr_t ToolBar::OnToolHitTest(Point point, TOOLINFO* ti) const {
  const int i = ButtonAt(point);
  if (i < 0) return -1;
  const Item& item = m_buttons[static_cast<std::size_t>(i)];
  if ((item.style & TBBS_SEPARATOR) || item.id == 0) return -1;
  if (ti) {
    ti->hwnd = m_hWnd;
    ti->uId = item.id;
    ti->rect = m_rects[static_cast<std::size_t>(i)];
    ti->callback = true;
  }
  return static_cast<std::intptr_t>(item.id);
}

}  // namespace ui
