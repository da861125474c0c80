// The owner-drawn menu bar: items, painting, layout, pressing and hovering, the window list, and
// the MDI client's menu messages.
#include "rodizora/frame/menubar.h"

#include <algorithm>
#include <cctype>

#include "platform/base/numtext.h"
#include "platform/gdi/surface.h"
#include "platform/ui/dc.h"
#include "platform/ui/metrics.h"

namespace {

// The one menu bar the hook and the MDI client's procedure serve.
CMenuBar* g_menuBar = nullptr;
ui::HHOOK g_mouseHook{};
bool g_hooked = false;

constexpr int kThickness = 32;
constexpr int kGripper = 8;  // two 3-pixel bars and their gaps
// The window list: the children's command ids from here, ten at most.
constexpr ui::UINT kFirstChildId = 65280;
constexpr int kListedChildren = 10;
// The window commands (New Window ... Split) that mark the window menu.
constexpr ui::UINT kWindowCommandFirst = 0xE130, kWindowCommandLast = 0xE13F;

// A DC for measuring text: the screen's resolution, nothing drawn anywhere.
class MeasureDC {
 public:
  MeasureDC() : surface_(1, 1), dc_(surface_) {}
  gdi::DC& dc() { return dc_; }

 private:
  gdi::RasterSurface surface_;
  gdi::DC dc_;
};

bool HoldsWindowCommands(const ui::Menu* popup) {
  if (!popup) return false;
  for (int i = 0; i < popup->GetMenuItemCount(); ++i) {
    const ui::UINT id = popup->GetMenuItemID(i);
    if (id >= kWindowCommandFirst && id <= kWindowCommandLast) return true;
  }
  return false;
}

// The mnemonic letter of an item text, upper-cased (0 when it has none).
ui::WPARAM MnemonicKey(const std::string& text) {
  const std::size_t amp = text.find('&');
  if (amp == std::string::npos || amp + 1 >= text.size()) return 0;
  return static_cast<ui::WPARAM>(std::toupper(static_cast<unsigned char>(text[amp + 1])));
}

}  // namespace

// --- CMenuBar ---------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CMenuBar, ui::ControlBar)

UI_BEGIN_MESSAGE_MAP(CMenuBar, ui::ControlBar)
  ui::map::Create(&CMenuBar::OnCreate),
  ui::map::Destroy(&CMenuBar::OnDestroy),
  ui::map::Paint(&CMenuBar::OnPaint),
  ui::map::LButtonDown(&CMenuBar::OnLButtonDown),
  ui::map::LButtonDblClk(&CMenuBar::OnLButtonDblClk),
UI_END_MESSAGE_MAP()

CMenuBar::CMenuBar(CMenuEx* menu) : m_pMenu(menu) {}

CMenuBar::~CMenuBar() {
  // Our own destruction handler must run while this object is still whole.
  if (IsWindow()) DestroyWindow();
}

bool CMenuBar::Create(ui::Wnd* parent, ui::DWORD style, ui::UINT id) {
  if (!parent && ui::App::Get()) parent = ui::App::Get()->GetMainWnd();
  if (!parent) return false;
  static const std::string className = [] {
    const gdi::Brush face(gdi::GetSysColor(gdi::COLOR_BTNFACE));
    return ui::RegisterWndClass(ui::CS_VREDRAW | ui::CS_HREDRAW | ui::CS_DBLCLKS, ui::LoadStandardCursor(ui::IDC_ARROW), &face);
  }();
  m_dwStyle = style & ui::CBRS_ALL;
  ui::FrameWnd* frame = dynamic_cast<ui::FrameWnd*>(parent);
  if (!frame) frame = parent->GetParentFrame();
  m_pDockSite = frame;
  if (!CreateEx(0, className.c_str(), "MenuBar", (style & ~ui::CBRS_ALL) | ui::WS_CHILD, ui::Rect(1, 3, 1, 3), parent, id))
    return false;
  SetOwner(parent);
  if (frame) frame->AddControlBar(this);
  return true;
}

ui::MDIFrameWnd* CMenuBar::Frame() const { return dynamic_cast<ui::MDIFrameWnd*>(GetDockingFrame()); }

bool CMenuBar::IsVertical() const { return !(m_dwStyle & (ui::CBRS_ALIGN_TOP | ui::CBRS_ALIGN_BOTTOM)); }

int CMenuBar::OnCreate(ui::CREATESTRUCT*) {
  if (Default() == -1) return -1;
  ui::NONCLIENTMETRICS metrics;
  ui::GetNonClientMetrics(&metrics);
  m_horzFont = gdi::Font(metrics.lfMenuFont);
  gdi::LOGFONTA vertical = metrics.lfMenuFont;
  vertical.lfEscapement = vertical.lfOrientation = -900;  // reads top to bottom
  m_vertFont = gdi::Font(vertical);
  RebuildItems();

  g_menuBar = this;
  if (ui::MDIFrameWnd* frame = Frame())
    if (ui::Wnd* client = frame->GetMDIClient(); client && client->IsWindow()) {
      m_mdiClient = client->m_hWnd;
      m_oldMdiProc = client->SetWindowProc(&CMenuBar::MdiClientWndProc);
    }
  if (!g_hooked) {
    g_mouseHook = ui::SetWindowsHookEx(ui::WH_MOUSE, &CMenuBar::MenuBarMouseHook);
    g_hooked = true;
  }
  return 0;
}

void CMenuBar::OnDestroy() {
  if (g_menuBar == this) {
    if (g_hooked) ui::UnhookWindowsHookEx(g_mouseHook);
    g_hooked = false;
    g_menuBar = nullptr;
  }
  if (m_oldMdiProc)
    if (ui::Wnd* client = ui::Wnd::FromHandle(m_mdiClient)) client->SetWindowProc(m_oldMdiProc);
  m_oldMdiProc = nullptr;
  m_mdiClient = ui::kNoWnd;
  ui::ControlBar::OnDestroy();
}

// --- Items ----------------------------------------------------------------------------------------------------

void CMenuBar::RebuildItems() {
  m_items.clear();
  ui::Menu* menu = m_pMenu ? m_pMenu->GetSafeHmenu() : nullptr;
  if (!menu) return;
  for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
    const std::string text = menu->GetMenuString(static_cast<ui::UINT>(i), ui::MF_BYPOSITION);
    if (text.empty()) continue;  // a separator
    m_items.push_back(std::make_unique<CMenuItem>(text, menu->GetSubMenu(i)));
  }
}

void CMenuBar::UpdateFrameControls(bool maximized) {
  m_items.erase(std::remove_if(m_items.begin(), m_items.end(), [](const auto& item) { return item->GetKind() == 1; }),
                m_items.end());
  if (maximized) {
    for (ui::UINT button : {CFrameControl::kClose, CFrameControl::kRestore, CFrameControl::kMinimize})
      m_items.push_back(std::make_unique<CFrameControl>(button));
  }
  Invalidate();
}

void CMenuBar::Refresh() {
  RebuildItems();
  UpdateFrameControls(m_maximized);
}

void CMenuBar::OnUpdateCmdUI(ui::FrameWnd*, bool) {
  bool maximized = false;
  if (ui::MDIFrameWnd* frame = Frame()) frame->MDIGetActive(&maximized);
  if (maximized != m_maximized) {
    m_maximized = maximized;
    UpdateFrameControls(maximized);
  }
  // Floating, the menu cannot be closed: its small frame's Close is greyed.
  if (IsFloating())
    if (ui::DockBar* dock = GetDockBar())
      if (ui::Wnd* floating = dock->GetParent())
        if (ui::Menu* system = floating->GetSystemMenu(false))
          system->EnableMenuItem(ui::SC_CLOSE, ui::MF_BYCOMMAND | ui::MF_GRAYED);
}

int CMenuBar::HotItem() const {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i]->m_state) return static_cast<int>(i);
  return -1;
}

int CMenuBar::ItemAt(ui::Point client) const {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i]->m_rect.PtInRect(client)) return static_cast<int>(i);
  return -1;
}

void CMenuBar::RepaintItem(int index) {
  if (index < 0 || index >= static_cast<int>(m_items.size())) return;
  const ui::Rect r = m_items[static_cast<std::size_t>(index)]->m_rect;
  InvalidateRect(&r);
  UpdateWindow();
}

// --- Painting and layout ------------------------------------------------------------------------------------

void CMenuBar::OnPaint() {
  ui::PaintDC dc(this);
  const bool vertical = IsVertical();
  ui::Rect client;
  GetClientRect(&client);
  const gdi::Font oldFont = dc.SelectObject(FontFor(vertical));
  dc.SetBkMode(gdi::TRANSPARENT);
  dc.SetTextColor(gdi::GetSysColor(gdi::COLOR_MENUTEXT));
  dc.FillSolidRect(client, gdi::GetSysColor(gdi::COLOR_MENU));
  const gdi::COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
  const gdi::COLORREF dark = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
  const int band = dc.GetTextExtent(std::string_view("A")).cy + 6;
  ui::Rect rest;
  if (!vertical) {
    dc.Draw3dRect(ui::Rect(0, 0, 3, client.bottom), light, dark);
    dc.Draw3dRect(ui::Rect(4, 0, 7, client.bottom), light, dark);
    const int top = (client.Height() - band) / 2;
    rest = ui::Rect(kGripper, top, client.right - 4, top + band);
  } else {
    dc.Draw3dRect(ui::Rect(0, 0, client.right, 3), light, dark);
    dc.Draw3dRect(ui::Rect(0, 4, client.right, 7), light, dark);
    const int left = (client.Width() - band) / 2;
    rest = ui::Rect(left, kGripper, left + band, client.bottom - 4);
  }
  for (auto& item : m_items) rest = item->Draw(dc, rest, vertical);
  dc.SelectObject(oldFont);
}

ui::Size CMenuBar::CalcFixedLayout(bool, bool horz) {
  MeasureDC measure;
  gdi::DC& dc = measure.dc();
  dc.SelectObject(FontFor(!horz));
  int length = 6;
  for (const auto& item : m_items) {
    const ui::Size s = item->GetSize(dc, !horz);
    length += horz ? s.cx : s.cy;
  }
  dc.SelectObject(m_horzFont);
  const int thickness = std::max(dc.GetTextExtent(std::string_view("    ")).cy, kThickness);
  return horz ? ui::Size{length, thickness} : ui::Size{thickness, length};
}

ui::Size CMenuBar::CalcDynamicLayout(int length, ui::DWORD mode) {
  if (mode & (ui::LM_HORZDOCK | ui::LM_VERTDOCK)) {
    ui::Rect client;
    if (ui::FrameWnd* frame = GetDockingFrame()) frame->GetClientRect(&client);
    if (mode & ui::LM_HORZ) return {client.Width() + 2 * ui::GetSystemMetrics(ui::SM_CXBORDER), kThickness};
    return {kThickness, client.Height() + 2 * ui::GetSystemMetrics(ui::SM_CYBORDER)};
  }
  // Floating: rows of items, a new row when one would run past the length asked for.
  MeasureDC measure;
  gdi::DC& dc = measure.dc();
  dc.SelectObject(m_horzFont);
  const int rowHeight = dc.GetTextExtent(std::string_view("A")).cy;
  int row = kGripper;
  int longest = 0;
  int rows = 1;
  for (const auto& item : m_items) {
    const int along = item->GetSize(dc, false).cx;
    if ((mode & ui::LM_STRETCH) && row + along > length) {
      longest = std::max(longest, row);
      row = 0;
      ++rows;
    }
    row += along;
  }
  longest = std::max(longest, row);
  return {longest + 10, std::max(rows * rowHeight, kThickness)};
}

// --- Pressing, hovering and keys ------------------------------------------------------------------------------

void CMenuBar::OnLButtonDown(ui::UINT, ui::Point point) {
  const int i = ItemAt(point);
  if (i >= 0) PressItem(i);
  else Default();
}

void CMenuBar::OnLButtonDblClk(ui::UINT, ui::Point point) {
  if (ItemAt(point) < 0) Default();
}

void CMenuBar::TrackHover(ui::Wnd* under, ui::Point screen) {
  ui::Point p = screen;
  ScreenToClient(&p);
  const int hot = HotItem();
  const int hit = ItemAt(p);
  if (hit == hot || (m_popupOpen && hit < 0)) return;
  ui::UINT taken = CMenuItem::kHot;
  if (hot >= 0) {
    taken = m_items[static_cast<std::size_t>(hot)]->m_state;
    m_items[static_cast<std::size_t>(hot)]->m_state = 0;
    RepaintItem(hot);
  }
  if (hit >= 0) {
    m_items[static_cast<std::size_t>(hit)]->m_state = taken;
    RepaintItem(hit);
  }
  if (m_popupOpen) {
    // The menu open now closes, and the one under the pointer opens next.
    m_nextItem = hit;
    if (under) under->PostMessage(ui::WM_CANCELMODE);
  }
}

void CMenuBar::PressItem(int index) {
  const ui::HWND self = m_hWnd;
  int previous = -1;
  const int count = static_cast<int>(m_items.size());
  while (index >= 0 && index < count) {
    for (int reset : {HotItem(), previous})
      if (reset >= 0 && m_items[static_cast<std::size_t>(reset)]->m_state) {
        m_items[static_cast<std::size_t>(reset)]->m_state = 0;
        RepaintItem(reset);
      }
    CMenuItem& item = *m_items[static_cast<std::size_t>(index)];
    item.m_state ^= CMenuItem::kPressed;
    RepaintItem(index);
    if (item.GetKind() == 0) {
      if (item.m_popup) ShowItemMenu(index);
    } else if (ui::MDIFrameWnd* frame = Frame()) {
      if (ui::MDIChildWnd* child = frame->MDIGetActive())
        child->PostMessage(ui::WM_SYSCOMMAND, static_cast<CFrameControl&>(item).SystemCommand(), 0);
    }
    if (!ui::IsWindow(self) || static_cast<int>(m_items.size()) != count) return;
    previous = index;
    const int next = m_nextItem;
    m_nextItem = -1;
    if (next < 0 || next >= count || m_items[static_cast<std::size_t>(next)]->GetKind() == 1) break;
    index = next;
  }
  // No menu is open any more: the last item does not stay pressed.
  if (previous >= 0 && (m_items[static_cast<std::size_t>(previous)]->m_state & CMenuItem::kPressed)) {
    m_items[static_cast<std::size_t>(previous)]->m_state &= ~CMenuItem::kPressed;
    RepaintItem(previous);
  }
}

void CMenuBar::ShowItemMenu(int index) {
  CMenuItem& item = *m_items[static_cast<std::size_t>(index)];
  ui::Rect r = item.m_rect;
  ClientToScreen(&r);
  ui::Wnd* owner = GetMenuOwner(index);
  if (index == GetWindowMenuIndex()) AddWindowList(item.m_popup);
  ui::UINT flags = ui::TPM_LEFTALIGN | ui::TPM_LEFTBUTTON;
  int x = r.left, y = r.bottom + 1;
  switch (m_dwStyle & ui::CBRS_ALIGN_ANY) {
    case ui::CBRS_ALIGN_LEFT:
      x = r.right + 1;
      y = r.top;
      break;
    case ui::CBRS_ALIGN_RIGHT:
      x = r.left - 1;
      y = r.top;
      flags = ui::TPM_RIGHTALIGN | ui::TPM_LEFTBUTTON;
      break;
    case ui::CBRS_ALIGN_BOTTOM:
      y = r.top - 1;
      flags |= ui::TPM_BOTTOMALIGN;
      break;
    default:
      break;
  }
  m_popupOpen = true;
  item.m_popup->TrackPopupMenu(flags, x, y, owner);
  m_popupOpen = false;
}

bool CMenuBar::TranslateMenuKey(const ui::MSG* msg) {
  // The key going down only: its release must not open the menu a second time.
  if (!msg || (msg->message != ui::WM_KEYDOWN && msg->message != ui::WM_SYSKEYDOWN) || !(msg->lParam & ui::KF_ALTDOWN_BIT))
    return false;
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i]->GetKind() == 0 && MnemonicKey(m_items[i]->m_text) == msg->wParam) {
      PressItem(static_cast<int>(i));
      break;
    }
  return false;
}

// --- Owners, the window menu and the MDI client --------------------------------------------------------------

ui::Wnd* CMenuBar::GetMenuOwner(int index) {
  ui::Wnd* owner = GetDockingFrame();
  if (!owner) owner = GetOwner();
  if (!m_inPlaceQuery || index < 0 || index >= static_cast<int>(m_items.size())) return owner;
  ui::Document* doc = nullptr;
  if (ui::FrameWnd* frame = GetDockingFrame()) doc = frame->GetActiveDocument();
  const InPlaceMenuOwner inPlace = m_inPlaceQuery(doc);
  if (!inPlace.inPlaceWindow) return owner;
  const std::string& text = m_items[static_cast<std::size_t>(index)]->m_text;
  if (inPlace.sharedMenu)
    for (int i = 0; i < inPlace.sharedMenu->GetMenuItemCount(); ++i)
      if (inPlace.sharedMenu->GetMenuString(static_cast<ui::UINT>(i), ui::MF_BYPOSITION) == text) return owner;
  // A menu the in-place server merged in: its commands go to the server.
  return inPlace.inPlaceWindow;
}

int CMenuBar::GetWindowMenuIndex() const {
  if (!Frame()) return -1;
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i]->GetKind() == 0 && HoldsWindowCommands(m_items[i]->m_popup)) return static_cast<int>(i);
  return -1;
}

void CMenuBar::AddWindowList(ui::Menu* popup) {
  ui::MDIFrameWnd* frame = Frame();
  if (!frame || !popup) return;
  int first = -1;
  for (int i = 0; i < popup->GetMenuItemCount() && first < 0; ++i) {
    const ui::UINT id = popup->GetMenuItemID(i);
    if (id > kFirstChildId - 1 && id != 0xFFFFFFFFu) first = i;
  }
  if (first >= 0) {
    for (int i = popup->GetMenuItemCount() - 1; i >= first; --i) popup->DeleteMenu(static_cast<ui::UINT>(i), ui::MF_BYPOSITION);
  } else {
    const int n = popup->GetMenuItemCount();
    if (n == 0 || !(popup->GetMenuState(static_cast<ui::UINT>(n - 1), ui::MF_BYPOSITION) & ui::MF_SEPARATOR))
      popup->AppendMenu(ui::MF_SEPARATOR);
  }
  // The children in the order the frame numbers their commands (creation order).
  std::vector<ui::MDIChildWnd*> children = frame->GetChildFrames();
  std::sort(children.begin(), children.end(), [](const ui::MDIChildWnd* a, const ui::MDIChildWnd* b) {
    return static_cast<std::uint32_t>(a->m_hWnd) < static_cast<std::uint32_t>(b->m_hWnd);
  });
  for (int i = 0; i < kListedChildren && i < static_cast<int>(children.size()); ++i) {
    const std::string text = i < kListedChildren - 1
                                 ? "&" + plat::formatInt(i + 1) + " " + children[static_cast<std::size_t>(i)]->GetWindowText()
                                 : std::string("More Windows ...");
    popup->AppendMenu(ui::MF_STRING, kFirstChildId + static_cast<ui::UINT>(i), text);
  }
}

ui::LRESULT CMenuBar::OnMdiSetMenu(ui::WPARAM wParam, ui::LPARAM lParam) {
  const ui::LRESULT current = reinterpret_cast<ui::LRESULT>(m_pMenu ? m_pMenu->GetSafeHmenu() : nullptr);
  if (wParam && m_pMenu) {
    m_pMenu->Detach();
    m_pMenu->Attach(reinterpret_cast<ui::Menu*>(wParam));
    Refresh();
  }
  if (lParam) {
    const int i = GetWindowMenuIndex();
    if (i >= 0) m_items[static_cast<std::size_t>(i)]->m_popup = reinterpret_cast<ui::Menu*>(lParam);
  }
  return current;
}

ui::LRESULT CMenuBar::MdiClientWndProc(ui::HWND hwnd, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
  CMenuBar* bar = g_menuBar;
  if (!bar || hwnd != bar->m_mdiClient) {
    ui::Wnd* wnd = ui::Wnd::FromHandle(hwnd);
    return wnd ? wnd->WindowProc(message, wParam, lParam) : 0;
  }
  // The frame keeps no menu line of its own: these never reach the client.
  if (message == ui::WM_MDISETMENU) return bar->OnMdiSetMenu(wParam, lParam);
  if (message == ui::WM_MDIREFRESHMENU) return reinterpret_cast<ui::LRESULT>(bar->m_pMenu ? bar->m_pMenu->GetSafeHmenu() : nullptr);
  return ui::CallWindowProc(bar->m_oldMdiProc, hwnd, message, wParam, lParam);
}

ui::LRESULT CMenuBar::MenuBarMouseHook(int code, ui::WPARAM wParam, ui::LPARAM lParam) {
  if (code == ui::HC_ACTION && wParam == ui::WM_MOUSEMOVE && g_menuBar && lParam) {
    const auto* mouse = reinterpret_cast<const ui::MOUSEHOOKSTRUCT*>(lParam);
    g_menuBar->TrackHover(ui::Wnd::FromHandle(mouse->hwnd), mouse->pt);
  }
  return ui::CallNextHookEx(g_mouseHook, code, wParam, lParam);
}

bool CMenuBar::EnableDocking(ui::DWORD sides) {
  ui::ControlBar::EnableDocking(sides);
  ui::FrameWnd* frame = GetDockingFrame();
  if (!frame) return false;
  static constexpr struct {
    ui::DWORD side;
    ui::UINT id;
  } kSides[] = {{ui::CBRS_ALIGN_TOP, ui::AFX_IDW_DOCKBAR_TOP},
                {ui::CBRS_ALIGN_BOTTOM, ui::AFX_IDW_DOCKBAR_BOTTOM},
                {ui::CBRS_ALIGN_LEFT, ui::AFX_IDW_DOCKBAR_LEFT},
                {ui::CBRS_ALIGN_RIGHT, ui::AFX_IDW_DOCKBAR_RIGHT}};
  for (const auto& s : kSides) {
    if (!(sides & s.side) || frame->GetDockBar(s.id)) continue;
    auto dock = std::make_unique<CMenuDockBar>();
    constexpr ui::DWORD kDockStyle = 0x56000000;  // child, visible, clip siblings, clip children
    if (!dock->Create(frame, kDockStyle | s.side, s.id) || !frame->AddDockBar(std::move(dock))) return false;
  }
  return true;
}

// --- CMenuDockBar -------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CMenuDockBar, ui::DockBar)

UI_BEGIN_MESSAGE_MAP(CMenuDockBar, ui::DockBar)
  ui::map::Message(ui::WM_SIZEPARENT, &CMenuDockBar::OnSizeParentMsg),
  ui::map::Size(&CMenuDockBar::OnSize),
UI_END_MESSAGE_MAP()

ui::Size CMenuDockBar::Arrange(bool apply) {
  const bool horz = (GetBarStyle() & ui::CBRS_ORIENT_HORZ) != 0;
  ui::Rect room;
  if (ui::Wnd* parent = GetParent()) parent->GetClientRect(&room);
  const int roomLength = horz ? room.Width() : room.Height();
  int across = 0, thickness = 0, along = 0, longest = 0, lastRow = -1;
  bool rowHasBar = false;
  for (ui::ControlBar* bar : Bars()) {
    if (!bar->IsVisible()) continue;
    int row = 0, offset = 0;
    GetPlace(bar, &row, &offset);
    const ui::Size size = (bar->GetBarStyle() & ui::CBRS_SIZE_DYNAMIC)
                              ? bar->CalcDynamicLayout(-1, horz ? (ui::LM_HORZ | ui::LM_HORZDOCK) : ui::LM_VERTDOCK)
                              : bar->CalcFixedLayout(false, horz);
    const int length = horz ? size.cx : size.cy;
    int at = std::max(along, offset);
    const bool menuBarAfterBar = bar->GetDlgCtrlID() == CMenuBar::kBarId && rowHasBar;
    const bool wraps = rowHasBar && row == lastRow && at + length > roomLength;
    if (rowHasBar && (row != lastRow || menuBarAfterBar || wraps)) {
      across += thickness;
      thickness = along = 0;
      rowHasBar = false;
      at = (row != lastRow) ? offset : 0;
    }
    lastRow = row;
    if (apply) {
      const ui::Rect r = horz ? ui::Rect(at, across, at + size.cx, across + size.cy)
                              : ui::Rect(across, at, across + size.cx, at + size.cy);
      ui::Rect now;
      bar->GetWindowRect(&now);
      ScreenToClient(&now);
      if (now != r) bar->MoveWindow(r);
    }
    along = at + length;
    longest = std::max(longest, along);
    thickness = std::max(thickness, horz ? size.cy : size.cx);
    rowHasBar = true;
  }
  across += thickness;
  return {across, longest};
}

ui::Size CMenuDockBar::CalcFixedLayout(bool stretch, bool) {
  const bool horz = (GetBarStyle() & ui::CBRS_ORIENT_HORZ) != 0;
  ui::Size measured = Arrange(false);
  const int length = stretch ? 32767 : measured.cy;
  return horz ? ui::Size{length, measured.cx} : ui::Size{measured.cx, length};
}

ui::LRESULT CMenuDockBar::OnSizeParentMsg(ui::WPARAM wParam, ui::LPARAM lParam) {
  const ui::LRESULT result = OnSizeParent(wParam, lParam);
  const auto* params = reinterpret_cast<const ui::SizeParentParams*>(lParam);
  if (params && !params->query && IsWindow()) Arrange(true);
  return result;
}

void CMenuDockBar::OnSize(ui::UINT, int, int) { Arrange(true); }
