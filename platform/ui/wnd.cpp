// Window objects: creation and destruction, the window procedure and its standard handling,
// relations, styles, text, geometry, visibility, focus, capture and timers.
#include "platform/ui/wnd.h"

#include <QMenuBar>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/gdi/qt_bridge.h"
#include "platform/ui/app.h"
#include "platform/ui/dc.h"
#include "platform/ui/frame.h"
#include "platform/ui/internal/menuview.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/internal/wndaccess.h"
#include "platform/ui/menu.h"
#include "platform/ui/metrics.h"

namespace ui {

const char* const kDefaultWndClass = "KedrusWnd";

// --- Window classes and their cores --------------------------------------------------------------

namespace {

struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const { return plat::compareNoCase(a, b) < 0; }
};

std::map<std::string, WndClassInfo, NoCase>& Classes() {
  static std::map<std::string, WndClassInfo, NoCase> classes;
  return classes;
}

std::map<std::string, CoreFactory, NoCase>& CoreFactories() {
  static std::map<std::string, CoreFactory, NoCase> cores;
  return cores;
}

}  // namespace

void RegisterCoreFactory(const std::string& className, CoreFactory factory) {
  CoreFactories()[className] = std::move(factory);
}

std::unique_ptr<Core> MakeOwnDrawnCore(WndImpl* impl);
void RegisterStandardControlClasses();

std::string RegisterWndClass(UINT classStyle, HCURSOR cursor, const gdi::Brush* background) {
  WndClassInfo info;
  info.style = classStyle;
  info.cursor = cursor;
  info.hasBackground = background && !background->IsNull() && background->Log().lbStyle != gdi::BS_NULL;
  info.background = info.hasBackground ? background->Log().lbColor : 0;
  std::string name = "Kedrus:" + plat::formatUInt(classStyle) + ":" +
                     plat::formatUInt(reinterpret_cast<std::uintptr_t>(cursor)) + ":" +
                     (info.hasBackground ? plat::formatUInt(info.background) : std::string("none"));
  Classes()[name] = info;
  return name;
}

namespace {

WndClassInfo ClassInfoOf(const std::string& name) {
  auto it = Classes().find(name);
  if (it != Classes().end()) return it->second;
  WndClassInfo info;
  info.style = CS_DBLCLKS;
  info.hasBackground = true;
  info.background = gdi::GetSysColor(gdi::COLOR_WINDOW);
  return info;
}

std::unique_ptr<Core> MakeCore(WndImpl* impl) {
  static bool standardRegistered = false;
  if (!standardRegistered) {
    standardRegistered = true;
    RegisterStandardControlClasses();
  }
  auto it = CoreFactories().find(impl->className);
  if (it != CoreFactories().end()) return it->second(impl);
  return MakeOwnDrawnCore(impl);
}

}  // namespace

// --- Owned and topmost windows -----------------------------------------------------------------------

void SetTransientOwner(QWidget* window, QWidget* owner) {
  if (!window || !owner) return;
  QWidget* ownerWindow = owner->window();
  // Both need their native windows for the window system to know the relation.
  window->winId();
  ownerWindow->winId();
  if (QWindow* handle = window->windowHandle()) handle->setTransientParent(ownerWindow->windowHandle());
}

void RaiseTopmostWindows(HWND except) {
  AppState& st = AppState::Get();
  if (st.headless) return;
  for (HWND h : st.AllWindows()) {
    WndImpl* impl = st.Lookup(h);
    if (!impl || h == except || !impl->IsTopLevel() || !(impl->exStyle & WS_EX_TOPMOST)) continue;
    if (impl->widget && (impl->style & WS_VISIBLE)) impl->widget->raise();
  }
}

// --- Core defaults ----------------------------------------------------------------------------------

Wnd* Core::wnd() const { return impl_->object; }
QWidget* Core::widget() const { return impl_->widget.data(); }
bool Core::DefProc(UINT, WPARAM, LPARAM, LRESULT*) { return false; }
void Core::SetText(const std::string& text) {
  if (impl_->widget && impl_->IsTopLevel()) impl_->widget->setWindowTitle(ToQ(text));
}
std::string Core::GetText() const { return impl_->text; }
void Core::FontChanged() {
  if (impl_->widget && !impl_->font.IsNull()) impl_->widget->setFont(gdi::qt::ToQFont(impl_->font));
}

// --- The run-time class and the message map ------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(Wnd, CmdTarget)

UI_BEGIN_MESSAGE_MAP(Wnd, CmdTarget)
UI_END_MESSAGE_MAP()

const Wnd Wnd::wndTop;
const Wnd Wnd::wndBottom;

Wnd::Wnd() = default;

Wnd::~Wnd() {
  layerObject_ = false;  // never deleted twice from PostNcDestroy
  if (impl_ && impl_->hwnd != kNoWnd) DestroyWindow();
}

Wnd* Wnd::FromHandle(HWND hwnd) {
  AppState* st = AppState::Existing();
  if (!st) return nullptr;
  WndImpl* impl = st->Lookup(hwnd);
  return impl ? impl->object : nullptr;
}

bool Wnd::IsWindow() const { return impl_ && impl_->hwnd != kNoWnd && AppState::Get().Lookup(impl_->hwnd) == impl_.get(); }
bool IsWindow(HWND hwnd) { return Wnd::FromHandle(hwnd) != nullptr; }

// --- Creation ----------------------------------------------------------------------------------------

bool Wnd::PreCreateWindow(CREATESTRUCT&) { return true; }

bool Wnd::Create(const char* className, std::string_view windowName, DWORD style, const Rect& rect, Wnd* parent,
                 UINT id, void* createParams) {
  return CreateEx(0, className, windowName, style, rect, parent, id, createParams);
}

bool Wnd::CreateEx(DWORD exStyle, const char* className, std::string_view windowName, DWORD style, const Rect& rect,
                   Wnd* parent, UINT id, void* createParams) {
  if (impl_ && impl_->hwnd != kNoWnd) return false;  // already has a window
  AppState& st = AppState::Get();
  if (!st.OnUiThread()) return false;

  CREATESTRUCT cs;
  cs.lpCreateParams = createParams;
  cs.hwndParent = parent ? parent->m_hWnd : kNoWnd;
  cs.id = id;
  // Sizes from the rectangle without overflow (a default position has no width to speak of).
  auto span = [](std::int32_t from, std::int32_t to) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t(to) - from, 0, 32767));
  };
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.left == CW_USEDEFAULT ? 0 : span(rect.left, rect.right);
  cs.cy = rect.top == CW_USEDEFAULT ? 0 : span(rect.top, rect.bottom);
  cs.style = style;
  cs.dwExStyle = exStyle;
  cs.name = std::string(windowName);
  const char* defaultClass = DefaultClassName();
  cs.className = className ? className : defaultClass ? defaultClass : kDefaultWndClass;
  if (!PreCreateWindow(cs)) return false;
  Wnd* parentWnd = FromHandle(cs.hwndParent);
  if ((cs.style & WS_CHILD) && !parentWnd) return false;

  impl_ = std::make_unique<WndImpl>();
  WndImpl* impl = impl_.get();
  impl->object = this;
  impl->className = cs.className;
  impl->cls = ClassInfoOf(cs.className);
  if (!impl->cls.cursor) impl->cls.cursor = LoadStandardCursor(IDC_ARROW);
  impl->style = cs.style;
  impl->exStyle = cs.dwExStyle;
  impl->id = cs.id;
  impl->text = cs.name;
  if (cs.style & WS_CHILD) {
    impl->parent = parentWnd->m_hWnd;
  } else if (parentWnd) {
    Wnd* top = parentWnd->GetTopLevelParent();
    impl->owner = top ? top->m_hWnd : parentWnd->m_hWnd;
  }
  // Top-level windows the caller leaves to us: a large part of the display's work area.
  if (!(cs.style & WS_CHILD) && cs.x == CW_USEDEFAULT) {
    const Rect work = GetWorkArea();
    if (cs.cx <= 0 || cs.cy <= 0) {
      cs.cx = work.Width() * 7 / 8;
      cs.cy = work.Height() * 7 / 8;
    }
    cs.x = work.left + std::max(0, (work.Width() - cs.cx) / 2);
    cs.y = work.top + std::max(0, (work.Height() - cs.cy) / 2);
  }
  impl->core = MakeCore(impl);
  impl->core->AdjustSize(&cs.cx, &cs.cy);
  if (cs.x == CW_USEDEFAULT) cs.x = 0;
  if (cs.y == CW_USEDEFAULT) cs.y = 0;
  cs.x = std::clamp(cs.x, -32768, 32767);
  cs.y = std::clamp(cs.y, -32768, 32767);
  cs.cx = std::clamp(cs.cx, 0, 32767);
  cs.cy = std::clamp(cs.cy, 0, 32767);
  impl->rect = Rect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy);
  m_hWnd = impl->hwnd = st.Register(impl);
  if (WndImpl* p = st.Lookup(impl->parent)) p->children.push_back(impl->hwnd);

  // An owned window is a window of its own, never a toolkit child of its owner's widget:
  // disabling the owner for a modal run leaves it usable.
  QWidget* parentWidget = nullptr;
  if (WndImpl* p = st.Lookup(impl->parent)) parentWidget = p->widget.data();
  QWidget* w = impl->core->CreateWidget(parentWidget, cs);
  impl->widget = w;
  // A new child goes to the bottom of its siblings' z-order, as in the children list: the toolkit
  // would stack it on top, over the windows made before it.
  if (impl->parent != kNoWnd) w->lower();
  st.widgetWindows[w] = impl->hwnd;
  w->setMouseTracking(true);
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  if (impl->IsTopLevel()) {
    Qt::WindowFlags flags = Qt::Window;
    if (cs.dwExStyle & WS_EX_TOOLWINDOW) flags = Qt::Tool;
    else if ((cs.style & WS_POPUP) && !(cs.style & WS_CAPTION)) flags = Qt::Tool | Qt::FramelessWindowHint;
    else if (impl->owner != kNoWnd) flags = Qt::Dialog;
    if (cs.dwExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    w->setWindowFlags(flags);
    w->setWindowTitle(ToQ(impl->text));
    if (WndImpl* o = st.Lookup(impl->owner)) SetTransientOwner(w, o->widget.data());
  }
  w->setVisible(false);
  if (cs.style & WS_DISABLED) w->setEnabled(false);

  WndAccess::RecalcNonClient(impl);
  impl->update = gdi::Region::FromRect(impl->ClientRect());
  impl->eraseNeeded = true;
  impl->ncDirty = true;

  const HWND h = m_hWnd;
  st.Dispatch(impl, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs));
  if (!st.Lookup(h)) return false;
  const LRESULT created = st.Dispatch(impl, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
  if (created == -1 || !st.Lookup(h)) {
    if (st.Lookup(h)) DestroyWindow();
    return false;
  }
  impl->core->Created();
  if (impl->parent != kNoWnd && !(impl->exStyle & WS_EX_NOPARENTNOTIFY))
    if (WndImpl* p = st.Lookup(impl->parent))
      st.Dispatch(p, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<WORD>(impl->id)), HandleToParam(h));
  if (!st.Lookup(h)) return false;
  const Rect client = impl->ClientRect();
  st.Dispatch(impl, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(client.Width()), static_cast<WORD>(client.Height())));
  if (!st.Lookup(h)) return false;
  st.Dispatch(impl, WM_MOVE, 0,
              MAKELPARAM(static_cast<WORD>(impl->rect.left + impl->insets.left),
                         static_cast<WORD>(impl->rect.top + impl->insets.top)));
  if (!st.Lookup(h)) return false;
  if (impl->style & WS_VISIBLE) {
    impl->style &= ~WS_VISIBLE;
    ShowWindow(impl->IsTopLevel() ? SW_SHOW : SW_SHOWNA);
  }
  return st.Lookup(h) != nullptr;
}

// --- Destruction ----------------------------------------------------------------------------------------

namespace {

void DeleteWidget(AppState& st, QWidget* w) {
  if (!w) return;
  // Forget the widget and every widget below it.
  for (auto it = st.widgetWindows.begin(); it != st.widgetWindows.end();) {
    const QObject* o = it->first;
    bool below = false;
    for (const QObject* p = o; p; p = p->parent())
      if (p == w) {
        below = true;
        break;
      }
    it = below ? st.widgetWindows.erase(it) : std::next(it);
  }
  QObject::disconnect(w, nullptr, nullptr, nullptr);
  for (QObject* child : w->findChildren<QObject*>()) QObject::disconnect(child, nullptr, nullptr, nullptr);
  ++st.syntheticDepth;
  w->hide();
  --st.syntheticDepth;
  if (st.InEvent(w)) {
    w->setParent(nullptr);
    w->deleteLater();
  } else {
    delete w;
  }
}

void SendDestroy(AppState& st, HWND h) {
  WndImpl* impl = st.Lookup(h);
  if (!impl) return;
  impl->destroying = true;
  if (impl->core) impl->core->Destroying();
  st.Dispatch(impl, WM_DESTROY, 0, 0);
  impl = st.Lookup(h);
  if (!impl) return;
  const std::vector<HWND> children = impl->children;
  for (HWND c : children) SendDestroy(st, c);
}

void Finish(AppState& st, HWND h) {
  WndImpl* impl = st.Lookup(h);
  if (!impl) return;
  const std::vector<HWND> children = impl->children;
  for (HWND c : children) Finish(st, c);
  impl = st.Lookup(h);
  if (!impl) return;
  st.Dispatch(impl, WM_NCDESTROY, 0, 0);
  impl = st.Lookup(h);
  if (!impl) return;
  st.KillTimers(h);
  if (st.capture == h) st.capture = kNoWnd;
  if (st.focus == h) st.focus = kNoWnd;
  if (st.active == h) st.active = kNoWnd;
  if (WndImpl* p = st.Lookup(impl->parent)) {
    auto& list = p->children;
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
  }
  st.Unregister(h);
  QWidget* w = impl->widget.data();
  impl->widget = nullptr;
  // A parent's widget deletes its children's: only the outermost window deletes.
  WndImpl* parentImpl = st.Lookup(impl->parent);
  if (!parentImpl || !parentImpl->destroying) DeleteWidget(st, w);
  Wnd* object = impl->object;
  object->m_hWnd = kNoWnd;
  impl->hwnd = kNoWnd;
  impl->client.reset();
  impl->nonClient.reset();
  object->PostNcDestroy();
}

}  // namespace

bool Wnd::DestroyWindow() {
  AppState& st = AppState::Get();
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd || !st.Lookup(impl->hwnd)) return false;
  if (impl->destroying && impl->widget == nullptr) return false;
  const HWND h = impl->hwnd;
  if (impl->destroying) return false;
  // Windows this one owns go first.
  for (HWND other : st.AllWindows())
    if (WndImpl* o = st.Lookup(other))
      if (o->owner == h) o->object->DestroyWindow();
  // Focus and capture inside the window leave it.
  for (WndImpl* f = st.Lookup(st.focus); f; f = st.Lookup(f->parent))
    if (f->hwnd == h) {
      st.SetFocus(kNoWnd);
      break;
    }
  for (WndImpl* c = st.Lookup(st.capture); c; c = st.Lookup(c->parent))
    if (c->hwnd == h) {
      st.ReleaseCapture();
      break;
    }
  if (!st.Lookup(h)) return true;
  ShowWindow(SW_HIDE);
  SendDestroy(st, h);
  Finish(st, h);
  return true;
}

void Wnd::PostNcDestroy() {
  if (layerObject_) delete this;
}

bool Wnd::SubclassWindow(HWND hwnd) {
  AppState& st = AppState::Get();
  WndImpl* impl = st.Lookup(hwnd);
  if (!impl || impl->object == this || (impl_ && impl_->hwnd != kNoWnd)) return false;
  Wnd* old = impl->object;
  if (!old->layerObject_) return false;
  impl_ = std::move(old->impl_);
  impl_->object = this;
  m_hWnd = hwnd;
  old->m_hWnd = kNoWnd;
  delete old;
  return true;
}

bool Wnd::SubclassDlgItem(UINT id, Wnd* parent) {
  Wnd* item = parent ? parent->GetDlgItem(id) : nullptr;
  return item && SubclassWindow(item->m_hWnd);
}

// --- Messages ---------------------------------------------------------------------------------------------

LRESULT Wnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ui::SendMessage(m_hWnd, message, wParam, lParam);
}

bool Wnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ui::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  AppState* st = AppState::Existing();
  if (!st || !st->OnUiThread()) return 0;  // other threads only post
  WndImpl* impl = st->Lookup(hwnd);
  return impl ? st->Dispatch(impl, message, wParam, lParam) : 0;
}

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  AppState* st = AppState::Existing();
  if (!st || (hwnd != kNoWnd && !st->Lookup(hwnd))) return false;
  MSG msg;
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  st->Post(msg);
  return true;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  if (proc == ObjectProcedure()) {
    Wnd* w = Wnd::FromHandle(hwnd);
    return w ? w->WindowProc(message, wParam, lParam) : 0;
  }
  return proc(hwnd, message, wParam, lParam);
}

WNDPROC Wnd::SetWindowProc(WNDPROC proc) {
  if (!impl_) return nullptr;
  WNDPROC old = impl_->proc ? impl_->proc : ObjectProcedure();
  impl_->proc = proc == ObjectProcedure() ? nullptr : proc;
  return old;
}

void Wnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool deep) {
  for (Wnd* child : GetChildren()) {
    const HWND h = child->m_hWnd;
    child->SendMessage(message, wParam, lParam);
    if (deep && ui::IsWindow(h)) child->SendMessageToDescendants(message, wParam, lParam, true);
  }
}

const MSG* Wnd::GetCurrentMessage() {
  AppState* st = AppState::Existing();
  return st && !st->current.empty() ? &st->current.back()->msg : nullptr;
}

LRESULT Wnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT Wnd::Default() {
  const MSG* m = GetCurrentMessage();
  if (!m) return 0;
  return DefWindowProc(m->message, m->wParam, m->lParam);
}

bool Wnd::PreTranslateMessage(MSG*) { return false; }

namespace {

template <class R, class... A>
R Call(CmdTarget* t, Pmf f, A... a) {
  return (t->*PmfCast<R (CmdTarget::*)(A...)>(f))(a...);
}

bool IsOwnerDrawMessage(UINT m) {
  return m == WM_DRAWITEM || m == WM_MEASUREITEM || m == WM_COMPAREITEM || m == WM_DELETEITEM;
}

}  // namespace

bool Wnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    if (OnCommand(wParam, lParam)) {
      *result = 1;
      return true;
    }
    return false;
  }
  if (message == WM_NOTIFY) {
    LRESULT r = 0;
    if (OnNotify(wParam, lParam, &r)) {
      *result = r;
      return true;
    }
    return false;
  }
  // Owner-drawn items and scroll bars: the control that sent them may handle them itself.
  if (IsOwnerDrawMessage(message) && lParam) {
    HWND from = kNoWnd;
    if (message == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (dis->CtlType != ODT_MENU) from = dis->hwndItem;
    } else if (message == WM_MEASUREITEM) {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (mis->CtlType != ODT_MENU)
        if (Wnd* item = GetDlgItem(mis->CtlID)) from = item->m_hWnd;
    } else if (message == WM_COMPAREITEM) {
      from = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
    } else {
      from = reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
    }
    if (Wnd* child = FromHandle(from))
      if (child != this && child->OnChildNotify(message, wParam, lParam, result)) return true;
  }
  if ((message == WM_HSCROLL || message == WM_VSCROLL) && lParam)
    if (Wnd* bar = FromHandle(ParamToHandle(lParam)))
      if (bar != this && bar->OnChildNotify(message, wParam, lParam, result)) return true;

  const MsgEntry* e = FindMessageEntry(message);
  if (!e) return false;
  const Pmf f = e->pfn;
  LRESULT r = 0;
  switch (e->sig) {
    case Sig::Raw: r = Call<LRESULT>(this, f, wParam, lParam); break;
    case Sig::V: Call<void>(this, f); break;
    case Sig::I_CS: r = Call<int>(this, f, reinterpret_cast<CREATESTRUCT*>(lParam)); break;
    case Sig::V_U_I_I:
      Call<void>(this, f, static_cast<UINT>(wParam), static_cast<int>(LOWORD(lParam)), static_cast<int>(HIWORD(lParam)));
      break;
    case Sig::V_I_I: Call<void>(this, f, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); break;
    case Sig::V_U_Pt: Call<void>(this, f, static_cast<UINT>(LOWORD(wParam)), ParamToPoint(lParam)); break;
    case Sig::B_U_S_Pt:
      r = Call<bool>(this, f, static_cast<UINT>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam)), ParamToPoint(lParam));
      break;
    case Sig::V_UP: Call<void>(this, f, static_cast<UINT_PTR>(wParam)); break;
    case Sig::V_U_U_U:
      Call<void>(this, f, static_cast<UINT>(wParam), static_cast<UINT>(LOWORD(lParam)),
                 static_cast<UINT>(HIWORD(static_cast<std::uint32_t>(lParam))));
      break;
    case Sig::V_W: Call<void>(this, f, FromHandle(message == WM_CAPTURECHANGED ? ParamToHandle(lParam) : ParamToHandle(static_cast<std::intptr_t>(wParam)))); break;
    case Sig::B_DC: r = Call<bool>(this, f, reinterpret_cast<gdi::DC*>(wParam)); break;
    case Sig::V_WP: Call<void>(this, f, reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case Sig::V_B_NC: Call<void>(this, f, wParam != 0, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)); break;
    case Sig::B_W_U_U:
      r = Call<bool>(this, f, FromHandle(ParamToHandle(static_cast<std::intptr_t>(wParam))), static_cast<UINT>(LOWORD(lParam)),
                     static_cast<UINT>(HIWORD(lParam)));
      break;
    case Sig::V_W_Pt: Call<void>(this, f, FromHandle(ParamToHandle(static_cast<std::intptr_t>(wParam))), ParamToPoint(lParam)); break;
    case Sig::V_U_U_W:
      Call<void>(this, f, static_cast<UINT>(LOWORD(wParam)), static_cast<UINT>(HIWORD(wParam)), FromHandle(ParamToHandle(lParam)));
      break;
    case Sig::V_B_U: Call<void>(this, f, wParam != 0, static_cast<UINT>(lParam)); break;
    case Sig::V_U_W_B:
      Call<void>(this, f, static_cast<UINT>(LOWORD(wParam)), FromHandle(ParamToHandle(lParam)), HIWORD(wParam) != 0);
      break;
    case Sig::V_B: Call<void>(this, f, wParam != 0); break;
    case Sig::V_I_DIS: Call<void>(this, f, static_cast<int>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); break;
    case Sig::V_I_MIS: Call<void>(this, f, static_cast<int>(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); break;
    case Sig::I_I_CIS: r = Call<int>(this, f, static_cast<int>(wParam), reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)); break;
    case Sig::V_I_DEL: Call<void>(this, f, static_cast<int>(wParam), reinterpret_cast<DELETEITEMSTRUCT*>(lParam)); break;
    case Sig::V_U_LP: Call<void>(this, f, static_cast<UINT>(wParam), lParam); break;
    case Sig::V_M_U_B:
      Call<void>(this, f, reinterpret_cast<Menu*>(wParam), static_cast<UINT>(LOWORD(lParam)), HIWORD(lParam) != 0);
      break;
    case Sig::U_V: r = static_cast<LRESULT>(Call<UINT>(this, f)); break;
    default: return false;
  }
  *result = r;
  return true;
}

bool Wnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  int code = HIWORD(wParam);
  const HWND control = ParamToHandle(lParam);
  if (control == kNoWnd) {
    if (id == 0) return false;
    // A command its update handler disables is not run (menus and accelerators).
    const CommandState state = QueryCommandState(this, id, false);
    if (state.updateHandled && !state.enabled) return true;
    code = CN_COMMAND;
  } else {
    Wnd* child = FromHandle(control);
    if (child && child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr)) return true;
    if (id == 0) return false;
  }
  return OnCmdMsg(id, code, nullptr, nullptr);
}

bool Wnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (!hdr) return false;
  Wnd* child = FromHandle(hdr->hwndFrom);
  if (child && child != this && child->OnChildNotify(WM_NOTIFY, 0, lParam, result)) return true;
  NotifyArgs args{hdr, result};
  return OnCmdMsg(static_cast<UINT>(hdr->idFrom), NotifyCode(hdr->code), &args, nullptr);
}

bool Wnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    const MsgEntry* e = FindReflectEntry(false, HIWORD(wParam));
    if (!e) return false;
    DispatchCmdEntry(*e, GetDlgCtrlID(), HIWORD(wParam), nullptr);
    return true;
  }
  if (message == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    const MsgEntry* e = FindReflectEntry(true, hdr->code);
    if (!e) return false;
    LRESULT scratch = 0;
    NotifyArgs args{hdr, result ? result : &scratch};
    DispatchCmdEntry(*e, GetDlgCtrlID(), hdr->code, &args);
    return true;
  }
  return false;
}

// --- Standard handling ------------------------------------------------------------------------------------

namespace {

bool IsSynthesizable(UINT m) {
  return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_CHAR || m == WM_LBUTTONDOWN || m == WM_LBUTTONUP ||
         m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDOWN || m == WM_RBUTTONUP || m == WM_MOUSEMOVE;
}

CurrentMessage* CurrentFor(HWND h, UINT message) {
  AppState& st = AppState::Get();
  if (st.current.empty()) return nullptr;
  CurrentMessage* cm = st.current.back();
  return cm->msg.hwnd == h && cm->msg.message == message ? cm : nullptr;
}

}  // namespace

LRESULT Wnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  AppState& st = AppState::Get();
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd) return 0;
  const HWND h = impl->hwnd;
  // Controls take the focus when clicked.
  if (message == WM_LBUTTONDOWN && !impl->core->OwnDrawn() && impl->widget &&
      impl->widget->focusPolicy() != Qt::NoFocus && st.focus != h) {
    SetFocus();
    if (!st.Lookup(h)) return 0;
  }
  LRESULT r = 0;
  // The window class's own handling first: it may replace the toolkit's (a tab control decides
  // a click itself).
  if (impl->core && impl->core->DefProc(message, wParam, lParam, &r)) return r;
  if (CurrentMessage* cm = CurrentFor(h, message); cm && cm->toolkitDefault && !cm->defaultDone) {
    cm->defaultDone = true;
    cm->toolkitDefault();
    if (!st.Lookup(h)) return 0;
    if (message != WM_RBUTTONUP) return 0;
  } else if (!impl->core->OwnDrawn() && IsSynthesizable(message)) {
    // Posted or sent input for a toolkit control: hand it over as an event of its own.
    SynthesizeInput(impl, message, wParam, lParam);
    if (!st.Lookup(h)) return 0;
    if (message != WM_RBUTTONUP) return 0;
  }
  switch (message) {
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      impl->text = text ? text : "";
      impl->core->SetText(impl->text);
      if (impl->core->OwnDrawn()) impl->ncDirty = true;
      return 1;
    }
    case WM_GETTEXT: {
      const std::string text = impl->core->GetText();
      char* buffer = reinterpret_cast<char*>(lParam);
      if (!buffer || wParam == 0) return 0;
      const std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
      std::memcpy(buffer, text.data(), n);
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(impl->core->GetText().size());
    case WM_SETFONT:
      if (wParam) impl->font = *reinterpret_cast<const gdi::Font*>(wParam);
      else impl->font = gdi::Font();
      impl->core->FontChanged();
      if (lParam) Invalidate();
      return 0;
    case WM_GETFONT:
      return impl->font.IsNull() ? 0 : reinterpret_cast<LRESULT>(&impl->font);
    case WM_CLOSE:
      DestroyWindow();
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      // The caption's buttons, and a double-click on the caption, as the platform's frames have.
      const int hit = static_cast<int>(wParam);
      UINT command = 0;
      if (hit == HTCLOSE && message == WM_NCLBUTTONDOWN) command = SC_CLOSE;
      else if (hit == HTMAXBUTTON && message == WM_NCLBUTTONDOWN) command = impl->maximized ? SC_RESTORE : SC_MAXIMIZE;
      else if (hit == HTMINBUTTON && message == WM_NCLBUTTONDOWN) command = impl->minimized ? SC_RESTORE : SC_MINIMIZE;
      else if (hit == HTCAPTION && message == WM_NCLBUTTONDBLCLK && (impl->style & WS_MAXIMIZEBOX))
        command = impl->maximized || impl->minimized ? SC_RESTORE : SC_MAXIMIZE;
      if (command) SendMessage(WM_SYSCOMMAND, command, lParam);
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        // A greyed Close item of the system menu closes nothing.
        if (!impl->systemMenu || !(impl->systemMenu->GetMenuState(SC_CLOSE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)))
          SendMessage(WM_CLOSE);
      }
      else if ((wParam & 0xFFF0) == SC_MINIMIZE) ShowWindow(SW_MINIMIZE);
      else if ((wParam & 0xFFF0) == SC_MAXIMIZE) ShowWindow(SW_MAXIMIZE);
      else if ((wParam & 0xFFF0) == SC_RESTORE) ShowWindow(SW_RESTORE);
      return 0;
    case WM_PAINT:
      if (impl->core->OwnDrawn()) {
        PAINTSTRUCT ps;
        {
          gdi::DC dc = BeginPaint(this, &ps);
        }
        EndPaint(this, &ps);
      }
      return 0;
    case WM_ERASEBKGND:
      if (impl->cls.hasBackground && wParam) {
        auto* dc = reinterpret_cast<gdi::DC*>(wParam);
        Rect box;
        if (dc->GetClipBox(&box) != gdi::NULLREGION) dc->FillSolidRect(box, impl->cls.background);
        return 1;
      }
      return 0;
    case WM_NCPAINT:
      WndAccess::PaintDefaultNonClient(impl);
      return 0;
    case WM_NCCALCSIZE: {
      auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
      if (!p) return 0;
      const Rect insets = WndAccess::DefaultInsets(impl, p->rgrc[0]);
      Rect& r0 = p->rgrc[0];
      r0 = Rect(r0.left + insets.left, r0.top + insets.top, std::max(r0.left + insets.left, r0.right - insets.right),
                std::max(r0.top + insets.top, r0.bottom - insets.bottom));
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!pos) return 0;
      if (!(pos->flags & SWP_NOMOVE))
        SendMessage(WM_MOVE, 0,
                    MAKELPARAM(static_cast<WORD>(impl->rect.left + impl->insets.left),
                               static_cast<WORD>(impl->rect.top + impl->insets.top)));
      if (!st.Lookup(h)) return 0;
      if (!(pos->flags & SWP_NOSIZE)) {
        const Rect client = impl->ClientRect();
        const WPARAM kind = impl->minimized ? SIZE_MINIMIZED : impl->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessage(WM_SIZE, kind, MAKELPARAM(static_cast<WORD>(client.Width()), static_cast<WORD>(client.Height())));
      }
      return 0;
    }
    case WM_SETCURSOR: {
      if (Wnd* parent = GetParent())
        if (parent->SendMessage(WM_SETCURSOR, wParam, lParam)) return 1;
      if (LOWORD(lParam) == HTCLIENT && ParamToHandle(static_cast<std::intptr_t>(wParam)) == h) {
        ui::SetCursor(impl->cls.cursor);
        return 1;
      }
      return 0;
    }
    case WM_RBUTTONUP: {
      Point pt = ParamToPoint(lParam);
      ClientToScreen(&pt);
      SendMessage(WM_CONTEXTMENU, static_cast<WPARAM>(static_cast<std::uint32_t>(h)), PointToParam(pt));
      return 0;
    }
    case WM_CONTEXTMENU:
      if (Wnd* parent = GetParent()) return parent->SendMessage(WM_CONTEXTMENU, wParam, lParam);
      return 0;
    case WM_MOUSEACTIVATE:
      if (Wnd* parent = GetParent())
        if (LRESULT pr = parent->SendMessage(WM_MOUSEACTIVATE, wParam, lParam)) return pr;
      return MA_ACTIVATE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !impl->minimized) {
        bool inside = false;
        for (WndImpl* f = st.Lookup(st.focus); f; f = st.Lookup(f->parent))
          if (f->hwnd == h) inside = true;
        if (!inside) SetFocus();
      }
      return 0;
    case WM_GETDLGCODE:
      return impl->core->DlgCode();
    case WM_INITMENUPOPUP: {
      // Menus opened over any window show the command state its route gives.
      Menu* menu = reinterpret_cast<Menu*>(wParam);
      if (menu) UpdateMenuCommandUI(menu, this, true);
      return 0;
    }
    case WM_CANCELMODE:
      if (st.capture == h) st.ReleaseCapture();
      return 0;
    case WM_SETREDRAW:
      impl->redrawOff = wParam == 0;
      if (!impl->redrawOff) Invalidate();
      return 0;
    default:
      return 0;
  }
}

// Standard handlers: the base behaviour of a message, for handlers of derived classes.
int Wnd::OnCreate(CREATESTRUCT*) { return static_cast<int>(Default()); }
void Wnd::OnDestroy() { Default(); }
void Wnd::OnNcDestroy() { Default(); }
void Wnd::OnClose() { Default(); }
void Wnd::OnPaint() { Default(); }
void Wnd::OnNcPaint() { Default(); }
bool Wnd::OnEraseBkgnd(gdi::DC*) { return Default() != 0; }
void Wnd::OnSize(UINT, int, int) { Default(); }
void Wnd::OnMove(int, int) { Default(); }
void Wnd::OnTimer(UINT_PTR) { Default(); }
void Wnd::OnSetFocus(Wnd*) { Default(); }
void Wnd::OnKillFocus(Wnd*) { Default(); }
void Wnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void Wnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void Wnd::OnChar(UINT, UINT, UINT) { Default(); }
void Wnd::OnMouseMove(UINT, Point) { Default(); }
void Wnd::OnLButtonDown(UINT, Point) { Default(); }
void Wnd::OnLButtonUp(UINT, Point) { Default(); }
void Wnd::OnLButtonDblClk(UINT, Point) { Default(); }
void Wnd::OnRButtonDown(UINT, Point) { Default(); }
void Wnd::OnRButtonUp(UINT, Point) { Default(); }
bool Wnd::OnMouseWheel(UINT, short, Point) { return Default() != 0; }
bool Wnd::OnSetCursor(Wnd*, UINT, UINT) { return Default() != 0; }
void Wnd::OnContextMenu(Wnd*, Point) { Default(); }
void Wnd::OnHScroll(UINT, UINT, Wnd*) { Default(); }
void Wnd::OnVScroll(UINT, UINT, Wnd*) { Default(); }
void Wnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void Wnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void Wnd::OnNcCalcSize(bool, NCCALCSIZE_PARAMS*) { Default(); }
void Wnd::OnShowWindow(bool, UINT) { Default(); }
void Wnd::OnInitMenuPopup(Menu*, UINT, bool) { Default(); }

// --- Identity and relations ---------------------------------------------------------------------------------

UINT Wnd::GetDlgCtrlID() const { return impl_ ? impl_->id : 0; }
UINT Wnd::SetDlgCtrlID(UINT id) {
  if (!impl_) return 0;
  const UINT old = impl_->id;
  impl_->id = id;
  return old;
}

Wnd* Wnd::GetDlgItem(UINT id) const {
  if (!impl_) return nullptr;
  AppState& st = AppState::Get();
  for (HWND c : impl_->children)
    if (WndImpl* ci = st.Lookup(c))
      if (ci->id == id) return ci->object;
  return nullptr;
}

Wnd* Wnd::GetParent() const {
  if (!impl_) return nullptr;
  return FromHandle(impl_->parent != kNoWnd ? impl_->parent : impl_->owner);
}

Wnd* Wnd::SetParent(Wnd* parent) {
  AppState& st = AppState::Get();
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd) return nullptr;
  Wnd* old = GetParent();
  if (WndImpl* p = st.Lookup(impl->parent)) {
    auto& list = p->children;
    list.erase(std::remove(list.begin(), list.end(), impl->hwnd), list.end());
  }
  impl->parent = kNoWnd;
  if (parent && parent->impl_ && (impl->style & WS_CHILD)) {
    impl->parent = parent->m_hWnd;
    parent->impl_->children.insert(parent->impl_->children.begin(), impl->hwnd);
    if (impl->widget) {
      impl->widget->setParent(parent->impl_->widget.data());
      impl->widget->setVisible((impl->style & WS_VISIBLE) != 0);
    }
  } else if (impl->widget) {
    impl->widget->setParent(nullptr);
    impl->widget->setWindowFlags(Qt::Window);
  }
  impl->ApplyGeometry();
  return old;
}

Wnd* Wnd::GetOwner() const {
  if (!impl_) return nullptr;
  if (impl_->owner != kNoWnd) return FromHandle(impl_->owner);
  return GetParent();
}

void Wnd::SetOwner(Wnd* owner) {
  if (impl_) impl_->owner = owner ? owner->m_hWnd : kNoWnd;
}

Wnd* Wnd::GetTopLevelParent() const {
  if (!impl_ || impl_->hwnd == kNoWnd) return nullptr;
  const Wnd* w = this;
  while (w->impl_ && !w->impl_->IsTopLevel()) {
    Wnd* p = FromHandle(w->impl_->parent);
    if (!p) break;
    w = p;
  }
  return const_cast<Wnd*>(w);
}

FrameWnd* Wnd::GetParentFrame() const {
  for (Wnd* p = GetParent(); p; p = p->impl_ && !p->impl_->IsTopLevel() ? p->GetParent() : nullptr) {
    if (auto* f = dynamic_cast<FrameWnd*>(p)) return f;
    if (p->impl_ && p->impl_->IsTopLevel()) break;
  }
  return nullptr;
}

FrameWnd* Wnd::GetTopLevelFrame() const {
  FrameWnd* frame = dynamic_cast<FrameWnd*>(const_cast<Wnd*>(this));
  if (!frame) frame = GetParentFrame();
  while (frame) {
    FrameWnd* up = frame->GetParentFrame();
    if (!up) break;
    frame = up;
  }
  return frame;
}

std::vector<Wnd*> Wnd::GetChildren() const {
  std::vector<Wnd*> out;
  if (!impl_) return out;
  AppState& st = AppState::Get();
  for (HWND c : impl_->children)
    if (WndImpl* ci = st.Lookup(c)) out.push_back(ci->object);
  return out;
}

Wnd* Wnd::GetWindow(UINT relation) const {
  if (!impl_ || impl_->hwnd == kNoWnd) return nullptr;
  AppState& st = AppState::Get();
  if (relation == GW_CHILD) return impl_->children.empty() ? nullptr : FromHandle(impl_->children.front());
  if (relation == GW_OWNER) return FromHandle(impl_->owner);
  WndImpl* parent = st.Lookup(impl_->parent);
  if (!parent) return nullptr;
  const auto& list = parent->children;
  auto it = std::find(list.begin(), list.end(), impl_->hwnd);
  if (it == list.end()) return nullptr;
  switch (relation) {
    case GW_HWNDFIRST: return FromHandle(list.front());
    case GW_HWNDLAST: return FromHandle(list.back());
    case GW_HWNDNEXT: return std::next(it) == list.end() ? nullptr : FromHandle(*std::next(it));
    case GW_HWNDPREV: return it == list.begin() ? nullptr : FromHandle(*std::prev(it));
    default: return nullptr;
  }
}

bool Wnd::IsChild(const Wnd* wnd) const {
  if (!wnd || !impl_) return false;
  for (Wnd* p = wnd->impl_ && !wnd->impl_->IsTopLevel() ? FromHandle(wnd->impl_->parent) : nullptr; p;
       p = p->impl_ && !p->impl_->IsTopLevel() ? FromHandle(p->impl_->parent) : nullptr)
    if (p == this) return true;
  return false;
}

// --- Styles and text ---------------------------------------------------------------------------------------

DWORD Wnd::GetStyle() const { return impl_ ? impl_->style : 0; }
DWORD Wnd::GetExStyle() const { return impl_ ? impl_->exStyle : 0; }

bool Wnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
  if (!impl_ || impl_->hwnd == kNoWnd) return false;
  const DWORD old = impl_->style;
  const DWORD now = (old & ~remove) | add;
  if (now == old) return false;
  impl_->style = now;
  if ((old ^ now) & WS_DISABLED) EnableWindow(!(now & WS_DISABLED));
  impl_->core->StyleChanged(old);
  if (flags & SWP_FRAMECHANGED) SetWindowPos(nullptr, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  return true;
}

bool Wnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  if (!impl_ || impl_->hwnd == kNoWnd) return false;
  const DWORD old = impl_->exStyle;
  const DWORD now = (old & ~remove) | add;
  if (now == old) return false;
  impl_->exStyle = now;
  if (flags & SWP_FRAMECHANGED) SetWindowPos(nullptr, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  return true;
}

std::string Wnd::GetClassName() const { return impl_ ? impl_->className : std::string(); }

void Wnd::SetWindowText(std::string_view text) {
  const std::string copy(text);
  SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

std::string Wnd::GetWindowText() const {
  Wnd* self = const_cast<Wnd*>(this);
  const LRESULT length = self->SendMessage(WM_GETTEXTLENGTH);
  if (length <= 0) return {};
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got = self->SendMessage(WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(static_cast<std::size_t>(std::max<LRESULT>(0, got)));
  return buffer;
}

int Wnd::GetWindowTextLength() const { return static_cast<int>(const_cast<Wnd*>(this)->SendMessage(WM_GETTEXTLENGTH)); }

void Wnd::SetFont(const gdi::Font& font, bool redraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(&font), redraw ? 1 : 0);
}

gdi::Font Wnd::GetFont() const {
  const LRESULT r = const_cast<Wnd*>(this)->SendMessage(WM_GETFONT);
  return r ? *reinterpret_cast<const gdi::Font*>(r) : gdi::Font();
}

// --- Geometry ----------------------------------------------------------------------------------------------------

void Wnd::GetWindowRect(Rect* rect) const {
  if (!rect || !impl_) return;
  if (impl_->IsTopLevel()) {
    *rect = impl_->rect;
    return;
  }
  AppState& st = AppState::Get();
  Point origin{0, 0};
  if (WndImpl* p = st.Lookup(impl_->parent)) origin = ClientOriginOnScreen(p);
  *rect = impl_->rect;
  rect->OffsetRect(origin.x, origin.y);
}

void Wnd::GetClientRect(Rect* rect) const {
  if (rect) *rect = impl_ ? impl_->ClientRect() : Rect();
}

void Wnd::ClientToScreen(Point* point) const {
  if (!point || !impl_) return;
  const Point o = ClientOriginOnScreen(impl_.get());
  point->x += o.x;
  point->y += o.y;
}

void Wnd::ClientToScreen(Rect* rect) const {
  if (!rect || !impl_) return;
  const Point o = ClientOriginOnScreen(impl_.get());
  rect->OffsetRect(o.x, o.y);
}

void Wnd::ScreenToClient(Point* point) const {
  if (!point || !impl_) return;
  const Point o = ClientOriginOnScreen(impl_.get());
  point->x -= o.x;
  point->y -= o.y;
}

void Wnd::ScreenToClient(Rect* rect) const {
  if (!rect || !impl_) return;
  const Point o = ClientOriginOnScreen(impl_.get());
  rect->OffsetRect(-o.x, -o.y);
}

void Wnd::MapWindowPoints(const Wnd* to, Point* points, int count) const {
  if (!points || !impl_) return;
  const Point from = ClientOriginOnScreen(impl_.get());
  const Point dest = to && to->impl_ ? ClientOriginOnScreen(to->impl_.get()) : Point{0, 0};
  for (int i = 0; i < count; ++i) {
    points[i].x += from.x - dest.x;
    points[i].y += from.y - dest.y;
  }
}

void Wnd::MapWindowPoints(const Wnd* to, Rect* rect) const {
  if (!rect) return;
  Point p[2] = {rect->TopLeft(), rect->BottomRight()};
  MapWindowPoints(to, p, 2);
  *rect = Rect(p[0].x, p[0].y, p[1].x, p[1].y);
}

bool Wnd::MoveWindow(int x, int y, int width, int height, bool repaint) {
  return SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool Wnd::SetWindowPos(const Wnd* insertAfter, int x, int y, int width, int height, UINT flags) {
  AppState& st = AppState::Get();
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd) return false;
  const HWND h = impl->hwnd;
  WINDOWPOS pos;
  pos.hwnd = h;
  // Coordinates stay in the range the platform's windows have, so sums never overflow.
  pos.x = (flags & SWP_NOMOVE) ? impl->rect.left : std::clamp(x, -32768, 32767);
  pos.y = (flags & SWP_NOMOVE) ? impl->rect.top : std::clamp(y, -32768, 32767);
  pos.cx = (flags & SWP_NOSIZE) ? impl->rect.Width() : std::clamp(width, 0, 32767);
  pos.cy = (flags & SWP_NOSIZE) ? impl->rect.Height() : std::clamp(height, 0, 32767);
  pos.flags = flags;
  st.Dispatch(impl, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  impl = st.Lookup(h);
  if (!impl) return false;
  if (!(pos.flags & SWP_NOSIZE)) impl->core->AdjustSize(&pos.cx, &pos.cy);
  const Rect oldRect = impl->rect;
  const Rect oldClient = impl->ClientRect();
  pos.x = std::clamp(pos.x, -32768, 32767);
  pos.y = std::clamp(pos.y, -32768, 32767);
  pos.cx = std::clamp(pos.cx, 0, 32767);
  pos.cy = std::clamp(pos.cy, 0, 32767);
  const Rect newRect(pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy);
  const bool moved = newRect.TopLeft() != oldRect.TopLeft();
  const bool sized = newRect.GetSize() != oldRect.GetSize();
  impl->rect = newRect;
  if (sized || moved || (pos.flags & SWP_FRAMECHANGED)) WndAccess::RecalcNonClient(impl);
  impl = st.Lookup(h);
  if (!impl) return false;
  if (!(pos.flags & SWP_NOZORDER) && insertAfter) {
    if (WndImpl* parent = st.Lookup(impl->parent)) {
      auto& list = parent->children;
      list.erase(std::remove(list.begin(), list.end(), h), list.end());
      if (insertAfter == &wndTop) {
        list.insert(list.begin(), h);
        if (impl->widget) impl->widget->raise();
      } else if (insertAfter == &wndBottom) {
        list.push_back(h);
        if (impl->widget) impl->widget->lower();
      } else {
        auto it = std::find(list.begin(), list.end(), insertAfter->m_hWnd);
        list.insert(it == list.end() ? list.end() : std::next(it), h);
        if (impl->widget && insertAfter->impl_ && insertAfter->impl_->widget)
          impl->widget->stackUnder(insertAfter->impl_->widget.data());
      }
    } else if (insertAfter == &wndTop && impl->widget && !st.headless) {
      impl->widget->raise();
      if (!(impl->exStyle & WS_EX_TOPMOST)) RaiseTopmostWindows(h);
    }
  }
  const Rect newClient = impl->ClientRect();
  // The client can grow with the window unchanged too (a frame change that takes a scroll bar
  // away): the uncovered part is painted as well.
  const bool clientSized = newClient.GetSize() != oldClient.GetSize();
  if ((sized || clientSized) && impl->core->OwnDrawn() && !(pos.flags & SWP_NOREDRAW)) {
    if (impl->cls.style & (CS_HREDRAW | CS_VREDRAW)) {
      InvalidateRect(nullptr, true);
    } else {
      gdi::Region grown = gdi::Region::FromRect(newClient);
      grown.CombineRgn(grown, gdi::Region::FromRect(oldClient), gdi::RGN_DIFF);
      if (!grown.IsEmpty()) InvalidateRgn(&grown, true);
    }
    impl->ncDirty = true;
  }
  if (pos.flags & SWP_FRAMECHANGED) impl->ncDirty = true;
  if (pos.flags & SWP_SHOWWINDOW) ShowWindow(SW_SHOWNA);
  if (pos.flags & SWP_HIDEWINDOW) ShowWindow(SW_HIDE);
  impl = st.Lookup(h);
  if (!impl) return false;
  if (!moved) pos.flags |= SWP_NOMOVE;
  if (!sized) pos.flags |= SWP_NOSIZE;
  st.Dispatch(impl, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  return true;
}

Wnd* Wnd::ChildWindowFromPoint(Point p) const {
  if (!impl_) return nullptr;
  AppState& st = AppState::Get();
  for (HWND c : impl_->children)
    if (WndImpl* ci = st.Lookup(c))
      if ((ci->style & WS_VISIBLE) && ci->rect.PtInRect(p)) return ci->object;
  return Rect(impl_->ClientRect()).PtInRect(p) ? const_cast<Wnd*>(this) : nullptr;
}

Wnd* Wnd::WindowFromPoint(Point screen) {
  AppState& st = AppState::Get();
  Wnd* found = nullptr;
  for (HWND h : st.AllWindows()) {
    WndImpl* impl = st.Lookup(h);
    if (!impl || !impl->IsTopLevel() || !impl->object->IsWindowVisible() || !impl->rect.PtInRect(screen)) continue;
    found = impl->object;
  }
  // The deepest visible child under the point.
  while (found) {
    Point p = screen;
    found->ScreenToClient(&p);
    Wnd* child = nullptr;
    for (Wnd* c : found->GetChildren())
      if (c->IsWindowVisible() && c->impl_->rect.PtInRect(p)) {
        child = c;
        break;
      }
    if (!child) break;
    found = child;
  }
  return found;
}

void WndImpl::ApplyGeometry() {
  if (!widget) return;
  AppState& st = AppState::Get();
  settingGeometry = true;
  if (IsTopLevel()) {
    widget->setGeometry(rect.left, rect.top, std::max(1, rect.Width()), std::max(1, rect.Height()));
  } else {
    Point origin{0, 0};
    if (WndImpl* p = st.Lookup(parent)) origin = {p->insets.left, p->insets.top};
    widget->setGeometry(origin.x + rect.left, origin.y + rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
  }
  settingGeometry = false;
  // Children keep their place in the parent's client area when the insets change.
  for (HWND c : children)
    if (WndImpl* ci = st.Lookup(c)) ci->ApplyGeometry();
}

void WndAccess::RecalcNonClient(WndImpl* impl) {
  AppState& st = AppState::Get();
  const HWND h = impl->hwnd;
  NCCALCSIZE_PARAMS params;
  params.rgrc[0] = impl->rect;
  st.Dispatch(impl, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&params));
  impl = st.Lookup(h);
  if (!impl) return;
  const Rect& c = params.rgrc[0];
  impl->insets = Rect(std::max(0, c.left - impl->rect.left), std::max(0, c.top - impl->rect.top),
                      std::max(0, impl->rect.right - c.right), std::max(0, impl->rect.bottom - c.bottom));
  impl->ApplyGeometry();
  impl->UpdateSurfaces();
}

void WndAccess::ToolkitMovedTopLevel(WndImpl* impl) {
  if (!impl->widget) return;
  const QRect g = impl->widget->geometry();
  const Rect now(g.x(), g.y(), g.x() + g.width(), g.y() + g.height());
  if (now == impl->rect) return;
  const Wnd* none = nullptr;
  impl->object->SetWindowPos(none, now.left, now.top, now.Width(), now.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// A hidden top-level window gives the activation on, as the platform does: to its owner when
// it was the active one, and the window system's focus back to whichever window is active now
// (it would fall to the screen's root and leave every key unheard).
void ActivateAfterHiding(AppState& st, HWND hidden) {
  WndImpl* impl = st.Lookup(hidden);
  if (!impl) return;
  if (st.active == hidden) {
    WndImpl* owner = st.Lookup(impl->owner);
    const bool usable = owner && owner->object->IsWindowVisible() && owner->object->IsWindowEnabled();
    st.SetActive(usable ? owner->hwnd : kNoWnd);
    return;
  }
  if (WndImpl* active = st.Lookup(st.active); active && active->widget && !st.headless) active->widget->activateWindow();
}

}  // namespace

// --- State --------------------------------------------------------------------------------------------------

bool Wnd::ShowWindow(int command) {
  AppState& st = AppState::Get();
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd) return false;
  const HWND h = impl->hwnd;
  const bool wasVisible = (impl->style & WS_VISIBLE) != 0;
  const bool show = command != SW_HIDE;
  if (!impl->minimized && !impl->maximized) impl->normalRect = impl->rect;
  if (command == SW_MAXIMIZE || command == SW_SHOWMAXIMIZED) {
    impl->maximized = true;
    impl->minimized = false;
  } else if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE) {
    impl->minimized = true;
  } else if (command == SW_RESTORE || command == SW_SHOWNORMAL) {
    impl->minimized = false;
    impl->maximized = false;
  }
  if (show != wasVisible) {
    st.Dispatch(impl, WM_SHOWWINDOW, show ? 1 : 0, 0);
    impl = st.Lookup(h);
    if (!impl) return wasVisible;
    if (show) impl->style |= WS_VISIBLE;
    else impl->style &= ~WS_VISIBLE;
    if (impl->widget) {
      ++st.syntheticDepth;
      if (show && impl->IsTopLevel()) {
        if (impl->maximized && !st.headless) impl->widget->showMaximized();
        else if (impl->minimized && !st.headless) impl->widget->showMinimized();
        else impl->widget->show();
        // Without a window manager nothing keeps a topmost window above one shown later.
        if (!(impl->exStyle & WS_EX_TOPMOST)) RaiseTopmostWindows(h);
      } else {
        impl->widget->setVisible(show);
      }
      --st.syntheticDepth;
    }
    if (show) {
      impl->update = gdi::Region::FromRect(impl->ClientRect());
      impl->eraseNeeded = true;
      impl->ncDirty = true;
      for (HWND c : impl->children)
        if (WndImpl* ci = st.Lookup(c)) ci->object->Invalidate();
    } else {
      for (WndImpl* f = st.Lookup(st.focus); f; f = f->IsTopLevel() ? nullptr : st.Lookup(f->parent))
        if (f->hwnd == h) {
          st.SetFocus(impl->IsTopLevel() ? kNoWnd : impl->parent);
          break;
        }
      if (impl->IsTopLevel()) ActivateAfterHiding(st, h);
    }
  }
  impl = st.Lookup(h);
  if (impl && show && impl->IsTopLevel() && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
      command != SW_SHOWMINNOACTIVE)
    st.SetActive(h);
  return wasVisible;
}

bool Wnd::IsWindowVisible() const {
  AppState& st = AppState::Get();
  for (const WndImpl* w = impl_.get(); w && w->hwnd != kNoWnd; w = w->IsTopLevel() ? nullptr : st.Lookup(w->parent)) {
    if (!(w->style & WS_VISIBLE)) return false;
    if (w->IsTopLevel()) return true;
  }
  return false;
}

bool Wnd::IsWindowEnabled() const { return impl_ && !(impl_->style & WS_DISABLED); }

bool Wnd::EnableWindow(bool enable) {
  AppState& st = AppState::Get();
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd) return false;
  const bool wasDisabled = (impl->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  const HWND h = impl->hwnd;
  if (enable) impl->style &= ~WS_DISABLED;
  else impl->style |= WS_DISABLED;
  if (impl->widget) impl->widget->setEnabled(enable);
  impl->core->EnabledChanged();
  if (!enable) {
    for (WndImpl* f = st.Lookup(st.focus); f; f = f->IsTopLevel() ? nullptr : st.Lookup(f->parent))
      if (f->hwnd == h) {
        st.SetFocus(kNoWnd);
        break;
      }
    if (st.capture == h) st.ReleaseCapture();
  }
  if (WndImpl* again = st.Lookup(h)) st.Dispatch(again, WM_ENABLE, enable ? 1 : 0, 0);
  if (WndImpl* again = st.Lookup(h); again && again->core->OwnDrawn()) Invalidate();
  return wasDisabled;
}

bool Wnd::IsIconic() const { return impl_ && impl_->minimized; }
bool Wnd::IsZoomed() const { return impl_ && impl_->maximized; }

bool Wnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
  if (!placement || !impl_ || impl_->hwnd == kNoWnd) return false;
  *placement = WINDOWPLACEMENT();
  placement->showCmd = IsIconic() ? SW_SHOWMINIMIZED : IsZoomed() ? SW_SHOWMAXIMIZED
                       : (impl_->style & WS_VISIBLE) ? SW_SHOWNORMAL : SW_HIDE;
  placement->ptMinPosition = {-1, -1};
  placement->ptMaxPosition = {-1, -1};
  placement->rcNormalPosition = (impl_->minimized || impl_->maximized) && !impl_->normalRect.IsRectEmpty() ? impl_->normalRect
                                                                                                       : impl_->rect;
  return true;
}

bool Wnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) {
  if (!placement || placement->length != sizeof(WINDOWPLACEMENT) || !impl_ || impl_->hwnd == kNoWnd) return false;
  const Rect& r = placement->rcNormalPosition;
  MoveWindow(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
  if (placement->showCmd <= static_cast<UINT>(SW_SHOWDEFAULT)) ShowWindow(static_cast<int>(placement->showCmd));
  return true;
}

// --- Focus, capture, activation ------------------------------------------------------------------------------

Wnd* Wnd::SetFocus() {
  AppState& st = AppState::Get();
  if (!impl_ || impl_->hwnd == kNoWnd) return nullptr;
  return FromHandle(st.SetFocus(impl_->hwnd));
}

Wnd* Wnd::GetFocus() {
  AppState* st = AppState::Existing();
  return st ? FromHandle(st->focus) : nullptr;
}

Wnd* Wnd::SetCapture() {
  AppState& st = AppState::Get();
  Wnd* old = FromHandle(st.capture);
  if (impl_ && impl_->hwnd != kNoWnd) st.SetCapture(impl_->hwnd);
  return old;
}

Wnd* Wnd::GetCapture() {
  AppState* st = AppState::Existing();
  return st ? FromHandle(st->capture) : nullptr;
}

bool Wnd::ReleaseCapture() {
  AppState* st = AppState::Existing();
  if (st) st->ReleaseCapture();
  return true;
}

Wnd* Wnd::SetActiveWindow() {
  AppState& st = AppState::Get();
  Wnd* old = FromHandle(st.active);
  if (Wnd* top = GetTopLevelParent()) st.SetActive(top->m_hWnd);
  return old;
}

Wnd* Wnd::GetActiveWindow() {
  AppState* st = AppState::Existing();
  return st ? FromHandle(st->active) : nullptr;
}

bool Wnd::GetKeyboardFocusable() const {
  return impl_ && impl_->widget && impl_->widget->focusPolicy() != Qt::NoFocus;
}

// --- Timers ---------------------------------------------------------------------------------------------------

UINT_PTR Wnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (!impl_ || impl_->hwnd == kNoWnd) return 0;
  return AppState::Get().SetTimer(impl_->hwnd, id, elapse, proc);
}

bool Wnd::KillTimer(UINT_PTR id) {
  if (!impl_ || impl_->hwnd == kNoWnd) return false;
  return AppState::Get().KillTimer(impl_->hwnd, id);
}

// --- Menus ---------------------------------------------------------------------------------------------------

Menu* Wnd::GetMenu() const { return impl_ ? impl_->menu : nullptr; }

bool Wnd::SetMenu(Menu* menu) {
  if (!impl_ || impl_->hwnd == kNoWnd) return false;
  impl_->menu = menu;
  DrawMenuBar();
  return true;
}

HWND Wnd::MenuPopupOwner(const Menu*) const { return m_hWnd; }

Menu* Wnd::GetSystemMenu(bool revert) {
  if (!impl_ || impl_->hwnd == kNoWnd) return nullptr;
  if (revert) {
    impl_->systemMenu.reset();
    return nullptr;
  }
  if (!impl_->systemMenu) {
    auto menu = std::make_unique<Menu>();
    menu->CreatePopupMenu();
    menu->AppendMenu(MF_STRING, SC_RESTORE, "&Restore");
    menu->AppendMenu(MF_STRING, SC_MOVE, "&Move");
    menu->AppendMenu(MF_STRING, SC_SIZE, "&Size");
    menu->AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
    menu->AppendMenu(MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    impl_->systemMenu = std::move(menu);
  }
  return impl_->systemMenu.get();
}

void Wnd::DrawMenuBar() {
  WndImpl* impl = impl_.get();
  if (!impl || !impl->widget || !impl->IsTopLevel()) return;
  if (impl->menu) {
    if (!impl->menuBar) {
      impl->menuBar = new QMenuBar(impl->widget.data());
      impl->menuBar->setNativeMenuBar(false);
      impl->menuBar->show();
    }
    BuildMenuBar(impl->menuBar, impl->menu, *this);
  } else if (impl->menuBar) {
    delete impl->menuBar;
    impl->menuBar = nullptr;
  }
  const Wnd* none = nullptr;
  SetWindowPos(none, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

// --- Dialog item helpers --------------------------------------------------------------------------------------

void Wnd::SetDlgItemText(UINT id, std::string_view text) {
  if (Wnd* item = GetDlgItem(id)) item->SetWindowText(text);
}

std::string Wnd::GetDlgItemText(UINT id) const {
  Wnd* item = GetDlgItem(id);
  return item ? item->GetWindowText() : std::string();
}

void Wnd::SetDlgItemInt(UINT id, UINT value, bool isSigned) {
  SetDlgItemText(id, isSigned ? plat::formatInt(static_cast<std::int32_t>(value)) : plat::formatUInt(value));
}

UINT Wnd::GetDlgItemInt(UINT id, bool* translated, bool isSigned) const {
  if (translated) *translated = false;
  Wnd* item = GetDlgItem(id);
  if (!item) return 0;
  const std::string text(plat::trim(std::string_view(item->GetWindowText())));
  std::int64_t v = 0;
  if (!plat::parseInt(text, &v)) return 0;
  if (isSigned ? (v < INT32_MIN || v > INT32_MAX) : (v < 0 || v > UINT32_MAX)) return 0;
  if (translated) *translated = true;
  return static_cast<UINT>(v);
}

void Wnd::CheckDlgButton(UINT id, UINT check) {
  if (Wnd* item = GetDlgItem(id)) item->SendMessage(BM_SETCHECK, check);
}

UINT Wnd::IsDlgButtonChecked(UINT id) const {
  Wnd* item = GetDlgItem(id);
  return item ? static_cast<UINT>(item->SendMessage(BM_GETCHECK)) : 0;
}

void Wnd::CheckRadioButton(UINT firstId, UINT lastId, UINT checkId) {
  for (Wnd* child : GetChildren()) {
    const UINT id = child->GetDlgCtrlID();
    if (id >= firstId && id <= lastId) child->SendMessage(BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED);
  }
}

int Wnd::GetCheckedRadioButton(UINT firstId, UINT lastId) const {
  for (Wnd* child : GetChildren()) {
    const UINT id = child->GetDlgCtrlID();
    if (id >= firstId && id <= lastId && child->SendMessage(BM_GETCHECK) == BST_CHECKED) return static_cast<int>(id);
  }
  return 0;
}

LRESULT Wnd::SendDlgItemMessage(UINT id, UINT message, WPARAM wParam, LPARAM lParam) {
  Wnd* item = GetDlgItem(id);
  return item ? item->SendMessage(message, wParam, lParam) : 0;
}

namespace {

// The control's own style decides, not its parent's: a dialog gives its first control the focus
// while it is still hidden.
bool IsTabStop(Wnd* w) { return (w->GetStyle() & (WS_VISIBLE | WS_DISABLED | WS_TABSTOP)) == (WS_VISIBLE | WS_TABSTOP); }

}  // namespace

Wnd* Wnd::GetNextDlgTabItem(Wnd* ctl, bool previous) const {
  std::vector<Wnd*> items = GetChildren();
  if (items.empty()) return nullptr;
  if (previous) std::reverse(items.begin(), items.end());
  auto it = ctl ? std::find(items.begin(), items.end(), ctl) : items.end();
  const std::size_t start = it == items.end() ? items.size() - 1 : static_cast<std::size_t>(it - items.begin());
  for (std::size_t k = 1; k <= items.size(); ++k) {
    Wnd* w = items[(start + k) % items.size()];
    if (IsTabStop(w)) return w;
  }
  return nullptr;
}

Wnd* Wnd::GetNextDlgGroupItem(Wnd* ctl, bool previous) const {
  std::vector<Wnd*> items = GetChildren();
  auto it = std::find(items.begin(), items.end(), ctl);
  if (it == items.end()) return nullptr;
  // The group: from the last WS_GROUP item at or before ctl up to the next WS_GROUP item.
  std::size_t first = static_cast<std::size_t>(it - items.begin());
  while (first > 0 && !(items[first]->GetStyle() & WS_GROUP)) --first;
  std::size_t last = static_cast<std::size_t>(it - items.begin()) + 1;
  while (last < items.size() && !(items[last]->GetStyle() & WS_GROUP)) ++last;
  const std::size_t n = last - first;
  const std::size_t at = static_cast<std::size_t>(it - items.begin()) - first;
  for (std::size_t k = 1; k <= n; ++k) {
    Wnd* w = items[first + (previous ? (at + n - k) % n : (at + k) % n)];
    if (w->IsWindowVisible() && w->IsWindowEnabled()) return w;
  }
  return nullptr;
}

}  // namespace ui

namespace ui {

std::intptr_t Wnd::OnToolHitTest(Point point, TOOLINFO* ti) const {
  // A child window under the point is a tool of its own; its text is asked for (TTN_NEEDTEXT
  // with the child's handle as the tool id).
  Wnd* child = ChildWindowFromPoint(point);
  if (!child || child == this || !ti) return -1;
  ti->hwnd = m_hWnd;
  ti->uId = static_cast<UINT_PTR>(static_cast<std::uint32_t>(child->m_hWnd));
  ti->uFlags = TTF_IDISHWND;
  ti->callback = true;
  return static_cast<std::intptr_t>(child->GetDlgCtrlID());
}

bool Wnd::EnableToolTips(bool enable) {
  if (!impl_) return false;
  const bool old = impl_->toolTips;
  impl_->toolTips = enable;
  return old;
}

}  // namespace ui
