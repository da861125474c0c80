// Frames: creation from resources, the command route, accelerators, the status line, docking
// and the bar layout, saving and restoring it; multiple-document frames and their children.
#include "platform/ui/frame.h"

#include <algorithm>
#include <utility>

#include "platform/base/numtext.h"
#include "platform/ui/app.h"
#include "platform/ui/bars.h"
#include "platform/ui/docview.h"
#include "platform/ui/dockstate.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/internal/wndaccess.h"
#include "platform/ui/metrics.h"
#include "platform/ui/resource.h"

namespace ui {

namespace {

const char* FrameClass() {
  static const std::string name = [] {
    const gdi::Brush face(gdi::GetSysColor(gdi::COLOR_BTNFACE));
    return RegisterWndClass(CS_DBLCLKS, nullptr, &face);
  }();
  return name.c_str();
}

const char* MDIClientClass() {
  static const std::string name = [] {
    const gdi::Brush work(gdi::GetSysColor(gdi::COLOR_APPWORKSPACE));
    return RegisterWndClass(CS_DBLCLKS, nullptr, &work);
  }();
  return name.c_str();
}

constexpr UINT kDockBarIds[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};
constexpr DWORD kDockSides[4] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};

bool IsDockBarId(UINT id) {
  return std::find(std::begin(kDockBarIds), std::end(kDockBarIds), id) != std::end(kDockBarIds);
}

}  // namespace

// --- FrameWnd -------------------------------------------------------------------------------------------

const Rect FrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

UI_IMPLEMENT_DYNCREATE(FrameWnd, Wnd)

UI_BEGIN_MESSAGE_MAP(FrameWnd, Wnd)
  map::Create(&FrameWnd::OnCreate),
  map::Destroy(&FrameWnd::OnDestroy),
  map::Close(&FrameWnd::OnClose),
  map::Size(&FrameWnd::OnSize),
  map::SetFocus(&FrameWnd::OnSetFocus),
  map::InitMenuPopup(&FrameWnd::OnInitMenuPopup),
  map::Activate(&FrameWnd::OnActivate),
  map::Message(WM_IDLEUPDATECMDUI, &FrameWnd::OnIdleUpdateCmdUI),
  map::Message(WM_SETMESSAGESTRING, &FrameWnd::OnSetMessageString),
  map::Message(WM_MENUSELECT, &FrameWnd::OnMenuSelect),
  map::Message(WM_RECALCPARENT, &FrameWnd::OnRecalcParent),
  map::UpdateUI(ID_INDICATOR_CAPS, &FrameWnd::OnUpdateKeyIndicator),
  map::UpdateUI(ID_INDICATOR_NUM, &FrameWnd::OnUpdateKeyIndicator),
  map::UpdateUI(ID_INDICATOR_SCRL, &FrameWnd::OnUpdateKeyIndicator),
  map::UpdateUI(ID_VIEW_STATUS_BAR, &FrameWnd::OnUpdateControlBarMenu),
  map::UpdateUI(ID_VIEW_TOOLBAR, &FrameWnd::OnUpdateControlBarMenu),
  map::CommandEx(ID_VIEW_STATUS_BAR, &FrameWnd::OnBarCheck),
  map::CommandEx(ID_VIEW_TOOLBAR, &FrameWnd::OnBarCheck),
  map::NotifyEx(TTN_NEEDTEXT, 0, 0xFFFF, &FrameWnd::OnToolTipText),
UI_END_MESSAGE_MAP()

FrameWnd::FrameWnd() = default;

FrameWnd::~FrameWnd() {
  m_bAutoDelete = false;
  if (IsWindow()) DestroyWindow();
}

bool FrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.className.empty() || cs.className == kDefaultWndClass) cs.className = FrameClass();
  cs.style &= ~FWS_ADDTOTITLE;
  return true;
}

bool FrameWnd::Create(const char* className, std::string_view title, DWORD style, const Rect& rect, Wnd* parent,
                      UINT menuId, DWORD exStyle, CreateContext* context) {
  m_strTitle = std::string(title);
  if (menuId && !m_menu.LoadMenu(menuId)) return false;
  m_pCreateContext = context;
  const bool ok = CreateEx(exStyle, className ? className : FrameClass(), title, style, rect, parent, 0, context);
  m_pCreateContext = nullptr;
  if (!ok) return false;
  if (m_menu.GetMenuItemCount() && !(GetStyle() & WS_CHILD)) SetMenu(&m_menu);
  return true;
}

bool FrameWnd::LoadFrame(UINT resourceId, DWORD style, Wnd* parent, CreateContext* context) {
  m_nIDHelp = resourceId;
  const std::string title = GetSubString(LoadString(resourceId), 0);
  m_accelTable = AccelTable::Load(resourceId);
  const bool hasMenu = FindMenuResource(resourceId) != nullptr;
  return Create(nullptr, title, style, rectDefault, parent, hasMenu ? resourceId : 0, 0, context);
}

int FrameWnd::OnCreate(CREATESTRUCT* cs) {
  if (Default() == -1) return -1;
  auto* context = reinterpret_cast<CreateContext*>(cs->lpCreateParams);
  if (!OnCreateClient(cs, context)) return -1;
  RecalcLayout();
  return 0;
}

bool FrameWnd::OnCreateClient(CREATESTRUCT*, CreateContext* context) {
  if (context && context->m_pNewViewClass) return CreateView(context, AFX_IDW_PANE_FIRST) != nullptr;
  return true;
}

Wnd* FrameWnd::CreateView(CreateContext* context, UINT id) {
  if (!context || !context->m_pNewViewClass) return nullptr;
  CmdTarget* object = context->m_pNewViewClass->CreateObject();
  auto* view = dynamic_cast<View*>(object);
  if (!view) {
    delete object;
    return nullptr;
  }
  // Until its window exists the view is ours to delete; afterwards it deletes itself with it.
  view->m_autoDelete = false;
  if (!view->CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_CHILD | WS_VISIBLE, Rect(), this, id, context)) {
    delete view;
    return nullptr;
  }
  view->m_autoDelete = true;
  return view;
}

void FrameWnd::OnDestroy() {
  if (FrameNotifyHook* hook = std::exchange(m_pNotifyHook, nullptr)) hook->OnFrameDestroy();
  // Bars go with the frame; their objects belong to their owners.
  for (ControlBar* bar : m_listControlBars) {
    bar->m_pDockSite = nullptr;
    bar->m_pDockBar = nullptr;
  }
  m_listControlBars.clear();
  App* app = App::Get();
  if (app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    App::PostQuitMessage(0);
  }
  Default();
}

void FrameWnd::PostNcDestroy() {
  m_dockBars.clear();
  if (m_bAutoDelete) delete this;
}

View* FrameWnd::GetActiveView() const {
  if (m_pViewActive && !m_pViewActive->IsWindow()) return nullptr;
  return m_pViewActive;
}

void FrameWnd::SetActiveView(View* view, bool notify) {
  View* old = GetActiveView();
  if (old == view) return;
  m_pViewActive = view;
  if (notify) {
    if (old) old->OnActivateView(false, view, old);
    if (view) view->OnActivateView(true, view, old);
  }
}

Document* FrameWnd::GetActiveDocument() {
  FrameWnd* frame = GetActiveFrame();
  View* view = frame ? frame->GetActiveView() : nullptr;
  return view ? view->GetDocument() : nullptr;
}

void FrameWnd::InitialUpdateFrame(Document* doc, bool makeVisible) {
  if (!GetActiveView())
    if (auto* view = dynamic_cast<View*>(GetDlgItem(AFX_IDW_PANE_FIRST))) SetActiveView(view, false);
  SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, true);
  if (makeVisible) {
    ActivateFrame();
    if (View* v = GetActiveView()) v->OnActivateView(true, v, v);
  }
  (void)doc;
  OnUpdateFrameTitle(true);
}

void FrameWnd::ActivateFrame(int cmdShow) {
  ShowWindow(cmdShow == -1 ? SW_SHOW : cmdShow);
  if (!(GetStyle() & WS_CHILD)) SetActiveWindow();
}

void FrameWnd::OnUpdateFrameTitle(bool addToTitle) {
  if (!addToTitle || (GetStyle() & WS_CHILD)) return;
  Document* doc = GetActiveDocument();
  std::string title = m_strTitle;
  if (doc && !doc->GetTitle().empty()) title = doc->GetTitle() + " - " + m_strTitle;
  if (GetWindowText() != title) SetWindowText(title);
}

bool FrameWnd::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
  // The route: the active view (which goes on to its document), the frame, the application. An
  // embedded object's menus and keys send their commands to the object's window instead.
  if (View* view = GetActiveView(); view && view->OnCmdMsg(id, code, extra, info)) return true;
  if (Wnd::OnCmdMsg(id, code, extra, info)) return true;
  if (App* app = App::Get(); app && app->OnCmdMsg(id, code, extra, info)) return true;
  return false;
}

HWND FrameWnd::MenuPopupOwner(const Menu* popup) const {
  const HWND owner = m_pNotifyHook ? m_pNotifyHook->PopupOwner(popup) : kNoWnd;
  return owner != kNoWnd ? owner : m_hWnd;
}

bool FrameWnd::ShowInPlaceBars(bool show) {
  bool changed = false;
  for (ControlBar* bar : std::vector<ControlBar*>(m_listControlBars)) {
    if (!bar->IsWindow() || !(bar->GetBarStyle() & CBRS_HIDE_INPLACE)) continue;
    if (show && (bar->m_nStateFlags & ControlBar::tempHide)) {
      bar->m_nStateFlags &= ~ControlBar::tempHide;
      ShowControlBar(bar, true, true);
      changed = true;
    } else if (!show && bar->IsVisible()) {
      bar->m_nStateFlags |= ControlBar::tempHide;
      ShowControlBar(bar, false, true);
      changed = true;
    }
  }
  return changed;
}

bool FrameWnd::PreTranslateMessage(MSG* msg) {
  if (m_pNotifyHook && m_pNotifyHook->OnPreTranslateMessage(msg)) return true;
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && !m_accelTable.IsEmpty())
    return TranslateAccelerator(this, m_accelTable, msg);
  return false;
}

void FrameWnd::OnClose() {
  App* app = App::Get();
  const HWND self = m_hWnd;
  if (app && app->m_pMainWnd == this) {
    if (!app->SaveAllModified()) return;
    // Closing the documents may close this frame too (it shows one of them).
    app->CloseAllDocuments(false);
    if (!ui::IsWindow(self)) return;
  } else if (Document* doc = GetActiveDocument()) {
    if (!doc->CanCloseFrame(this)) return;
    if (doc->GetViews().size() <= 1) {
      doc->OnCloseDocument();
      return;
    }
  }
  DestroyWindow();
}

void FrameWnd::OnSize(UINT type, int, int) {
  if (type != SIZE_MINIMIZED) RecalcLayout();
}

void FrameWnd::OnSetFocus(Wnd* old) {
  if (View* v = GetActiveView()) v->SetFocus();
  else Wnd::OnSetFocus(old);
}

void FrameWnd::OnInitMenuPopup(Menu* popup, UINT, bool system) {
  if (!system) UpdateMenuCommandUI(popup, this, m_bAutoMenuEnable);
}

void FrameWnd::OnActivate(UINT state, Wnd* other, bool minimized) {
  (void)other;
  (void)minimized;
  Default();
  if (state != WA_INACTIVE)
    if (View* v = GetActiveView()) v->SetFocus();
}

LRESULT FrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_bLayoutPending) RecalcLayout();
  OnUpdateFrameTitle(true);
  // The status line's prompt ("Ready" when nothing is pointed at).
  if (m_nIDTracking != m_nIDLastMessage && !(GetStyle() & WS_CHILD)) SetTrackingMessage(m_nIDTracking);
  return 0;
}

void FrameWnd::SetTrackingMessage(UINT id) {
  m_nIDTracking = id;
  m_nIDLastMessage = id;
  if (id) SetMessageText(id);
  else SetMessageText(std::string_view());
}

LRESULT FrameWnd::OnMenuSelect(WPARAM wParam, LPARAM) {
  const UINT id = LOWORD(wParam), flags = HIWORD(wParam);
  // A closed menu brings back the idle prompt; a popup or a separator shows none.
  if (flags == 0xFFFF) SetTrackingMessage(AFX_IDS_IDLEMESSAGE);
  else SetTrackingMessage(id == 0 || (flags & (MF_POPUP | MF_SEPARATOR)) ? 0 : id);
  return 0;
}

LRESULT FrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  std::string text;
  if (wParam) text = GetSubString(LoadString(static_cast<UINT>(wParam)), 0);
  else if (lParam) text = reinterpret_cast<const char*>(lParam);
  for (ControlBar* bar : m_listControlBars)
    if (auto* status = dynamic_cast<StatusBar*>(bar)) {
      status->SetPaneText(0, text);
      break;
    }
  return 0;
}

LRESULT FrameWnd::OnRecalcParent(WPARAM, LPARAM) {
  RecalcLayout();
  return 0;
}

void FrameWnd::SetMessageText(std::string_view text) {
  const std::string copy(text);
  SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

void FrameWnd::SetMessageText(UINT stringId) { SendMessage(WM_SETMESSAGESTRING, stringId, 0); }

void FrameWnd::OnUpdateKeyIndicator(CmdUI* cmdUI) {
  const UINT vk = cmdUI->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL : cmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK : VK_SCROLL;
  cmdUI->Enable((GetKeyState(vk) & 1) != 0);
}

void FrameWnd::OnUpdateControlBarMenu(CmdUI* cmdUI) {
  ControlBar* bar = GetControlBar(cmdUI->m_nID);
  if (!bar) {
    cmdUI->ContinueRouting();
    return;
  }
  cmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
}

bool FrameWnd::OnBarCheck(UINT id) {
  ControlBar* bar = GetControlBar(id);
  if (!bar) return false;
  ShowControlBar(bar, !bar->IsVisible(), false);
  return true;
}

bool FrameWnd::OnToolTipText(UINT id, NMHDR* hdr, LRESULT* result) {
  auto* info = reinterpret_cast<NMTTDISPINFO*>(hdr);
  if (!info || id == 0) return false;
  const std::string text = GetSubString(LoadString(id), 1);
  if (text.empty()) return false;
  m_toolTipText = text;
  info->lpszText = m_toolTipText.c_str();
  if (result) *result = 0;
  return true;
}

// --- Control bars ---------------------------------------------------------------------------------------

void FrameWnd::AddControlBar(ControlBar* bar) {
  if (bar && std::find(m_listControlBars.begin(), m_listControlBars.end(), bar) == m_listControlBars.end())
    m_listControlBars.push_back(bar);
}

void FrameWnd::RemoveControlBar(ControlBar* bar) {
  m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), bar), m_listControlBars.end());
}

ControlBar* FrameWnd::GetControlBar(UINT id) const {
  for (ControlBar* bar : m_listControlBars)
    if (bar->IsWindow() && bar->GetDlgCtrlID() == id) return bar;
  return nullptr;
}

DockBar* FrameWnd::GetDockBar(UINT id) const {
  for (const auto& d : m_dockBars)
    if (d->IsWindow() && d->GetDlgCtrlID() == id) return d.get();
  return nullptr;
}

void FrameWnd::EnableDocking(DWORD dockStyle) {
  for (int i = 0; i < 4; ++i) {
    if (!(dockStyle & kDockSides[i]) || GetDockBar(kDockBarIds[i])) continue;
    auto bar = std::make_unique<DockBar>();
    if (bar->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | kDockSides[i], kDockBarIds[i]))
      m_dockBars.push_back(std::move(bar));
  }
}

bool FrameWnd::CanDock(ControlBar* bar) const {
  for (int i = 0; i < 4; ++i)
    if ((bar->GetDockStyle() & kDockSides[i]) && GetDockBar(kDockBarIds[i])) return true;
  return false;
}

void FrameWnd::DockControlBar(ControlBar* bar, UINT dockBarId, const Rect* rect) {
  if (!bar || !bar->IsWindow()) return;
  DockBar* target = dockBarId ? GetDockBar(dockBarId) : nullptr;
  if (!target)
    for (int i = 0; i < 4 && !target; ++i)
      if (bar->GetDockStyle() & kDockSides[i]) target = GetDockBar(kDockBarIds[i]);
  if (!target) return;
  int row = -1;
  int offset = 0;
  if (rect) {
    Rect r = *rect;
    target->ScreenToClient(&r);
    const bool horz = (target->GetBarStyle() & CBRS_ORIENT_HORZ) != 0;
    offset = std::clamp(horz ? r.left : r.top, 0, 32767);
    // The row whose band holds the rectangle's leading edge.
    int edge = 0;
    const int at = horz ? r.top : r.left;
    row = target->RowCount();
    for (int k = 0; k < target->RowCount(); ++k) {
      int thickness = 0;
      for (ControlBar* other : target->Bars()) {
        int rr = 0, oo = 0;
        if (other != bar && target->GetPlace(other, &rr, &oo) && rr == k && other->IsVisible()) {
          const Size s = other->CalcFixedLayout(false, horz);
          thickness = std::max(thickness, horz ? s.cy : s.cx);
        }
      }
      if (at >= edge && at < edge + thickness) {
        row = k;
        break;
      }
      edge += thickness;
    }
  }
  if (DockBar* old = bar->m_pDockBar) {
    old->Remove(bar);
    if (old->IsFloatingDockBar())
      if (Wnd* mini = old->GetParent()) mini->DestroyWindow();
  }
  target->Insert(bar, row, offset);
  bar->m_pDockSite = this;
  RecalcLayout();
}

void FrameWnd::FloatControlBar(ControlBar* bar, Point point, DWORD style) {
  if (!bar || !bar->IsWindow()) return;
  const bool horizontal = !(style & CBRS_ORIENT_VERT);
  if (DockBar* old = bar->m_pDockBar) {
    if (old->IsFloatingDockBar()) {
      auto* mini = dynamic_cast<MiniDockFrameWnd*>(old->GetParent());
      if (mini && mini->Horizontal() == horizontal) {
        Rect r;
        mini->GetWindowRect(&r);
        mini->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
      }
      old->Remove(bar);
      if (mini) mini->DestroyWindow();
    } else {
      bar->m_lastDockBarId = old->GetDlgCtrlID();
      old->Remove(bar);
    }
  }
  auto* mini = new MiniDockFrameWnd;
  if (!mini->Create(this, bar, point, horizontal)) {
    delete mini;
    return;
  }
  bar->m_pDockSite = this;
  RecalcLayout();
}

void FrameWnd::ShowControlBar(ControlBar* bar, bool show, bool delay) {
  if (!bar || !bar->IsWindow()) return;
  if (delay) {
    bar->DelayShow(show);
    DelayRecalcLayout();
    return;
  }
  bar->m_nStateFlags &= ~(ControlBar::delayHide | ControlBar::delayShow);
  bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
  if (bar->IsFloating())
    if (DockBar* d = bar->m_pDockBar)
      if (auto* mini = dynamic_cast<MiniDockFrameWnd*>(d->GetParent())) {
        mini->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
        mini->RecalcLayout();
      }
  RecalcLayout();
}

void FrameWnd::DelayRecalcLayout(bool) { m_bLayoutPending = true; }

void FrameWnd::RecalcLayout(bool) {
  if (m_bInRecalcLayout || !IsWindow()) return;
  m_bInRecalcLayout = true;
  m_bLayoutPending = false;
  for (ControlBar* bar : std::vector<ControlBar*>(m_listControlBars)) {
    if (!bar->IsWindow()) continue;
    const UINT flags = bar->m_nStateFlags;
    if (!(flags & (ControlBar::delayShow | ControlBar::delayHide))) continue;
    bar->m_nStateFlags &= ~(ControlBar::delayHide | ControlBar::delayShow);
    const bool show = (flags & ControlBar::delayShow) != 0;
    bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    if (bar->IsFloating())
      if (DockBar* d = bar->m_pDockBar)
        if (auto* mini = dynamic_cast<MiniDockFrameWnd*>(d->GetParent())) mini->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
  }
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  m_bInRecalcLayout = false;
  if (m_pNotifyHook) m_pNotifyHook->OnRecalcLayout();
}

void FrameWnd::GetInsideClientRect(Rect* rect) const {
  Rect r;
  const_cast<FrameWnd*>(this)->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &r);
  if (rect) *rect = r;
}

void FrameWnd::RepositionBars(UINT firstId, UINT lastId, UINT idLeftOver, UINT flags, Rect* paramRect,
                              const Rect* clientRect, bool stretch) {
  SizeParentParams params;
  if (clientRect) params.rect = *clientRect;
  else GetClientRect(&params.rect);
  params.stretch = stretch;
  params.query = (flags & reposQuery) != 0;
  std::vector<Wnd*> order;
  // Bars of their own along the edges first (the status bar), then the dock bars.
  for (Wnd* child : GetChildren()) {
    const UINT id = child->GetDlgCtrlID();
    if (id < firstId || id > lastId || id == idLeftOver || IsDockBarId(id)) continue;
    if (dynamic_cast<ControlBar*>(child)) order.push_back(child);
  }
  for (UINT id : kDockBarIds)
    if (id >= firstId && id <= lastId)
      if (DockBar* d = GetDockBar(id)) order.push_back(d);
  for (Wnd* w : order) {
    const HWND h = w->m_hWnd;
    if (ui::IsWindow(h)) w->SendMessage(WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&params));
  }
  if (params.query) {
    if (paramRect) *paramRect = params.rect;
    return;
  }
  if (Wnd* leftOver = GetDlgItem(idLeftOver)) {
    Rect r = params.rect;
    if ((flags & reposExtra) && paramRect) {
      r.left += paramRect->left;
      r.top += paramRect->top;
      r.right -= paramRect->right;
      r.bottom -= paramRect->bottom;
    }
    Rect now;
    leftOver->GetWindowRect(&now);
    ScreenToClient(&now);
    if (now != r) leftOver->MoveWindow(r);
  }
}

// --- Bar layout ------------------------------------------------------------------------------------------

void FrameWnd::GetDockState(DockState& state) const {
  state.Clear();
  for (ControlBar* bar : m_listControlBars) {
    if (!bar->IsWindow() || bar->IsDockBar() || bar->GetDlgCtrlID() == 0) continue;
    if (static_cast<int>(state.m_bars.size()) >= DockState::kMaxBars) break;
    DockState::BarInfo info;
    info.barId = bar->GetDlgCtrlID();
    info.visible = bar->IsVisible() ? 1 : 0;
    info.floating = bar->IsFloating();
    DockBar* dock = bar->GetDockBar();
    if (dock && !info.floating) dock->GetPlace(bar, &info.row, &info.offset);
    info.dockBarId = info.floating || !dock ? bar->m_lastDockBarId : dock->GetDlgCtrlID();
    if (info.floating && dock)
      if (Wnd* mini = dock->GetParent()) {
        Rect r;
        mini->GetWindowRect(&r);
        info.floatAt = {r.left, r.top};
        auto* m = dynamic_cast<MiniDockFrameWnd*>(mini);
        info.horizontal = !m || m->Horizontal();
      }
    state.m_bars.push_back(info);
  }
}

void FrameWnd::SetDockState(const DockState& state) {
  constexpr int kMaxRows = DockState::kMaxBars;
  struct Entry {
    ControlBar* bar;
    const DockState::BarInfo* info;
    int row;
    int offset;
  };
  std::vector<Entry> entries;
  for (const DockState::BarInfo& info : state.m_bars) {
    ControlBar* bar = info.barId > 0 ? GetControlBar(info.barId) : nullptr;
    if (!bar || bar->IsDockBar()) continue;  // a bar this frame does not have
    if (std::any_of(entries.begin(), entries.end(), [&](const Entry& e) { return e.bar == bar; })) continue;
    entries.push_back({bar, &info, std::clamp(info.row, 0, kMaxRows), std::clamp(info.offset, 0, 32767)});
  }
  // Docked bars go back in order of their rows and offsets, each at its side.
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.info->dockBarId != b.info->dockBarId ? a.info->dockBarId < b.info->dockBarId
           : a.row != b.row                       ? a.row < b.row
                                                  : a.offset < b.offset;
  });
  for (const Entry& e : entries) {
    const DockState::BarInfo& info = *e.info;
    if (info.floating) {
      if (info.dockBarId && IsDockBarId(info.dockBarId)) e.bar->m_lastDockBarId = info.dockBarId;
      const Point at{std::clamp(info.floatAt.x, -32768, 32767), std::clamp(info.floatAt.y, -32768, 32767)};
      FloatControlBar(e.bar, at, info.horizontal ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
      continue;
    }
    DockBar* target = IsDockBarId(info.dockBarId) ? GetDockBar(info.dockBarId) : nullptr;
    if (!target) continue;  // keeps its place
    if (DockBar* old = e.bar->m_pDockBar) {
      old->Remove(e.bar);
      if (old->IsFloatingDockBar())
        if (Wnd* mini = old->GetParent()) mini->DestroyWindow();
    }
    // Rows count from the first of this side restored here.
    target->Insert(e.bar, kMaxRows + e.row, e.offset);
    e.bar->m_pDockSite = this;
  }
  for (const Entry& e : entries)
    if (e.info->visible >= 0) ShowControlBar(e.bar, e.info->visible != 0, false);
  RecalcLayout();
}

void FrameWnd::SaveBarState(std::string_view profileName) const {
  if (!CurrentProfileStore()) return;
  DockState state;
  GetDockState(state);
  state.SaveState(profileName);
}

void FrameWnd::LoadBarState(std::string_view profileName) {
  if (!CurrentProfileStore()) return;
  DockState state;
  state.LoadState(profileName);
  SetDockState(state);
}

// --- MDI client -----------------------------------------------------------------------------------------

LRESULT MDIClientWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  auto childOf = [](WPARAM w) { return dynamic_cast<MDIChildWnd*>(Wnd::FromHandle(ParamToHandle(static_cast<std::intptr_t>(w)))); };
  switch (message) {
    case WM_MDIACTIVATE:
      if (MDIChildWnd* c = childOf(wParam)) m_frame->MDIActivate(c);
      return 0;
    case WM_MDINEXT:
      m_frame->MDINext(lParam != 0);
      return 0;
    case WM_MDIGETACTIVE: {
      bool maximized = false;
      MDIChildWnd* c = m_frame->MDIGetActive(&maximized);
      if (lParam) *reinterpret_cast<int*>(lParam) = maximized ? 1 : 0;
      return c ? HandleToParam(c->m_hWnd) : 0;
    }
    case WM_MDIMAXIMIZE:
      if (MDIChildWnd* c = childOf(wParam)) c->MDIMaximize();
      return 0;
    case WM_MDIRESTORE:
      if (MDIChildWnd* c = childOf(wParam)) c->MDIRestore();
      return 0;
    case WM_MDIDESTROY:
      if (MDIChildWnd* c = childOf(wParam)) c->DestroyWindow();
      return 0;
    case WM_MDICASCADE:
      m_frame->MDICascade();
      return 1;
    case WM_MDITILE:
      m_frame->MDITile(wParam == 0 || (wParam & 1));
      return 1;
    case WM_MDISETMENU: {
      Menu* old = m_frame->GetActiveMenu();
      if (wParam) m_frame->SetActiveMenu(reinterpret_cast<Menu*>(wParam));
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_MDIREFRESHMENU:
      m_frame->RefreshWindowMenu();
      return reinterpret_cast<LRESULT>(m_frame->GetActiveMenu());
    case WM_WINDOWPOSCHANGED: {
      const LRESULT r = Wnd::DefWindowProc(message, wParam, lParam);
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos && !(pos->flags & SWP_NOSIZE) && IsWindow()) RecalcScroll();
      return r;
    }
    case WM_HSCROLL:
      Scroll(SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_VSCROLL:
      Scroll(SB_VERT, LOWORD(wParam));
      return 0;
    default:
      return Wnd::DefWindowProc(message, wParam, lParam);
  }
}

void MDIClientWnd::RecalcScroll(const Wnd* changing, bool changingShown) {
  if (m_inRecalc || m_scrolling || !IsWindow()) return;
  m_inRecalc = true;
  MDIChildWnd* maximized = nullptr;
  Rect extent;
  bool any = false;
  for (MDIChildWnd* c : m_frame->GetChildFrames()) {
    if (!c->IsWindow() || !(c == changing ? changingShown : c->IsWindowVisible())) continue;
    if (c->IsMaximized()) maximized = c;
    Rect r;
    c->GetWindowRect(&r);
    ScreenToClient(&r);
    if (any) extent.UnionRect(extent, r);
    else extent = r;
    any = true;
  }
  if (maximized) any = false;
  // The area without bars; a bar taken on one side can make the other needed too.
  const DWORD style = GetStyle();
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  Rect client;
  GetClientRect(&client);
  const int fullWidth = client.Width() + ((style & WS_VSCROLL) ? bar : 0);
  const int fullHeight = client.Height() + ((style & WS_HSCROLL) ? bar : 0);
  bool horz = false, vert = false;
  for (int pass = 0; pass < 2; ++pass) {
    const int width = fullWidth - (vert ? bar : 0), height = fullHeight - (horz ? bar : 0);
    horz = any && (extent.left < 0 || extent.right > width);
    vert = any && (extent.top < 0 || extent.bottom > height);
  }
  const DWORD wanted = (horz ? WS_HSCROLL : 0) | (vert ? WS_VSCROLL : 0);
  if ((style & (WS_HSCROLL | WS_VSCROLL)) != wanted)
    ModifyStyle(WS_HSCROLL | WS_VSCROLL, wanted, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
  GetClientRect(&client);
  for (int side : {SB_HORZ, SB_VERT}) {
    const bool shown = side == SB_HORZ ? horz : vert;
    if (!shown) continue;
    const int size = side == SB_HORZ ? client.Width() : client.Height();
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = std::min(0, side == SB_HORZ ? extent.left : extent.top);
    si.nMax = std::max(size, side == SB_HORZ ? extent.right : extent.bottom) - 1;
    si.nPage = static_cast<UINT>(size);
    si.nPos = 0;
    SetScrollInfo(side, &si);
  }
  if (maximized) {
    Rect r;
    maximized->GetWindowRect(&r);
    ScreenToClient(&r);
    if (r != client) maximized->MoveWindow(client);
  }
  m_inRecalc = false;
}

void MDIClientWnd::Scroll(int bar, UINT code) {
  if (!(GetStyle() & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) return;
  SCROLLINFO si;
  GetScrollInfo(bar, &si);
  const int page = static_cast<int>(si.nPage);
  const int last = std::max(si.nMin, si.nMax - std::max(0, page - 1));
  const int line = GetSystemMetrics(SM_CXVSCROLL);
  int pos = si.nPos;
  switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = last; break;
    // The children move when the thumb is let go, not while it is dragged.
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    default: return;
  }
  const int delta = std::clamp(pos, si.nMin, last) - si.nPos;
  if (delta == 0) return;
  m_scrolling = true;
  if (bar == SB_HORZ) ScrollWindow(-delta, 0);
  else ScrollWindow(0, -delta);
  m_scrolling = false;
  RecalcScroll();
}

// --- MDIFrameWnd ----------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNCREATE(MDIFrameWnd, FrameWnd)

UI_BEGIN_MESSAGE_MAP(MDIFrameWnd, FrameWnd)
  map::Command(ID_WINDOW_CASCADE, &MDIFrameWnd::OnWindowCascade),
  map::Command(ID_WINDOW_TILE_HORZ, &MDIFrameWnd::OnWindowTile),
  map::Command(ID_WINDOW_TILE_VERT, &MDIFrameWnd::OnWindowTile),
  map::UpdateUI(ID_WINDOW_CASCADE, &MDIFrameWnd::OnUpdateMDIWindowCmd),
  map::UpdateUI(ID_WINDOW_TILE_HORZ, &MDIFrameWnd::OnUpdateMDIWindowCmd),
  map::UpdateUI(ID_WINDOW_TILE_VERT, &MDIFrameWnd::OnUpdateMDIWindowCmd),
  map::UpdateUI(ID_WINDOW_ARRANGE, &MDIFrameWnd::OnUpdateMDIWindowCmd),
  map::CommandRange(AFX_IDM_FIRST_MDICHILD, AFX_IDM_FIRST_MDICHILD + 0xFE, &MDIFrameWnd::OnWindowActivateChild),
UI_END_MESSAGE_MAP()

MDIFrameWnd::MDIFrameWnd() = default;
MDIFrameWnd::~MDIFrameWnd() {
  m_bAutoDelete = false;
  if (IsWindow()) DestroyWindow();
}

bool MDIFrameWnd::OnCreateClient(CREATESTRUCT*, CreateContext*) {
  m_pClient = std::make_unique<MDIClientWnd>(this);
  if (!m_pClient->CreateEx(WS_EX_CLIENTEDGE, MDIClientClass(), "",
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, Rect(), this,
                           AFX_IDW_PANE_FIRST))
    return false;
  // The bars show only while a child extends past the area.
  m_pClient->RecalcScroll();
  m_shownMenu = m_menu.GetMenuItemCount() ? &m_menu : nullptr;
  return true;
}

MDIChildWnd* MDIFrameWnd::MDIGetActive(bool* maximized) const {
  auto* child = dynamic_cast<MDIChildWnd*>(Wnd::FromHandle(m_active));
  if (maximized) *maximized = child && child->IsMaximized();
  return child;
}

std::vector<MDIChildWnd*> MDIFrameWnd::GetChildFrames() const {
  std::vector<MDIChildWnd*> out;
  for (HWND h : m_children)
    if (auto* c = dynamic_cast<MDIChildWnd*>(Wnd::FromHandle(h))) out.push_back(c);
  return out;
}

void MDIFrameWnd::MDIActivate(Wnd* wnd) {
  auto* child = dynamic_cast<MDIChildWnd*>(wnd);
  if (!child || child->GetMDIFrame() != this) return;
  const HWND oldHwnd = m_active;
  if (oldHwnd == child->m_hWnd) return;
  auto* old = dynamic_cast<MDIChildWnd*>(Wnd::FromHandle(oldHwnd));
  const bool keepMaximized = old && old->IsMaximized();
  m_children.erase(std::remove(m_children.begin(), m_children.end(), child->m_hWnd), m_children.end());
  m_children.insert(m_children.begin(), child->m_hWnd);
  m_active = child->m_hWnd;
  if (keepMaximized) {
    old->MDIRestore();
    child->MDIMaximize();
  }
  child->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (old) old->SendMessage(WM_MDIACTIVATE, static_cast<WPARAM>(static_cast<std::uint32_t>(oldHwnd)), HandleToParam(child->m_hWnd));
  child->SendMessage(WM_MDIACTIVATE, static_cast<WPARAM>(static_cast<std::uint32_t>(oldHwnd)), HandleToParam(child->m_hWnd));
  ShowMenuThroughClient(ActiveChildMenu());
  // The active child's caption is drawn in the active colour.
  if (old && old->IsWindow()) old->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  child->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  if (View* v = child->GetActiveView()) v->SetFocus();
  else child->SetFocus();
  OnUpdateFrameTitle(true);
}

void MDIFrameWnd::ChildGone(MDIChildWnd* child) {
  const HWND h = child->m_hWnd;
  m_children.erase(std::remove(m_children.begin(), m_children.end(), h), m_children.end());
  if (m_pClient) m_pClient->RecalcScroll();
  if (m_active != h) {
    RefreshWindowMenu();
    return;
  }
  m_active = kNoWnd;
  MDIChildWnd* next = m_children.empty() ? nullptr : dynamic_cast<MDIChildWnd*>(Wnd::FromHandle(m_children.front()));
  // The active child going away is deactivated first, as the platform's MDI client does; without
  // a next child, the activated window is none.
  child->SendMessage(WM_MDIACTIVATE, static_cast<WPARAM>(static_cast<std::uint32_t>(h)), next ? HandleToParam(next->m_hWnd) : 0);
  if (next) {
    const bool max = child->IsMaximized();
    MDIActivate(next);
    if (max) next->MDIMaximize();
  } else {
    ShowMenuThroughClient(ActiveChildMenu());
    OnUpdateFrameTitle(true);
  }
}

void MDIFrameWnd::MDINext(bool previous) {
  std::vector<MDIChildWnd*> children = GetChildFrames();
  if (children.size() < 2) return;
  if (previous) {
    // The one at the bottom comes up.
    MDIActivate(children.back());
  } else {
    // The next one comes up and the current one goes to the bottom.
    MDIChildWnd* current = children.front();
    MDIActivate(children[1]);
    m_children.erase(std::remove(m_children.begin(), m_children.end(), current->m_hWnd), m_children.end());
    m_children.push_back(current->m_hWnd);
  }
}

void MDIFrameWnd::MDIMaximize(Wnd* child) {
  if (auto* c = dynamic_cast<MDIChildWnd*>(child)) c->MDIMaximize();
}

void MDIFrameWnd::MDIRestore(Wnd* child) {
  if (auto* c = dynamic_cast<MDIChildWnd*>(child)) c->MDIRestore();
}

void MDIFrameWnd::MDICascade() {
  if (!m_pClient) return;
  Rect client;
  m_pClient->GetClientRect(&client);
  int k = 0;
  std::vector<MDIChildWnd*> children = GetChildFrames();
  std::reverse(children.begin(), children.end());
  for (MDIChildWnd* c : children) {
    if (c->IsMaximized()) c->MDIRestore();
    const int step = 20 * k++;
    c->MoveWindow(step, step, std::max(100, client.Width() * 2 / 3), std::max(80, client.Height() * 2 / 3));
  }
}

void MDIFrameWnd::MDITile(bool horizontal) {
  if (!m_pClient) return;
  Rect client;
  m_pClient->GetClientRect(&client);
  std::vector<MDIChildWnd*> children = GetChildFrames();
  const int n = static_cast<int>(children.size());
  for (int i = 0; i < n; ++i) {
    MDIChildWnd* c = children[static_cast<std::size_t>(i)];
    if (c->IsMaximized()) c->MDIRestore();
    if (horizontal) c->MoveWindow(0, client.Height() * i / n, client.Width(), client.Height() / n);
    else c->MoveWindow(client.Width() * i / n, 0, client.Width() / n, client.Height());
  }
}

FrameWnd* MDIFrameWnd::GetActiveFrame() {
  MDIChildWnd* c = MDIGetActive();
  return c ? static_cast<FrameWnd*>(c) : this;
}

bool MDIFrameWnd::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
  if (MDIChildWnd* c = MDIGetActive(); c && c->OnCmdMsg(id, code, extra, info)) return true;
  return FrameWnd::OnCmdMsg(id, code, extra, info);
}

bool MDIFrameWnd::PreTranslateMessage(MSG* msg) {
  // The active document's keys work wherever the frame has the input, as the class library's
  // multiple-document frame translates its active child's table first.
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
    if (MDIChildWnd* child = MDIGetActive()) {
      bool inside = false;
      for (Wnd* w = Wnd::FromHandle(msg->hwnd); w && !inside; w = w->GetParent()) inside = w == child;
      // Keys inside the child met it on their way up already. The others meet it as those do: an
      // object active in place in it first, then its table.
      if (!inside) {
        if (child->m_pNotifyHook && child->m_pNotifyHook->OnPreTranslateMessage(msg)) return true;
        if (!child->m_accelTable.IsEmpty() && TranslateAccelerator(this, child->m_accelTable, msg)) return true;
      }
    }
  return FrameWnd::PreTranslateMessage(msg);
}

void MDIFrameWnd::RecalcLayout(bool notify) {
  FrameWnd::RecalcLayout(notify);
  if (MDIChildWnd* c = MDIGetActive(); c && c->IsMaximized() && m_pClient) {
    Rect client;
    m_pClient->GetClientRect(&client);
    c->MoveWindow(client);
  }
}

Menu* MDIFrameWnd::ActiveChildMenu() const {
  if (MDIChildWnd* child = MDIGetActive(); child && child->m_pSharedMenu) return child->m_pSharedMenu;
  return m_menu.GetMenuItemCount() ? const_cast<Menu*>(&m_menu) : nullptr;
}

void MDIFrameWnd::SetActiveMenu(Menu* menu) {
  m_shownMenu = menu;
  SetMenu(menu);
  RefreshWindowMenu();
}

void MDIFrameWnd::RefreshWindowMenu() {
  Menu* menu = m_shownMenu;
  if (!menu) return;
  // The window menu: the popup that holds the window commands.
  Menu* window = nullptr;
  for (int i = 0; i < menu->GetMenuItemCount() && !window; ++i)
    if (Menu* sub = menu->GetSubMenu(i)) {
      Menu* m = nullptr;
      int pos = 0;
      if (sub->FindCommand(ID_WINDOW_CASCADE, &m, &pos) || sub->FindCommand(ID_WINDOW_TILE_HORZ, &m, &pos) ||
          sub->FindCommand(ID_WINDOW_NEW, &m, &pos) || sub->FindCommand(ID_WINDOW_ARRANGE, &m, &pos))
        window = sub;
    }
  if (!window) {
    DrawMenuBar();
    return;
  }
  for (int i = window->GetMenuItemCount() - 1; i >= 0; --i) {
    const UINT id = window->GetMenuItemID(i);
    if (id >= AFX_IDM_FIRST_MDICHILD && id < AFX_IDM_FIRST_MDICHILD + 0xFF) window->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
  }
  // A separator the list put there goes with it.
  const int count = window->GetMenuItemCount();
  if (count > 0 && (window->GetMenuState(static_cast<UINT>(count - 1), MF_BYPOSITION) & MF_SEPARATOR) && m_windowListSeparator)
    window->DeleteMenu(static_cast<UINT>(count - 1), MF_BYPOSITION);
  m_windowListSeparator = false;
  std::vector<MDIChildWnd*> children = GetChildFrames();
  // The list is in creation order, not activation order.
  std::sort(children.begin(), children.end(), [](MDIChildWnd* a, MDIChildWnd* b) {
    return static_cast<std::uint32_t>(a->m_hWnd) < static_cast<std::uint32_t>(b->m_hWnd);
  });
  if (!children.empty()) {
    const int n = window->GetMenuItemCount();
    if (n > 0 && !(window->GetMenuState(static_cast<UINT>(n - 1), MF_BYPOSITION) & MF_SEPARATOR)) {
      window->AppendMenu(MF_SEPARATOR);
      m_windowListSeparator = true;
    }
  }
  int k = 0;
  for (MDIChildWnd* c : children) {
    if (k >= 9) break;
    const UINT flags = MF_STRING | (c->m_hWnd == m_active ? MF_CHECKED : 0);
    window->AppendMenu(flags, AFX_IDM_FIRST_MDICHILD + static_cast<UINT>(k), "&" + plat::formatInt(k + 1) + " " + c->GetWindowText());
    ++k;
  }
  DrawMenuBar();
}

void MDIFrameWnd::OnWindowNext() { MDINext(false); }
void MDIFrameWnd::OnWindowPrev() { MDINext(true); }
void MDIFrameWnd::OnWindowCascade() { MDICascade(); }
void MDIFrameWnd::OnWindowTile() {
  const MSG* m = GetCurrentMessage();
  MDITile(!(m && LOWORD(m->wParam) == ID_WINDOW_TILE_VERT));
}
void MDIFrameWnd::OnUpdateMDIWindowCmd(CmdUI* cmdUI) { cmdUI->Enable(MDIGetActive() != nullptr); }

void MDIFrameWnd::OnWindowActivateChild(UINT id) {
  std::vector<MDIChildWnd*> children = GetChildFrames();
  std::sort(children.begin(), children.end(), [](MDIChildWnd* a, MDIChildWnd* b) {
    return static_cast<std::uint32_t>(a->m_hWnd) < static_cast<std::uint32_t>(b->m_hWnd);
  });
  const std::size_t index = id - AFX_IDM_FIRST_MDICHILD;
  if (index < children.size()) MDIActivate(children[index]);
}

// --- MDIChildWnd ----------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNCREATE(MDIChildWnd, FrameWnd)

UI_BEGIN_MESSAGE_MAP(MDIChildWnd, FrameWnd)
  map::Create(&MDIChildWnd::OnCreate),
  map::Destroy(&MDIChildWnd::OnDestroy),
  map::Message(WM_MOUSEACTIVATE, &MDIChildWnd::OnMouseActivateMsg),
UI_END_MESSAGE_MAP()

MDIChildWnd::MDIChildWnd() = default;
MDIChildWnd::~MDIChildWnd() {
  m_bAutoDelete = false;
  if (IsWindow()) DestroyWindow();
}

bool MDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
  FrameWnd::PreCreateWindow(cs);
  cs.style |= WS_CHILD;
  cs.style &= ~WS_POPUP;
  return true;
}

bool MDIChildWnd::Create(const char* className, std::string_view title, DWORD style, const Rect& rect,
                         MDIFrameWnd* parent, CreateContext* context) {
  if (!parent) parent = App::Get() ? dynamic_cast<MDIFrameWnd*>(App::Get()->GetMainWnd()) : nullptr;
  if (!parent || !parent->GetMDIClient()) return false;
  m_pMDIFrame = parent;
  Rect r = rect;
  if (r.left == CW_USEDEFAULT) {
    Rect client;
    parent->GetMDIClient()->GetClientRect(&client);
    // Cascaded, and large enough to show a page: the client area less the cascade.
    const int step = 20 * static_cast<int>(parent->m_children.size() % 8);
    r = Rect(step, step, std::max(step + 100, client.right - 20), std::max(step + 80, client.bottom - 20));
  }
  m_strTitle = std::string(title);
  m_pCreateContext = context;
  const bool ok = CreateEx(0, className, title, style | WS_CHILD, r, parent->GetMDIClient(), 0, context);
  m_pCreateContext = nullptr;
  return ok;
}

bool MDIChildWnd::LoadFrame(UINT resourceId, DWORD style, Wnd* parent, CreateContext* context) {
  m_nIDHelp = resourceId;
  m_accelTable = AccelTable::Load(resourceId);
  if (FindMenuResource(resourceId) && m_menu.LoadMenu(resourceId)) m_pSharedMenu = &m_menu;
  auto* frame = dynamic_cast<MDIFrameWnd*>(parent);
  const std::string title = GetSubString(LoadString(resourceId), 0);
  return Create(nullptr, title, style & ~FWS_ADDTOTITLE, rectDefault, frame, context);
}

MDIFrameWnd* MDIChildWnd::GetMDIFrame() const { return m_pMDIFrame; }

int MDIChildWnd::OnCreate(CREATESTRUCT* cs) {
  if (FrameWnd::OnCreate(cs) == -1) return -1;
  if (m_pMDIFrame) {
    bool maximized = false;
    m_pMDIFrame->MDIGetActive(&maximized);
    m_pMDIFrame->m_children.push_back(m_hWnd);
    if (maximized) MDIMaximize();
  }
  return 0;
}

void MDIChildWnd::MDIActivate() {
  if (m_pMDIFrame) m_pMDIFrame->MDIActivate(this);
}

void MDIChildWnd::MDIDestroy() { DestroyWindow(); }

void MDIChildWnd::ActivateFrame(int cmdShow) {
  if (cmdShow == SW_SHOWMAXIMIZED || cmdShow == SW_MAXIMIZE) MDIMaximize();
  ShowWindow(cmdShow == -1 || cmdShow == SW_SHOWMAXIMIZED || cmdShow == SW_MAXIMIZE ? SW_SHOW : cmdShow);
  MDIActivate();
}

void MDIChildWnd::MDIMaximize() {
  if (m_maximized || !m_pMDIFrame || !m_pMDIFrame->GetMDIClient()) return;
  if (m_minimized) MDIRestore();
  WndImpl* impl = WndAccess::Impl(this);
  GetWindowRect(&m_restoreRect);
  GetParent()->ScreenToClient(&m_restoreRect);
  m_restoreStyle = GetStyle();
  m_maximized = true;
  impl->maximized = true;
  ModifyStyle(WS_CAPTION | WS_THICKFRAME | WS_BORDER, 0);
  Rect client;
  m_pMDIFrame->GetMDIClient()->GetClientRect(&client);
  SetWindowPos(nullptr, client.left, client.top, client.Width(), client.Height(), SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  m_pMDIFrame->OnUpdateFrameTitle(true);
}

void MDIChildWnd::MDIMinimize() {
  if (m_minimized || !m_pMDIFrame || !m_pMDIFrame->GetMDIClient()) return;
  if (m_maximized) MDIRestore();
  WndImpl* impl = WndAccess::Impl(this);
  GetWindowRect(&m_restoreRect);
  GetParent()->ScreenToClient(&m_restoreRect);
  m_minimized = true;
  impl->minimized = true;
  // Only the caption stays, along the bottom of the client area after the other minimised ones.
  Rect client;
  m_pMDIFrame->GetMDIClient()->GetClientRect(&client);
  const Rect insets = impl->insets;
  const int width = 160, height = insets.top + insets.bottom;
  int slot = 0;
  for (MDIChildWnd* c : m_pMDIFrame->GetChildFrames())
    if (c != this && c->IsMinimized()) ++slot;
  SetWindowPos(nullptr, client.left + slot * width, client.bottom - height, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  m_pMDIFrame->OnUpdateFrameTitle(true);
}

void MDIChildWnd::MDIRestore() {
  WndImpl* impl = WndAccess::Impl(this);
  if (m_minimized) {
    m_minimized = false;
    impl->minimized = false;
    SetWindowPos(nullptr, m_restoreRect.left, m_restoreRect.top, m_restoreRect.Width(), m_restoreRect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (!m_maximized) return;
  m_maximized = false;
  impl->maximized = false;
  ModifyStyle(0, m_restoreStyle & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
  SetWindowPos(nullptr, m_restoreRect.left, m_restoreRect.top, m_restoreRect.Width(), m_restoreRect.Height(),
               SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  if (m_pMDIFrame) m_pMDIFrame->OnUpdateFrameTitle(true);
}

void MDIChildWnd::OnUpdateFrameTitle(bool addToTitle) {
  if (!addToTitle) return;
  Document* doc = GetActiveDocument();
  if (doc) {
    std::string title = doc->GetTitle();
    if (doc->GetViews().size() > 1) {
      int n = 1;
      for (View* v : doc->GetViews()) {
        if (v->GetParentFrame() == this) break;
        ++n;
      }
      title += ":" + plat::formatInt(n);
    }
    if (GetWindowText() != title) {
      SetWindowText(title);
      if (m_pMDIFrame) m_pMDIFrame->RefreshWindowMenu();
    }
  }
}

void MDIChildWnd::OnDestroy() {
  if (m_pMDIFrame) m_pMDIFrame->ChildGone(this);
  FrameWnd::OnDestroy();
}

LRESULT MDIChildWnd::OnMouseActivateMsg(WPARAM, LPARAM) {
  if (m_pMDIFrame && m_pMDIFrame->MDIGetActive() != this) m_pMDIFrame->MDIActivate(this);
  return MA_ACTIVATE;
}

LRESULT MDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGED || message == WM_SHOWWINDOW) {
    const LRESULT r = FrameWnd::DefWindowProc(message, wParam, lParam);
    // The client's scroll bars follow where its children are.
    if (m_pMDIFrame && m_pMDIFrame->m_pClient && IsWindow())
      m_pMDIFrame->m_pClient->RecalcScroll(message == WM_SHOWWINDOW ? this : nullptr, wParam != 0);
    return r;
  }
  if (message == WM_SYSCOMMAND) {
    switch (wParam & 0xFFF0) {
      case SC_MAXIMIZE: MDIMaximize(); return 0;
      case SC_MINIMIZE: MDIMinimize(); return 0;
      case SC_RESTORE: MDIRestore(); return 0;
      case SC_CLOSE: SendMessage(WM_CLOSE); return 0;
      default: break;
    }
  }
  return FrameWnd::DefWindowProc(message, wParam, lParam);
}

}  // namespace ui
