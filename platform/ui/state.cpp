// The application state: the toolkit application, handles, the posted-message queue, the loop,
// hooks, timers, focus, capture and activation.
#include "platform/ui/internal/state.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimerEvent>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ui/app.h"

namespace ui {

namespace {

int g_argc = 1;
char g_arg0[] = "kedrus";
char* g_argvDefault[] = {g_arg0, nullptr};
char** g_argv = g_argvDefault;

AppState* g_state = nullptr;

// Posted messages wake the loop through one toolkit event.
class Waker : public QObject {
 public:
  explicit Waker(AppState* state) : state_(state) {}
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) {
      state_->DeliverPosted();
      return true;
    }
    return QObject::event(e);
  }

 private:
  AppState* state_;
};

class TimerHost : public QObject {
 public:
  explicit TimerHost(AppState* state) : state_(state) {}

 protected:
  void timerEvent(QTimerEvent* e) override { state_->TimerFired(e->timerId()); }

 private:
  AppState* state_;
};

bool IsInputMessage(UINT m) {
  return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST);
}

}  // namespace

// Shifted digits and punctuation make their symbols, as a real key does, so that a key posted
// again (the console bar's) types the same.
char CharOfKey(UINT vk, bool shift, bool control) {
  if (vk >= 'A' && vk <= 'Z') return control ? static_cast<char>(vk - 'A' + 1) : static_cast<char>(shift ? vk : vk + ('a' - 'A'));
  if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : static_cast<char>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return static_cast<char>('0' + (vk - VK_NUMPAD0));
  struct Row {
    UINT vk;
    char plain, shifted;
  };
  static constexpr Row kRows[] = {
      {VK_SPACE, ' ', ' '},      {VK_RETURN, '\r', '\r'},   {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'},
      {VK_OEM_COMMA, ',', '<'},  {VK_OEM_MINUS, '-', '_'},  {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
      {VK_OEM_3, '`', '~'},      {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},
      {VK_OEM_7, '\'', '"'},    {VK_MULTIPLY, '*', '*'},   {VK_ADD, '+', '+'},        {VK_SUBTRACT, '-', '-'},
      {VK_DECIMAL, '.', '.'},    {VK_DIVIDE, '/', '/'},
  };
  for (const Row& row : kRows)
    if (row.vk == vk) return shift ? row.shifted : row.plain;
  return 0;
}

void AppState::SetCommandLine(int argc, char** argv) {
  if (argc > 0 && argv) {
    g_argc = argc;
    g_argv = argv;
  }
}

AppState* AppState::Existing() { return g_state; }

AppState& AppState::Get() {
  if (!g_state) g_state = new AppState();
  return *g_state;
}

AppState::AppState() : uiThread(std::this_thread::get_id()) {
  QCoreApplication* existing = QCoreApplication::instance();
  if (existing) {
    qapp = qobject_cast<QApplication*>(existing);
    if (!qapp) {
      std::fprintf(stderr,
                   "kedrus ui: a drawing-only application object exists already; make the ui::App (or the "
                   "first window) before drawing text\n");
      std::abort();
    }
  } else {
    qapp = new QApplication(g_argc, g_argv);
  }
  const QString platform = QGuiApplication::platformName();
  headless = platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
  // Screen metrics come from the display (the headless platforms keep the fixed screen).
  if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !headless) {
    const QRect whole = screen->geometry(), available = screen->availableGeometry();
    gdi::SetDisplaySize(whole.width(), whole.height());
    workArea = Rect(available.left(), available.top(), available.left() + available.width(),
                    available.top() + available.height());
  }
  waker_ = new Waker(this);
  timerHost_ = new TimerHost(this);
}

// --- Handles ---------------------------------------------------------------------------------------

HWND AppState::Register(WndImpl* impl) {
  std::lock_guard lock(handleMutex_);
  const std::uint32_t value = nextHandle_++;
  if (nextHandle_ == 0) nextHandle_ = 0x100;  // after four billion windows
  handles_[value] = impl;
  return HWND(value);
}

void AppState::Unregister(HWND hwnd) {
  std::lock_guard lock(handleMutex_);
  handles_.erase(static_cast<std::uint32_t>(hwnd));
}

WndImpl* AppState::Lookup(HWND hwnd) const {
  if (hwnd == kNoWnd) return nullptr;
  std::lock_guard lock(handleMutex_);
  auto it = handles_.find(static_cast<std::uint32_t>(hwnd));
  return it == handles_.end() ? nullptr : it->second;
}

std::vector<HWND> AppState::AllWindows() const {
  std::lock_guard lock(handleMutex_);
  std::vector<HWND> out;
  out.reserve(handles_.size());
  for (const auto& [value, impl] : handles_) out.push_back(HWND(value));
  return out;
}

// --- Posting -----------------------------------------------------------------------------------------

void AppState::Post(const MSG& msg) {
  Queued queued{msg};
  // Key messages are posted on the user-interface thread only, where the keys' state lives.
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
    queued.keyboard = true;
    queued.keys = postedKeys_ ? *postedKeys_ : keys_;
  }
  {
    std::lock_guard lock(queueMutex_);
    queue_.push_back(queued);
  }
  if (!wakePending_.exchange(true)) QCoreApplication::postEvent(waker_, new QEvent(QEvent::User));
}

bool AppState::HasPosted() const {
  std::lock_guard lock(queueMutex_);
  return !queue_.empty();
}

bool AppState::Peek(MSG* out, HWND hwnd, UINT first, UINT last, bool remove) {
  std::lock_guard lock(queueMutex_);
  for (auto it = queue_.begin(); it != queue_.end(); ++it) {
    if (hwnd != kNoWnd && it->msg.hwnd != hwnd) continue;
    if ((first || last) && (it->msg.message < first || it->msg.message > last)) continue;
    if (out) *out = it->msg;
    if (remove) queue_.erase(it);
    return true;
  }
  return false;
}

int AppState::DeliverPosted() {
  wakePending_ = false;
  std::size_t count;
  {
    std::lock_guard lock(queueMutex_);
    count = queue_.size();
  }
  int delivered = 0;
  // Only what was queued when delivery began: messages posted by handlers wait for the next pass.
  for (; count > 0 && !quit; --count) {
    Queued queued;
    {
      std::lock_guard lock(queueMutex_);
      if (queue_.empty()) break;
      queued = queue_.front();
      queue_.pop_front();
    }
    DeliverOne(queued.msg, queued.keyboard ? &queued.keys : nullptr);
    ++delivered;
  }
  if (delivered) idleNeeded = true;
  return delivered;
}

void AppState::DeliverOne(const MSG& posted, const KeyStates* keys) {
  const KeyStates* outer = postedKeys_;
  if (keys) postedKeys_ = keys;
  struct Restore {
    AppState& st;
    const KeyStates* outer;
    const KeyStates* mine;
    // A real key event during the delivery made the real state current: it stays so.
    ~Restore() {
      if (st.postedKeys_ == mine) st.postedKeys_ = outer;
    }
  } restore{*this, outer, postedKeys_};
  MSG msg = posted;
  msg.pt = cursorPos;
  if (msg.hwnd == kNoWnd) {
    if (msg.message == WM_QUIT) {
      quit = true;
      exitCode = static_cast<int>(msg.wParam);
      return;
    }
    if (PreTranslate(msg)) return;
    if (app) app->OnThreadMessage(msg);
    return;
  }
  WndImpl* impl = Lookup(msg.hwnd);
  if (!impl) return;  // the window is gone: the message is dropped
  if (PreTranslate(msg)) return;
  impl = Lookup(msg.hwnd);
  if (!impl) return;
  Dispatch(impl, msg.message, msg.wParam, msg.lParam);
  // Keys posted to a window make their characters, as the platform's translation does.
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    const bool shift = KeyState(VK_SHIFT) < 0;
    // Control with a letter makes its control character (which edits ignore).
    const bool control = KeyState(VK_CONTROL) < 0 && KeyState(VK_MENU) >= 0;
    const char ch = CharOfKey(static_cast<UINT>(msg.wParam), shift, control);
    if (ch) {
      MSG charMsg = msg;
      charMsg.message = msg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
      charMsg.wParam = static_cast<unsigned char>(ch);
      Post(charMsg);
    }
  }
}

bool AppState::PreTranslate(MSG& msg) {
  const bool input = IsInputMessage(msg.message);
  if (!input && msg.hwnd != kNoWnd) return false;
  if (app) return app->PreTranslateMessage(&msg);
  for (WndImpl* w = Lookup(msg.hwnd); w; w = w->IsTopLevel() ? nullptr : Lookup(w->parent)) {
    const HWND h = w->hwnd;
    if (w->object->PreTranslateMessage(&msg)) return true;
    w = Lookup(h);
    if (!w) return true;
  }
  return false;
}

// --- Dispatching ---------------------------------------------------------------------------------------

namespace {
LRESULT ObjectWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Wnd* wnd = Wnd::FromHandle(hwnd);
  return wnd ? wnd->WindowProc(message, wParam, lParam) : 0;
}
}  // namespace

WNDPROC ObjectProcedure() { return &ObjectWndProc; }

LRESULT AppState::Dispatch(WndImpl* impl, UINT message, WPARAM wParam, LPARAM lParam,
                           std::function<bool()> toolkitDefault) {
  if (!impl || !impl->object) return 0;
  CurrentMessage cm;
  cm.msg.hwnd = impl->hwnd;
  cm.msg.message = message;
  cm.msg.wParam = wParam;
  cm.msg.lParam = lParam;
  cm.msg.pt = cursorPos;
  cm.toolkitDefault = std::move(toolkitDefault);
  current.push_back(&cm);
  struct Pop {
    std::vector<CurrentMessage*>& stack;
    ~Pop() { stack.pop_back(); }
  } pop{current};
  if (impl->proc) return impl->proc(impl->hwnd, message, wParam, lParam);
  return impl->object->WindowProc(message, wParam, lParam);
}

bool AppState::DispatchInput(WndImpl* impl, MSG& msg, std::function<bool()> toolkitDefault) {
  idleNeeded = true;
  const HWND h = impl->hwnd;
  if (PreTranslate(msg)) return true;
  impl = Lookup(h);
  if (!impl) return true;
  Dispatch(impl, msg.message, msg.wParam, msg.lParam, std::move(toolkitDefault));
  return true;
}

// --- The loop --------------------------------------------------------------------------------------------

bool AppState::PumpOnce(bool wait, bool input) {
  auto* dispatcher = QThread::currentThread()->eventDispatcher();
  const QEventLoop::ProcessEventsFlags flags = input ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
  bool busy = dispatcher->processEvents(flags);
  if (current.empty()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  if (quit) return true;
  if (DeliverPosted() > 0 || quit) return true;
  if (PaintPending() > 0) return true;
  if (idleNeeded) {
    idleNeeded = false;
    for (long count = 0;; ++count) {
      const bool more = app ? app->OnIdle(count) : false;
      if (!more || HasPosted()) break;
    }
    return true;
  }
  if (wait) busy = dispatcher->processEvents(flags | QEventLoop::WaitForMoreEvents) || busy;
  return busy;
}

void AppState::RunLoop(const std::function<bool()>& stop, bool input) {
  while (!quit && !(stop && stop())) PumpOnce(true, input);
}

int AppState::PaintPending() {
  int painted = 0;
  for (HWND h : AllWindows()) {
    WndImpl* impl = Lookup(h);
    if (!impl || !impl->core || !impl->core->OwnDrawn() || impl->redrawOff) continue;
    if (!impl->ncDirty && impl->update.IsEmpty()) continue;
    if (!impl->object->IsWindowVisible()) continue;
    if (impl->ncDirty) {
      impl->ncDirty = false;
      Dispatch(impl, WM_NCPAINT, 1, 0);
      impl = Lookup(h);
      if (!impl) continue;
    }
    if (!impl->update.IsEmpty()) {
      Dispatch(impl, WM_PAINT, 0, 0);
      impl = Lookup(h);
      // A handler that painted without validating would be asked for ever.
      if (impl) {
        impl->update = gdi::Region();
        impl->eraseNeeded = false;
      }
    }
    ++painted;
  }
  return painted;
}

// --- Hooks ------------------------------------------------------------------------------------------------

std::uintptr_t AppState::AddHook(int kind, HOOKPROC proc) {
  if (!proc || (kind != WH_KEYBOARD && kind != WH_MOUSE)) return 0;
  HookRecord rec;
  rec.kind = kind;
  rec.proc = proc;
  rec.id = nextHookId_++;
  hooks_.insert(hooks_.begin(), rec);
  return rec.id;
}

bool AppState::RemoveHook(std::uintptr_t id) {
  for (auto it = hooks_.begin(); it != hooks_.end(); ++it)
    if (it->id == id) {
      hooks_.erase(it);
      return true;
    }
  return false;
}

LRESULT AppState::CallNextHook(std::uintptr_t id, int code, WPARAM wParam, LPARAM lParam) {
  auto it = hooks_.begin();
  for (; it != hooks_.end() && it->id != id; ++it) {
  }
  if (it == hooks_.end()) return 0;
  const int kind = it->kind;
  for (++it; it != hooks_.end(); ++it)
    if (it->kind == kind) return it->proc(code, wParam, lParam);
  return 0;
}

bool AppState::RunHooks(int kind, WPARAM wParam, LPARAM lParam) {
  for (const HookRecord& rec : hooks_)
    if (rec.kind == kind) return rec.proc(HC_ACTION, wParam, lParam) != 0;
  return false;
}

// --- Timers -----------------------------------------------------------------------------------------------

UINT_PTR AppState::SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  KillTimer(hwnd, id);
  TimerRecord rec;
  rec.hwnd = hwnd;
  rec.id = id;
  rec.proc = proc;
  rec.qtTimer = timerHost_->startTimer(static_cast<int>(std::max<UINT>(elapse, 1)), Qt::PreciseTimer);
  if (rec.qtTimer == 0) return 0;
  timers_[rec.qtTimer] = rec;
  return id == 0 ? static_cast<UINT_PTR>(rec.qtTimer) : id;
}

bool AppState::KillTimer(HWND hwnd, UINT_PTR id) {
  for (auto it = timers_.begin(); it != timers_.end(); ++it)
    if (it->second.hwnd == hwnd && it->second.id == id) {
      timerHost_->killTimer(it->first);
      timers_.erase(it);
      return true;
    }
  return false;
}

void AppState::KillTimers(HWND hwnd) {
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->second.hwnd == hwnd) {
      timerHost_->killTimer(it->first);
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
}

void AppState::TimerFired(int qtTimer) {
  auto it = timers_.find(qtTimer);
  if (it == timers_.end()) return;
  const TimerRecord rec = it->second;
  idleNeeded = true;
  if (rec.hwnd == kNoWnd) {
    if (rec.proc) rec.proc(kNoWnd, WM_TIMER, rec.id, 0);
    return;
  }
  WndImpl* impl = Lookup(rec.hwnd);
  if (!impl) {
    KillTimers(rec.hwnd);
    return;
  }
  if (rec.proc) rec.proc(rec.hwnd, WM_TIMER, rec.id, 0);
  else Dispatch(impl, WM_TIMER, rec.id, 0);
}

// --- Focus, capture, activation -----------------------------------------------------------------------------

HWND AppState::SetFocus(HWND hwnd) {
  const HWND old = focus;
  if (old == hwnd) return old;
  focus = hwnd;
  if (WndImpl* o = Lookup(old)) Dispatch(o, WM_KILLFOCUS, static_cast<WPARAM>(static_cast<std::uint32_t>(hwnd)), 0);
  if (focus != hwnd) return old;  // a kill-focus handler moved it on
  if (WndImpl* n = Lookup(hwnd)) {
    WndImpl* top = n;
    while (!top->IsTopLevel())
      if (WndImpl* p = Lookup(top->parent)) top = p;
      else break;
    if (top->hwnd != active) SetActive(top->hwnd);
    if (focus != hwnd) return old;
    if (n->widget) {
      ++syntheticDepth;
      n->widget->setFocus(Qt::OtherFocusReason);
      --syntheticDepth;
    }
    Dispatch(n, WM_SETFOCUS, static_cast<WPARAM>(static_cast<std::uint32_t>(old)), 0);
  }
  return old;
}

void AppState::SetCapture(HWND hwnd) {
  const HWND old = capture;
  capture = hwnd;
  if (old != kNoWnd && old != hwnd)
    if (WndImpl* o = Lookup(old)) Dispatch(o, WM_CAPTURECHANGED, 0, HandleToParam(hwnd));
}

void AppState::ReleaseCapture() {
  const HWND old = capture;
  if (old == kNoWnd) return;
  capture = kNoWnd;
  if (WndImpl* o = Lookup(old)) Dispatch(o, WM_CAPTURECHANGED, 0, 0);
}

void AppState::SetActive(HWND hwnd, bool toolkit) {
  const HWND old = active;
  if (old == hwnd) return;
  active = hwnd;
  if (WndImpl* o = Lookup(old)) {
    Dispatch(o, WM_NCACTIVATE, 0, 0);
    if (WndImpl* again = Lookup(old))
      Dispatch(again, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), HandleToParam(hwnd));
  }
  if (active != hwnd) return;
  if (WndImpl* n = Lookup(hwnd)) {
    if (n->widget && !headless && toolkit) n->widget->activateWindow();
    Dispatch(n, WM_NCACTIVATE, 1, 0);
    if (WndImpl* again = Lookup(hwnd)) Dispatch(again, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), HandleToParam(old));
  }
}

// --- Keys --------------------------------------------------------------------------------------------------

void AppState::NoteKey(UINT vk, bool down) {
  if (vk >= keys_.size()) return;
  postedKeys_ = nullptr;
  if (down) {
    if (!(keys_[vk] & 0x80)) keys_[vk] ^= 0x01;  // toggles on each fresh press
    keys_[vk] |= 0x80;
  } else {
    keys_[vk] &= static_cast<std::uint8_t>(~0x80);
  }
}

short AppState::KeyState(UINT vk) const {
  if (vk >= keys_.size()) return 0;
  const std::uint8_t k = (postedKeys_ ? *postedKeys_ : keys_)[vk];
  return static_cast<short>((k & 0x80 ? 0x8000 : 0) | (k & 0x01));
}

// --- Public functions over the state ---------------------------------------------------------------------------

HHOOK SetWindowsHookEx(int kind, HOOKPROC proc) { return HHOOK(AppState::Get().AddHook(kind, proc)); }
bool UnhookWindowsHookEx(HHOOK hook) { return AppState::Get().RemoveHook(static_cast<std::uintptr_t>(hook)); }
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  return AppState::Get().CallNextHook(static_cast<std::uintptr_t>(hook), code, wParam, lParam);
}

short GetKeyState(UINT virtualKey) { return AppState::Get().KeyState(virtualKey); }

bool GetCursorPos(Point* point) {
  if (!point) return false;
  AppState& st = AppState::Get();
  // On a display the pointer is where it is, also outside our windows.
  if (!st.headless) {
    const QPoint p = QCursor::pos();
    *point = {p.x(), p.y()};
    return true;
  }
  *point = st.cursorPos;
  return true;
}

}  // namespace ui
