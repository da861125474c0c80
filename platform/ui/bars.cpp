// Control bars, dock bars, floating frames, the status bar and dialog bars.
#include "platform/ui/bars.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/ui/app.h"
#include "platform/ui/dc.h"
#include "platform/ui/docview.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/internal/wndaccess.h"

namespace ui {

namespace {

const char* BarClass() {
  static const std::string name = [] {
    const gdi::Brush face(gdi::GetSysColor(gdi::COLOR_BTNFACE));
    return RegisterWndClass(CS_DBLCLKS, nullptr, &face);
  }();
  return name.c_str();
}

bool IsForwarded(UINT m) {
  return m == WM_COMMAND || m == WM_NOTIFY || m == WM_DRAWITEM || m == WM_MEASUREITEM || m == WM_DELETEITEM ||
         m == WM_COMPAREITEM || m == WM_VKEYTOITEM || m == WM_CHARTOITEM;
}

}  // namespace

// --- ControlBar -----------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(ControlBar, Wnd)

UI_BEGIN_MESSAGE_MAP(ControlBar, Wnd)
  map::Message(WM_SIZEPARENT, &ControlBar::OnSizeParent),
  map::Message(WM_IDLEUPDATECMDUI, &ControlBar::OnIdleUpdateCmdUIMsg),
  map::NcCalcSize(&ControlBar::OnNcCalcSize),
  map::NcPaint(&ControlBar::OnNcPaint),
  map::EraseBkgnd(&ControlBar::OnEraseBkgnd),
  map::Paint(&ControlBar::OnPaint),
  map::Destroy(&ControlBar::OnDestroy),
UI_END_MESSAGE_MAP()

ControlBar::ControlBar() = default;

ControlBar::~ControlBar() {
  if (IsWindow()) DestroyWindow();
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
}

bool ControlBar::CreateBar(Wnd* parent, DWORD style, UINT id) {
  m_dwStyle = style & CBRS_ALL;
  FrameWnd* frame = dynamic_cast<FrameWnd*>(parent);
  if (!frame && parent) frame = parent->GetParentFrame();
  m_pDockSite = frame;
  if (!CreateEx(0, BarClass(), "", (style & ~CBRS_ALL) | WS_CHILD, Rect(), parent, id)) return false;
  if (!GetOwner() || GetOwner() == parent) SetOwner(parent);
  if (frame && !IsDockBar()) frame->AddControlBar(this);
  if (m_dwStyle & CBRS_TOOLTIPS) EnableToolTips(true);
  return true;
}

void ControlBar::OnDestroy() {
  if (m_pDockBar) m_pDockBar->Remove(this);
  m_pDockBar = nullptr;
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  m_pDockSite = nullptr;
  Default();
}

void ControlBar::SetBarStyle(DWORD style) {
  const DWORD old = m_dwStyle;
  m_dwStyle = style & CBRS_ALL;
  if (old == m_dwStyle) return;
  EnableToolTips((m_dwStyle & CBRS_TOOLTIPS) != 0);
  OnBarStyleChange(old, m_dwStyle);
  if (IsWindow() && ((old ^ m_dwStyle) & (CBRS_BORDER_ANY | CBRS_BORDER_3D | CBRS_GRIPPER | CBRS_ALIGN_ANY | CBRS_FLOATING)))
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ControlBar::OnBarStyleChange(DWORD, DWORD) {}

void ControlBar::EnableDocking(DWORD dockStyle) {
  m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY;
  if (!m_pDockSite) m_pDockSite = GetParentFrame();
}

bool ControlBar::IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }

bool ControlBar::IsHorizontal() const {
  if (IsFloating()) return !(m_dwStyle & CBRS_ORIENT_VERT) || (m_dwStyle & CBRS_ORIENT_HORZ);
  return (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
}

bool ControlBar::IsVisible() const {
  if (m_nStateFlags & delayHide) return false;
  if (m_nStateFlags & delayShow) return true;
  return (GetStyle() & WS_VISIBLE) != 0;
}

FrameWnd* ControlBar::GetDockingFrame() const { return m_pDockSite ? m_pDockSite : GetParentFrame(); }

void ControlBar::DelayShow(bool show) {
  m_nStateFlags &= ~(delayHide | delayShow);
  const bool visible = (GetStyle() & WS_VISIBLE) != 0;
  if (show && !visible) m_nStateFlags |= delayShow;
  if (!show && visible) m_nStateFlags |= delayHide;
}

Size ControlBar::CalcFixedLayout(bool stretch, bool horz) {
  Rect inside(0, 0, 0, 0);
  CalcInsideRect(inside, horz);
  Size size{-inside.Width(), -inside.Height()};
  if (stretch) {
    if (horz) size.cx = 32767;
    else size.cy = 32767;
  }
  return size;
}

Size ControlBar::CalcDynamicLayout(int, DWORD mode) {
  return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void ControlBar::OnUpdateCmdUI(FrameWnd*, bool) {}

void ControlBar::CalcInsideRect(Rect& rect, bool horz) const {
  const DWORD s = m_dwStyle;
  const int edge = (s & CBRS_BORDER_3D) ? 2 : 1;
  if (!(s & CBRS_FLOATING)) {
    if (s & CBRS_BORDER_LEFT) rect.left += edge;
    if (s & CBRS_BORDER_TOP) rect.top += edge;
    if (s & CBRS_BORDER_RIGHT) rect.right -= edge;
    if (s & CBRS_BORDER_BOTTOM) rect.bottom -= edge;
  }
  if (horz) {
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
    if ((s & CBRS_GRIPPER) && !(s & CBRS_FLOATING)) rect.left += 4;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
    if ((s & CBRS_GRIPPER) && !(s & CBRS_FLOATING)) rect.top += 4;
  }
}

void ControlBar::DrawBorders(gdi::DC* dc, Rect& rect) {
  if (!dc || (m_dwStyle & CBRS_FLOATING)) return;
  const COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
  const COLORREF dark = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
  const DWORD s = m_dwStyle;
  // The outer edge: a light line on the top and left, a dark one on the bottom and right; the 3-D
  // style adds the inner line of the other colour.
  if (s & CBRS_BORDER_TOP) dc->FillSolidRect(Rect(rect.left, rect.top, rect.right, rect.top + 1), (s & CBRS_BORDER_3D) ? dark : light);
  if (s & CBRS_BORDER_LEFT) dc->FillSolidRect(Rect(rect.left, rect.top, rect.left + 1, rect.bottom), (s & CBRS_BORDER_3D) ? dark : light);
  if (s & CBRS_BORDER_BOTTOM) dc->FillSolidRect(Rect(rect.left, rect.bottom - 1, rect.right, rect.bottom), dark);
  if (s & CBRS_BORDER_RIGHT) dc->FillSolidRect(Rect(rect.right - 1, rect.top, rect.right, rect.bottom), dark);
  if (s & CBRS_BORDER_TOP) ++rect.top;
  if (s & CBRS_BORDER_LEFT) ++rect.left;
  if (s & CBRS_BORDER_BOTTOM) --rect.bottom;
  if (s & CBRS_BORDER_RIGHT) --rect.right;
  if (s & CBRS_BORDER_3D) {
    if (s & CBRS_BORDER_TOP) dc->FillSolidRect(Rect(rect.left, rect.top, rect.right, rect.top + 1), light);
    if (s & CBRS_BORDER_LEFT) dc->FillSolidRect(Rect(rect.left, rect.top, rect.left + 1, rect.bottom), light);
    if (s & CBRS_BORDER_BOTTOM) dc->FillSolidRect(Rect(rect.left, rect.bottom - 1, rect.right, rect.bottom), light);
    if (s & CBRS_BORDER_RIGHT) dc->FillSolidRect(Rect(rect.right - 1, rect.top, rect.right, rect.bottom), light);
    if (s & CBRS_BORDER_TOP) ++rect.top;
    if (s & CBRS_BORDER_LEFT) ++rect.left;
    if (s & CBRS_BORDER_BOTTOM) --rect.bottom;
    if (s & CBRS_BORDER_RIGHT) --rect.right;
  }
}

void ControlBar::DrawGripper(gdi::DC* dc, const Rect& rect) {
  if (!dc || !(m_dwStyle & CBRS_GRIPPER) || (m_dwStyle & CBRS_FLOATING)) return;
  const COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
  const COLORREF dark = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
  if (IsHorizontal()) dc->Draw3dRect(Rect(rect.left + 2, rect.top + 2, rect.left + 5, rect.bottom - 2), light, dark);
  else dc->Draw3dRect(Rect(rect.left + 2, rect.top + 2, rect.right - 2, rect.top + 5), light, dark);
}

void ControlBar::OnNcCalcSize(bool, NCCALCSIZE_PARAMS* params) {
  if (params) CalcInsideRect(params->rgrc[0], IsHorizontal());
}

void ControlBar::OnNcPaint() {
  WindowDC dc(this);
  Rect window;
  GetWindowRect(&window);
  window.OffsetRect(-window.left, -window.top);
  const Rect insets = WndAccess::Impl(this)->insets;
  dc.ExcludeClipRect(insets.left, insets.top, window.right - insets.right, window.bottom - insets.bottom);
  dc.FillSolidRect(window, gdi::GetSysColor(gdi::COLOR_BTNFACE));
  DrawBorders(&dc, window);
  DrawGripper(&dc, window);
}

bool ControlBar::OnEraseBkgnd(gdi::DC* dc) {
  // All the DC lets through: the update region of a paint, the non-client ring of a window DC.
  Rect box;
  if (dc && dc->GetClipBox(&box) != gdi::NULLREGION) dc->FillSolidRect(box, gdi::GetSysColor(gdi::COLOR_BTNFACE));
  return true;
}

void ControlBar::OnPaint() { PaintDC dc(this); }

LRESULT ControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* p = reinterpret_cast<SizeParentParams*>(lParam);
  if (!p || !(GetStyle() & WS_VISIBLE)) return 0;
  const DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
  if (!align || IsFloating()) return 0;
  const bool horz = (align & CBRS_ORIENT_HORZ) != 0;
  Size size = CalcFixedLayout(p->stretch, horz);
  Rect r = p->rect;
  if (align & CBRS_ALIGN_TOP) {
    size.cy = std::min(size.cy, std::max(0, p->rect.Height()));
    r.bottom = r.top + size.cy;
    p->rect.top += size.cy;
  } else if (align & CBRS_ALIGN_BOTTOM) {
    size.cy = std::min(size.cy, std::max(0, p->rect.Height()));
    r.top = r.bottom - size.cy;
    p->rect.bottom -= size.cy;
  } else if (align & CBRS_ALIGN_LEFT) {
    size.cx = std::min(size.cx, std::max(0, p->rect.Width()));
    r.right = r.left + size.cx;
    p->rect.left += size.cx;
  } else {
    size.cx = std::min(size.cx, std::max(0, p->rect.Width()));
    r.left = r.right - size.cx;
    p->rect.right -= size.cx;
  }
  if (horz && !p->stretch) r.right = std::min(r.right, r.left + size.cx);
  if (!horz && !p->stretch) r.bottom = std::min(r.bottom, r.top + size.cy);
  if (!p->query) {
    Rect now;
    GetWindowRect(&now);
    if (Wnd* parent = GetParent()) parent->ScreenToClient(&now);
    if (now != r) MoveWindow(r);
  }
  return 0;
}

LRESULT ControlBar::OnIdleUpdateCmdUIMsg(WPARAM wParam, LPARAM) {
  if (!(GetStyle() & WS_VISIBLE)) return 0;
  if (IsFloating())
    if (Wnd* top = GetTopLevelParent(); top && !top->IsWindowVisible()) return 0;
  FrameWnd* target = dynamic_cast<FrameWnd*>(GetOwner());
  if (!target) target = GetDockingFrame();
  if (target) OnUpdateCmdUI(target, wParam != 0);
  return 0;
}

LRESULT ControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  // A combo box on the bar whose list closed (a choice made or given up): the view gets the
  // keys again once the choice has gone its way.
  const bool closedUp = message == WM_COMMAND && HIWORD(wParam) == CBN_CLOSEUP && lParam;
  if (OnWndMsg(message, wParam, lParam, &result)) {
    if (closedUp) FocusBackToView();
    return result;
  }
  // What the bar's own items send and the bar does not handle goes to its owner.
  if (IsForwarded(message))
    if (Wnd* owner = GetOwner(); owner && owner != this) {
      result = owner->SendMessage(message, wParam, lParam);
      if (closedUp) FocusBackToView();
      return result;
    }
  result = DefWindowProc(message, wParam, lParam);
  if (closedUp) FocusBackToView();
  return result;
}

void ControlBar::FocusBackToView() {
  FrameWnd* frame = GetDockingFrame();
  FrameWnd* active = frame ? frame->GetActiveFrame() : nullptr;
  View* view = active ? active->GetActiveView() : nullptr;
  if (view && view->IsWindow() && view->IsWindowVisible()) view->SetFocus();
}

bool ControlBar::PreTranslateMessage(MSG* msg) {
  if (msg->message != WM_KEYDOWN || (msg->wParam != VK_RETURN && msg->wParam != VK_ESCAPE)) return false;
  Wnd* target = FromHandle(msg->hwnd);
  if (!target || target == this || !IsChild(target)) return false;
  // The combo box itself or its edit field, or an edit.
  Wnd* control = target;
  while (control && control->GetParent() != this) control = control->GetParent();
  if (!control) return false;
  const std::string cls = control->GetClassName();
  // A field of one line; a multi-line edit (a console) keeps its keys, and Escape goes on to the
  // frames' tables (an object active in place gives the page back).
  const bool edit = plat::equalsNoCase(cls, "Edit") && !(control->GetStyle() & ES_MULTILINE);
  const bool entry = plat::equalsNoCase(cls, "ComboBox") || edit;
  if (!entry || (static_cast<UINT>(target->SendMessage(WM_GETDLGCODE)) & DLGC_WANTALLKEYS)) return false;
  // The control sees the key first (its own Return), then the view has the focus.
  target->SendMessage(msg->message, msg->wParam, msg->lParam);
  FocusBackToView();
  return true;
}

std::intptr_t ControlBar::OnToolHitTest(Point, TOOLINFO*) const { return -1; }

namespace {
constexpr int kDockZone = 24;   // pixels inside a side (beyond its bars) that dock there
constexpr int kDragStart = 4;   // pointer travel before a press becomes a drag
}  // namespace

UINT ControlBar::DropTarget(Point p, bool control) const {
  FrameWnd* frame = GetDockingFrame();
  if (!frame || control || !m_dwDockStyle) return 0;
  Rect client;
  frame->GetClientRect(&client);
  frame->ClientToScreen(&client);
  if (!client.PtInRect(p)) return 0;
  auto thickness = [&](UINT id, bool horz) {
    DockBar* d = frame->GetDockBar(id);
    if (!d || !d->IsWindowVisible()) return 0;
    Rect r;
    d->GetWindowRect(&r);
    return horz ? r.Height() : r.Width();
  };
  struct Side {
    UINT id;
    DWORD align;
    bool inside;
  };
  const Side sides[] = {
      {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP, p.y < client.top + thickness(AFX_IDW_DOCKBAR_TOP, true) + kDockZone},
      {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, p.y >= client.bottom - thickness(AFX_IDW_DOCKBAR_BOTTOM, true) - kDockZone},
      {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, p.x < client.left + thickness(AFX_IDW_DOCKBAR_LEFT, false) + kDockZone},
      {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, p.x >= client.right - thickness(AFX_IDW_DOCKBAR_RIGHT, false) - kDockZone},
  };
  for (const Side& side : sides)
    if (side.inside && (m_dwDockStyle & side.align) && frame->GetDockBar(side.id)) return side.id;
  return 0;
}

void ControlBar::Drop(Point p) {
  FrameWnd* frame = GetDockingFrame();
  if (!frame) return;
  const UINT target = DropTarget(p, GetKeyState(VK_CONTROL) < 0);
  Rect bar;
  GetWindowRect(&bar);
  if (target) {
    // The bar's leading edge where the pointer puts it, across the side it docks on.
    const bool horz = target == AFX_IDW_DOCKBAR_TOP || target == AFX_IDW_DOCKBAR_BOTTOM;
    const Size size = CalcFixedLayout(false, horz);
    const Rect at(p.x - (horz ? m_grab.x : 0), p.y - (horz ? 0 : m_grab.y), p.x + size.cx, p.y + size.cy);
    frame->DockControlBar(this, target, &at);
    return;
  }
  const bool vertical = IsFloating() ? !IsHorizontal() : false;
  frame->FloatControlBar(this, {p.x - m_grab.x, p.y - m_grab.y}, vertical ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP);
}

LRESULT ControlBar::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      if (!IsDockBar() && (m_dwDockStyle || IsFloating()) && GetDockingFrame()) {
        m_grab = ParamToPoint(lParam);
        m_dragFrom = m_grab;
        ClientToScreen(&m_dragFrom);
        // In window coordinates: the client area starts inside the borders and gripper.
        Rect window, client;
        GetWindowRect(&window);
        GetClientRect(&client);
        ClientToScreen(&client);
        m_grab.x += client.left - window.left;
        m_grab.y += client.top - window.top;
        m_drag = DragState::Pressed;
        SetCapture();
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (m_drag != DragState::None) {
        Point p = ParamToPoint(lParam);
        ClientToScreen(&p);
        if (m_drag == DragState::Pressed && (std::abs(p.x - m_dragFrom.x) > kDragStart || std::abs(p.y - m_dragFrom.y) > kDragStart))
          m_drag = DragState::Moving;
        if (m_drag == DragState::Moving) ui::SetCursor(LoadStandardCursor(IDC_SIZEALL));
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (m_drag != DragState::None) {
        const bool moved = m_drag == DragState::Moving;
        m_drag = DragState::None;
        Point p = ParamToPoint(lParam);
        ClientToScreen(&p);
        if (GetCapture() == this) ReleaseCapture();
        if (moved) Drop(p);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      if (message == WM_CANCELMODE || ParamToHandle(lParam) != m_hWnd) m_drag = DragState::None;
      break;
    default:
      break;
  }
  return Wnd::DefWindowProc(message, wParam, lParam);
}

// --- DockBar ----------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(DockBar, ControlBar)

UI_BEGIN_MESSAGE_MAP(DockBar, ControlBar)
  map::Size(&DockBar::OnSize),
  map::Paint(&DockBar::OnPaint),
UI_END_MESSAGE_MAP()

DockBar::DockBar(bool floating) : m_floating(floating) {
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

bool DockBar::Create(Wnd* parent, DWORD style, UINT id) {
  if (!CreateBar(parent, style, id)) return false;
  if (m_floating) m_pDockSite = nullptr;
  return true;
}

void DockBar::Renumber() {
  std::stable_sort(m_slots.begin(), m_slots.end(), [](const Slot& a, const Slot& b) {
    return a.row != b.row ? a.row < b.row : a.offset < b.offset;
  });
  int row = -1;
  int last = std::numeric_limits<int>::min();
  for (Slot& s : m_slots) {
    if (s.row != last) {
      last = s.row;
      ++row;
    }
    s.row = row;
  }
}

void DockBar::Insert(ControlBar* bar, int row, int offset) {
  Remove(bar);
  if (row < 0) row = m_slots.empty() ? 0 : m_slots.back().row + 1;
  m_slots.push_back({bar, row, std::max(0, offset)});
  Renumber();
  bar->m_pDockBar = this;
  DWORD style = bar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
  if (m_floating) style |= CBRS_FLOATING | (m_dwStyle & CBRS_ALIGN_ANY);
  else {
    style |= m_dwStyle & CBRS_ALIGN_ANY;
    bar->m_lastDockBarId = GetDlgCtrlID();
  }
  bar->SetParent(this);
  bar->m_dwStyle = style;
  bar->OnBarStyleChange(style, style);
  bar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  LayoutBars();
}

void DockBar::Remove(ControlBar* bar) {
  const auto before = m_slots.size();
  m_slots.erase(std::remove_if(m_slots.begin(), m_slots.end(), [bar](const Slot& s) { return s.bar == bar; }), m_slots.end());
  if (m_slots.size() != before) {
    if (bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
    Renumber();
  }
}

bool DockBar::Contains(const ControlBar* bar) const {
  return std::any_of(m_slots.begin(), m_slots.end(), [bar](const Slot& s) { return s.bar == bar; });
}

bool DockBar::GetPlace(const ControlBar* bar, int* row, int* offset) const {
  for (const Slot& s : m_slots)
    if (s.bar == bar) {
      if (row) *row = s.row;
      if (offset) *offset = s.offset;
      return true;
    }
  return false;
}

std::vector<ControlBar*> DockBar::Bars() const {
  std::vector<ControlBar*> out;
  for (const Slot& s : m_slots) out.push_back(s.bar);
  return out;
}

int DockBar::RowCount() const { return m_slots.empty() ? 0 : m_slots.back().row + 1; }

Size DockBar::CalcFixedLayout(bool stretch, bool) {
  const bool horz = m_floating ? !(m_dwStyle & CBRS_ORIENT_VERT) : (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  int thickness = 0;  // across the side
  int length = 0;     // along it
  for (int row = 0; row < RowCount(); ++row) {
    int rowThickness = 0;
    int rowLength = 0;
    for (const Slot& s : m_slots) {
      if (s.row != row || !s.bar->IsVisible()) continue;
      const Size size = s.bar->CalcFixedLayout(false, horz);
      rowThickness = std::max(rowThickness, horz ? size.cy : size.cx);
      rowLength = std::max(rowLength, s.offset) + (horz ? size.cx : size.cy);
    }
    thickness += rowThickness;
    length = std::max(length, rowLength);
  }
  if (stretch) length = 32767;
  return horz ? Size{length, thickness} : Size{thickness, length};
}

void DockBar::LayoutBars() {
  if (!IsWindow()) return;
  const bool horz = m_floating ? !(m_dwStyle & CBRS_ORIENT_VERT) : (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  int across = 0;
  for (int row = 0; row < RowCount(); ++row) {
    int rowThickness = 0;
    int along = 0;
    for (Slot& s : m_slots) {
      if (s.row != row || !s.bar->IsVisible()) continue;
      const Size size = s.bar->CalcFixedLayout(false, horz);
      const int at = std::max(along, s.offset);
      const Rect r = horz ? Rect(at, across, at + size.cx, across + size.cy) : Rect(across, at, across + size.cx, at + size.cy);
      Rect now;
      s.bar->GetWindowRect(&now);
      ScreenToClient(&now);
      if (now != r) s.bar->MoveWindow(r);
      along = at + (horz ? size.cx : size.cy);
      rowThickness = std::max(rowThickness, horz ? size.cy : size.cx);
    }
    across += rowThickness;
  }
}

void DockBar::OnSize(UINT, int, int) { LayoutBars(); }

void DockBar::OnPaint() {
  PaintDC dc(this);
  Rect client;
  GetClientRect(&client);
  dc.FillSolidRect(client, gdi::GetSysColor(gdi::COLOR_BTNFACE));
}

// --- MiniDockFrameWnd -----------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(MiniDockFrameWnd, Wnd)

UI_BEGIN_MESSAGE_MAP(MiniDockFrameWnd, Wnd)
  map::Close(&MiniDockFrameWnd::OnClose),
  map::Size(&MiniDockFrameWnd::OnSize),
  map::Message(WM_IDLEUPDATECMDUI, &MiniDockFrameWnd::OnIdleUpdateCmdUI),
UI_END_MESSAGE_MAP()

bool MiniDockFrameWnd::Create(FrameWnd* site, ControlBar* bar, Point position, bool horizontal) {
  m_site = site;
  m_horizontal = horizontal;
  const Size size = bar->CalcFixedLayout(false, horizontal);
  const DWORD visible = (bar->GetStyle() & WS_VISIBLE) ? WS_VISIBLE : 0;
  if (!CreateEx(WS_EX_TOOLWINDOW, BarClass(), bar->GetWindowText(), WS_POPUP | WS_CAPTION | WS_SYSMENU | visible,
                Rect(position.x, position.y, position.x + std::max(1, size.cx), position.y + std::max(1, size.cy)), site, 0))
    return false;
  if (!m_dockBar.Create(this, WS_CHILD | WS_VISIBLE | (horizontal ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT), AFX_IDW_DOCKBAR_FLOAT))
    return false;
  m_dockBar.m_pDockSite = site;
  m_dockBar.Insert(bar, 0, 0);
  bar->SetOwner(bar->GetOwner() && bar->GetOwner() != &m_dockBar ? bar->GetOwner() : site);
  RecalcLayout();
  return true;
}

void MiniDockFrameWnd::RecalcLayout() {
  const Size size = m_dockBar.CalcFixedLayout(false, m_horizontal);
  SetWindowPos(nullptr, 0, 0, std::max(1, size.cx), std::max(1, size.cy), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Rect client;
  GetClientRect(&client);
  m_dockBar.MoveWindow(client);
  m_dockBar.LayoutBars();
}

void MiniDockFrameWnd::OnClose() {
  // Closing the small frame hides its bar; it can be shown again.
  std::vector<ControlBar*> bars = m_dockBar.Bars();
  if (m_site && !bars.empty()) m_site->ShowControlBar(bars.front(), false, false);
  else ShowWindow(SW_HIDE);
}

void MiniDockFrameWnd::OnSize(UINT, int cx, int cy) {
  if (m_dockBar.IsWindow()) m_dockBar.MoveWindow(0, 0, cx, cy);
}

LRESULT MiniDockFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  // A frame whose bar was docked elsewhere goes.
  if (m_dockBar.Bars().empty()) PostMessage(WM_CLOSE);
  return 0;
}

void MiniDockFrameWnd::PostNcDestroy() { delete this; }

// --- StatusBar --------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(StatusBar, ControlBar)

UI_BEGIN_MESSAGE_MAP(StatusBar, ControlBar)
  map::Paint(&StatusBar::OnPaint),
  map::Size(&StatusBar::OnSize),
  map::Message(WM_SETTEXT, &StatusBar::OnSetTextMessage),
  map::Message(WM_GETTEXT, &StatusBar::OnGetTextMessage),
  map::Message(WM_GETTEXTLENGTH, &StatusBar::OnGetTextLengthMessage),
UI_END_MESSAGE_MAP()

namespace {

class StatusCmdUI : public CmdUI {
 public:
  explicit StatusCmdUI(StatusBar* bar) : bar_(bar) {}
  void Enable(bool on) override {
    m_bEnableChanged = true;
    UINT style = bar_->GetPaneStyle(static_cast<int>(m_nIndex)) & ~SBPS_DISABLED;
    if (!on) style |= SBPS_DISABLED;
    bar_->SetPaneStyle(static_cast<int>(m_nIndex), style);
  }
  void SetCheck(int check) override {
    UINT style = bar_->GetPaneStyle(static_cast<int>(m_nIndex)) & ~SBPS_POPOUT;
    if (check) style |= SBPS_POPOUT;
    bar_->SetPaneStyle(static_cast<int>(m_nIndex), style);
  }
  void SetText(std::string_view text) override { bar_->SetPaneText(static_cast<int>(m_nIndex), text); }

 private:
  StatusBar* bar_;
};

}  // namespace

StatusBar::StatusBar() {
  m_cxLeftBorder = 0;
  m_cxRightBorder = 0;
  m_cyTopBorder = 2;
  m_cyBottomBorder = 0;
  m_font = gdi::StockFont(gdi::DEFAULT_GUI_FONT);
}

bool StatusBar::Create(Wnd* parent, DWORD style, UINT id) { return CreateBar(parent, style, id); }

bool StatusBar::SetIndicators(const UINT* ids, int count) {
  m_panes.clear();
  gdi::RasterSurface scratch(1, 1);
  gdi::DC dc(scratch);
  dc.SelectObject(m_font);
  for (int i = 0; i < count; ++i) {
    Pane p;
    p.id = ids ? ids[i] : 0;
    if (p.id != ID_SEPARATOR) {
      // The indicator's own text gives its width; it shows only while its update enables it.
      p.text = LoadString(p.id);
      p.width = dc.GetTextExtent(std::string_view(p.text)).cx;
    }
    if (i == 0) p.style = SBPS_NOBORDERS | SBPS_STRETCH;
    m_panes.push_back(p);
  }
  Layout();
  Invalidate();
  return true;
}

int StatusBar::CommandToIndex(UINT id) const {
  for (std::size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i].id == id) return static_cast<int>(i);
  return -1;
}

UINT StatusBar::GetItemID(int index) const {
  return index >= 0 && index < GetCount() ? m_panes[static_cast<std::size_t>(index)].id : 0;
}

void StatusBar::GetItemRect(int index, Rect* rect) const {
  if (rect) *rect = index >= 0 && index < static_cast<int>(m_rects.size()) ? m_rects[static_cast<std::size_t>(index)] : Rect();
}

bool StatusBar::SetPaneText(int index, std::string_view text, bool update) {
  if (index < 0 || index >= GetCount()) return false;
  Pane& p = m_panes[static_cast<std::size_t>(index)];
  if (p.text == text) return true;
  p.text = std::string(text);
  if (update && index < static_cast<int>(m_rects.size())) InvalidateRect(&m_rects[static_cast<std::size_t>(index)]);
  return true;
}

std::string StatusBar::GetPaneText(int index) const {
  return index >= 0 && index < GetCount() ? m_panes[static_cast<std::size_t>(index)].text : std::string();
}

void StatusBar::GetPaneInfo(int index, UINT* id, UINT* style, int* width) const {
  if (index < 0 || index >= GetCount()) return;
  const Pane& p = m_panes[static_cast<std::size_t>(index)];
  if (id) *id = p.id;
  if (style) *style = p.style;
  if (width) *width = p.width;
}

void StatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
  if (index < 0 || index >= GetCount()) return;
  Pane& p = m_panes[static_cast<std::size_t>(index)];
  p.id = id;
  p.style = style;
  p.width = std::max(0, width);
  Layout();
  Invalidate();
}

UINT StatusBar::GetPaneStyle(int index) const {
  return index >= 0 && index < GetCount() ? m_panes[static_cast<std::size_t>(index)].style : 0;
}

void StatusBar::SetPaneStyle(int index, UINT style) {
  if (index < 0 || index >= GetCount()) return;
  Pane& p = m_panes[static_cast<std::size_t>(index)];
  if (p.style == style) return;
  p.style = style;
  if (index < static_cast<int>(m_rects.size())) InvalidateRect(&m_rects[static_cast<std::size_t>(index)]);
}

Size StatusBar::CalcFixedLayout(bool stretch, bool horz) {
  gdi::RasterSurface scratch(1, 1);
  gdi::DC dc(scratch);
  dc.SelectObject(m_font);
  gdi::TEXTMETRIC tm;
  dc.GetTextMetrics(&tm);
  Size size = ControlBar::CalcFixedLayout(stretch, horz);
  size.cy += tm.tmHeight + 6;
  return size;
}

void StatusBar::Layout() {
  Rect client;
  GetClientRect(&client);
  m_rects.assign(m_panes.size(), Rect());
  // Fixed panes from the right; the stretching one takes what is left.
  int right = client.right - 2;
  for (int i = GetCount() - 1; i >= 0; --i) {
    const Pane& p = m_panes[static_cast<std::size_t>(i)];
    if (p.style & SBPS_STRETCH) continue;
    const int w = p.width + 6;
    m_rects[static_cast<std::size_t>(i)] = Rect(right - w, client.top + 1, right, client.bottom - 1);
    right -= w + 2;
  }
  int left = client.left + 2;
  for (int i = 0; i < GetCount(); ++i) {
    if (!(m_panes[static_cast<std::size_t>(i)].style & SBPS_STRETCH)) continue;
    m_rects[static_cast<std::size_t>(i)] = Rect(left, client.top + 1, std::max(left, right), client.bottom - 1);
  }
}

void StatusBar::OnSize(UINT, int, int) {
  Layout();
  Invalidate();
}

void StatusBar::OnPaint() {
  PaintDC dc(this);
  Rect client;
  GetClientRect(&client);
  dc.FillSolidRect(client, gdi::GetSysColor(gdi::COLOR_BTNFACE));
  dc.SelectObject(m_font);
  dc.SetBkMode(gdi::TRANSPARENT);
  dc.SetTextColor(gdi::GetSysColor(gdi::COLOR_BTNTEXT));
  for (int i = 0; i < GetCount() && i < static_cast<int>(m_rects.size()); ++i) {
    const Pane& p = m_panes[static_cast<std::size_t>(i)];
    Rect r = m_rects[static_cast<std::size_t>(i)];
    if (!(p.style & SBPS_NOBORDERS)) dc.Draw3dRect(r, gdi::GetSysColor(gdi::COLOR_BTNSHADOW), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
    if (p.style & SBPS_DISABLED) continue;
    r.DeflateRect(3, 1);
    dc.DrawText(std::string_view(p.text), &r, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_LEFT | gdi::DT_NOPREFIX);
  }
}

void StatusBar::OnUpdateCmdUI(FrameWnd* target, bool disableIfNoHandler) {
  StatusCmdUI cmdUI(this);
  cmdUI.m_nIndexMax = static_cast<UINT>(GetCount());
  for (int i = 0; i < GetCount(); ++i) {
    const UINT id = m_panes[static_cast<std::size_t>(i)].id;
    if (id == ID_SEPARATOR) continue;
    cmdUI.m_nIndex = static_cast<UINT>(i);
    cmdUI.m_nID = id;
    cmdUI.DoUpdate(target, disableIfNoHandler);
  }
}

LRESULT StatusBar::OnSetTextMessage(WPARAM, LPARAM lParam) {
  SetPaneText(0, lParam ? reinterpret_cast<const char*>(lParam) : "");
  return 1;
}

LRESULT StatusBar::OnGetTextLengthMessage(WPARAM, LPARAM) { return static_cast<LRESULT>(GetPaneText(0).size()); }

LRESULT StatusBar::OnGetTextMessage(WPARAM wParam, LPARAM lParam) {
  const std::string text = GetPaneText(0);
  char* buffer = reinterpret_cast<char*>(lParam);
  if (!buffer || wParam == 0) return 0;
  const std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), buffer);
  buffer[n] = 0;
  return static_cast<LRESULT>(n);
}

// --- DialogBar -------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(DialogBar, ControlBar)

bool DialogBar::Create(Wnd* parent, UINT templateId, DWORD style, UINT id) {
  const DialogResource* tmpl = FindDialogResource(templateId);
  if (!tmpl) return false;
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
  const gdi::Font font = DialogFont(*tmpl);
  const Size base = DialogBaseUnits(font);
  m_sizeDefault = {gdi::MulDiv(tmpl->cx, base.cx, 4), gdi::MulDiv(tmpl->cy, base.cy, 8)};
  if (!CreateBar(parent, style, id)) return false;
  SetFont(font, false);
  if (!CreateDialogItems(this, *tmpl, font, base)) return false;
  if (tmpl->caption) SetWindowText(tmpl->caption);
  return true;
}

Size DialogBar::CalcFixedLayout(bool stretch, bool horz) {
  Rect inside(0, 0, 0, 0);
  CalcInsideRect(inside, horz);
  Size size{m_sizeDefault.cx - inside.Width(), m_sizeDefault.cy - inside.Height()};
  if (stretch) {
    if (horz) size.cx = 32767;
    else size.cy = 32767;
  }
  return size;
}

bool DialogBar::PreTranslateMessage(MSG* msg) {
  if (msg->message != WM_KEYDOWN && msg->message != WM_CHAR) return false;
  Wnd* target = FromHandle(msg->hwnd);
  if (!target || (target != this && !IsChild(target))) return false;
  const UINT key = static_cast<UINT>(msg->wParam);
  if (key != VK_RETURN && key != VK_ESCAPE && key != VK_TAB && !(msg->message == WM_CHAR && (key == '\r' || key == 0x1B))) return false;
  const UINT code = static_cast<UINT>(target->SendMessage(WM_GETDLGCODE));
  if (code & DLGC_WANTALLKEYS) return false;
  if (msg->message == WM_CHAR) return true;  // the key did it
  if (key == VK_TAB) {
    if (code & DLGC_WANTTAB) return false;
    if (Wnd* next = GetNextDlgTabItem(target == this ? nullptr : target, GetKeyState(VK_SHIFT) < 0)) next->SetFocus();
    return true;
  }
  UINT id = IDCANCEL;
  Wnd* button = GetDlgItem(IDCANCEL);
  if (key == VK_RETURN) {
    if (code & DLGC_UNDEFPUSHBUTTON) {
      target->SendMessage(BM_CLICK);
      return true;
    }
    id = IDOK;
    button = GetDlgItem(IDOK);
    for (Wnd* child : GetChildren())
      if ((child->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON) && (child->GetStyle() & 0xF) == BS_DEFPUSHBUTTON) {
        button = child;
        id = child->GetDlgCtrlID();
        break;
      }
    if (button && !button->IsWindowEnabled()) return true;
  }
  SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), button ? HandleToParam(button->m_hWnd) : 0);
  return true;
}

void DialogBar::OnUpdateCmdUI(FrameWnd* target, bool disableIfNoHandler) {
  // Buttons of the bar follow their commands' update rules, as menu items do.
  class ItemCmdUI : public CmdUI {
   public:
    void Enable(bool on) override {
      m_bEnableChanged = true;
      if (m_pOther && m_pOther->IsWindowEnabled() != on) m_pOther->EnableWindow(on);
    }
    void SetCheck(int check) override {
      if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
    }
    void SetText(std::string_view text) override {
      if (m_pOther) m_pOther->SetWindowText(text);
    }
  } cmdUI;
  for (Wnd* child : GetChildren()) {
    const UINT id = child->GetDlgCtrlID();
    if (id == 0 || id == 0xFFFF || !(child->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) continue;
    cmdUI.m_nID = id;
    cmdUI.m_pOther = child;
    cmdUI.DoUpdate(target, disableIfNoHandler && false);
  }
}

}  // namespace ui
