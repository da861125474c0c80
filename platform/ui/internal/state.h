#pragma once
// The window layer's own state (platform/ui sources only; never include it elsewhere).
//
// AppState: the toolkit application, the handle table, the posted-message queue, focus,
// capture, hooks, timers and key state, all of the one user-interface thread.
// WndImpl: what a window is (its widget, styles, geometry, surfaces, update region).
// Core: the behaviour of a window class (own-drawn, button, edit, ...), which also makes the
// window's widget.
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <array>
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"
#include "platform/ui/app.h"
#include "platform/ui/menu.h"
#include "platform/ui/wnd.h"

class QMenuBar;
class QScrollBar;

namespace ui {

class App;
struct WndImpl;

// A cursor the toolkit shows.
class Cursor {
 public:
  explicit Cursor(const QCursor& c) : cursor(c) {}
  QCursor cursor;
};

// The behaviour of a window class.
class Core {
 public:
  explicit Core(WndImpl* impl) : impl_(impl) {}
  virtual ~Core() = default;
  // Makes the window's widget as a child of parent (null for a top-level window).
  virtual QWidget* CreateWidget(QWidget* parent, const CREATESTRUCT& cs) = 0;
  // The class's own messages (BM_SETCHECK, TB_BUTTONCOUNT, ...); true when handled.
  virtual bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Own-drawn windows keep pixel surfaces and get WM_PAINT; toolkit controls paint themselves.
  virtual bool OwnDrawn() const { return false; }
  // The window text changed (push it into the widget) and reading it (from the widget).
  virtual void SetText(const std::string& text);
  virtual std::string GetText() const;
  virtual void StyleChanged(DWORD /*oldStyle*/) {}
  virtual void FontChanged();
  virtual void EnabledChanged() {}
  virtual UINT DlgCode() const { return 0; }
  // The size a window of this class takes for a requested one (a combo box is as high as its
  // selection field).
  virtual void AdjustSize(int* /*cx*/, int* /*cy*/) {}
  // Called once the window has its handle, geometry and parent (after WM_CREATE).
  virtual void Created() {}
  virtual void Destroying() {}
  // The size the widget asks for (toolkit controls laid out by dialogs); empty: no preference.
  virtual Size PreferredSize() const { return {}; }

  WndImpl* impl() const { return impl_; }
  Wnd* wnd() const;
  QWidget* widget() const;

 protected:
  WndImpl* impl_;
};

// The standard behaviour of a registered class name: makes the Core of a new window.
using CoreFactory = std::function<std::unique_ptr<Core>(WndImpl*)>;
void RegisterCoreFactory(const std::string& className, CoreFactory factory);

struct ScrollBarState {
  SCROLLINFO info;
  bool shown = false;
  QScrollBar* bar = nullptr;
};

struct WndImpl {
  Wnd* object = nullptr;
  bool layerObject = false;  // made by the layer (a dialog item); deleted with the window
  HWND hwnd = kNoWnd;
  QPointer<QWidget> widget;
  std::string className;
  WndClassInfo cls;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT id = 0;
  std::string text;
  HWND parent = kNoWnd;
  HWND owner = kNoWnd;
  std::vector<HWND> children;  // z-order, top first
  Rect rect;                   // window rectangle: parent client coordinates, screen for top-level
  Rect insets;                 // non-client widths: left, top, right, bottom
  std::unique_ptr<gdi::WindowSurface> client;
  std::unique_ptr<gdi::WindowSurface> nonClient;
  gdi::Region update;          // client coordinates
  QRegion painted;             // client pixels drawn so far; only they show when the class has no brush
  bool eraseNeeded = false;
  bool ncDirty = false;
  bool redrawOff = false;
  gdi::Font font;
  WNDPROC proc = nullptr;
  std::unique_ptr<Core> core;
  Menu* menu = nullptr;
  std::unique_ptr<Menu> systemMenu;  // made on the first GetSystemMenu
  QMenuBar* menuBar = nullptr;
  ScrollBarState scroll[2];
  bool destroying = false;
  bool toolTips = false;  // EnableToolTips
  bool toolTipActive = true;  // a tool-tip control's TTM_ACTIVATE
  bool settingGeometry = false;
  bool minimized = false;
  bool maximized = false;
  Rect normalRect;  // the rectangle to come back to from maximised or minimised
  int eventDepth = 0;  // nesting of toolkit events being handled by this window's widget
  bool modalRun = false;  // a window (no dialog) being run modally: Escape cancels it

  bool IsTopLevel() const { return !(style & WS_CHILD) || parent == kNoWnd; }
  Rect ClientRect() const {
    return Rect(0, 0, std::max(0, rect.Width() - insets.left - insets.right),
                std::max(0, rect.Height() - insets.top - insets.bottom));
  }
  // Keeps the widget's geometry and the surfaces in step with rect and insets.
  void ApplyGeometry();
  void UpdateSurfaces();
  // Client pixels drawn by the window (kept for a class without a background brush).
  void NotePainted(const Rect& clientRect);
  // Copies changed surface pixels to the screen.
  void ScheduleScreenUpdate(const Rect& clientRect);
};

// A hook of the thread (WH_KEYBOARD or WH_MOUSE).
struct HookRecord {
  int kind = 0;
  HOOKPROC proc = nullptr;
  std::uintptr_t id = 0;
};

struct TimerRecord {
  HWND hwnd = kNoWnd;
  UINT_PTR id = 0;
  TIMERPROC proc = nullptr;
  int qtTimer = 0;
};

// The message a handler is working on, with the toolkit's default handling of it (when it came
// from a toolkit event).
struct CurrentMessage {
  MSG msg;
  std::function<bool()> toolkitDefault;
  bool defaultDone = false;
};

class AppState {
 public:
  // Created with the first window or the application object (makes the QApplication).
  static AppState& Get();
  static AppState* Existing();
  static void SetCommandLine(int argc, char** argv);

  bool OnUiThread() const { return std::this_thread::get_id() == uiThread; }
  bool Headless() const { return headless; }

  // Handles.
  HWND Register(WndImpl* impl);
  void Unregister(HWND hwnd);
  WndImpl* Lookup(HWND hwnd) const;
  std::vector<HWND> AllWindows() const;  // creation order

  // Posting (any thread) and delivery (user-interface thread).
  void Post(const MSG& msg);
  // Delivers what is queued now; answers how many were delivered. Sets quit on WM_QUIT.
  int DeliverPosted();
  bool HasPosted() const;
  // The first queued message for hwnd (kNoWnd: any) in [first, last] (0, 0: any); removed when asked.
  bool Peek(MSG* out, HWND hwnd, UINT first, UINT last, bool remove);
  // Sends WM_NCPAINT / WM_PAINT to visible windows that need it; answers how many painted.
  int PaintPending();

  // One pass: toolkit events, posted messages, paints; with idle when nothing else happened.
  // wait: block until something arrives when there is nothing to do. input false: the user's
  // input waits in the toolkit's queue for a later pass. True when it did something.
  bool PumpOnce(bool wait, bool input = true);
  // Runs until stop() is true or WM_QUIT arrives (the message loop and modal loops), blocking
  // while nothing arrives; stop is checked after each event.
  void RunLoop(const std::function<bool()>& stop, bool input = true);

  // Dispatching a message to a window procedure, with the current-message stack.
  LRESULT Dispatch(WndImpl* impl, UINT message, WPARAM wParam, LPARAM lParam,
                   std::function<bool()> toolkitDefault = {});
  // Input from the toolkit: PreTranslateMessage, then the window procedure. True when handled.
  bool DispatchInput(WndImpl* impl, MSG& msg, std::function<bool()> toolkitDefault);
  bool PreTranslate(MSG& msg);

  // Hooks.
  std::uintptr_t AddHook(int kind, HOOKPROC proc);
  bool RemoveHook(std::uintptr_t id);
  LRESULT CallNextHook(std::uintptr_t id, int code, WPARAM wParam, LPARAM lParam);
  // Runs the chain for one input event; true when a hook swallowed it.
  bool RunHooks(int kind, WPARAM wParam, LPARAM lParam);

  // Timers.
  UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
  bool KillTimer(HWND hwnd, UINT_PTR id);
  void KillTimers(HWND hwnd);
  void TimerFired(int qtTimer);

  // Focus, capture, activation.
  HWND SetFocus(HWND hwnd);
  void SetCapture(HWND hwnd);
  void ReleaseCapture();
  // toolkit: also asks the window system to activate the window (false when it did already).
  void SetActive(HWND hwnd, bool toolkit = true);

  // Key and mouse state from input.
  void NoteKey(UINT vk, bool down);
  short KeyState(UINT vk) const;

  QApplication* qapp = nullptr;
  std::thread::id uiThread;
  bool headless = true;
  Rect workArea;  // the display's available area (empty: no display)

  App* app = nullptr;
  std::vector<CurrentMessage*> current;
  HWND focus = kNoWnd;
  HWND capture = kNoWnd;
  HWND active = kNoWnd;
  HCURSOR cursor = nullptr;
  HWND cursorWindow = kNoWnd;  // the window the pointer was last over
  Point cursorPos;
  bool quit = false;
  int exitCode = 0;
  bool idleNeeded = true;
  int modalDepth = 0;
  // Set while the layer hands a synthesised event to a toolkit widget: hooks and the
  // message bridge let it through untouched.
  int syntheticDepth = 0;
  // Which window each widget stands for, and the widgets whose events are being handled
  // (their deletion waits until the handling is over).
  std::unordered_map<const QObject*, HWND> widgetWindows;
  std::vector<const QWidget*> eventWidgets;
  // Tools registered with tool-tip controls (controls.cpp), and the text last shown.
  struct ToolRecord {
    HWND control = kNoWnd;  // the tool-tip control
    TOOLINFO info;
  };
  std::vector<ToolRecord> tools;
  std::string lastToolTip;
  WndImpl* WindowOfWidget(const QObject* widget) const {
    auto it = widgetWindows.find(widget);
    return it == widgetWindows.end() ? nullptr : Lookup(it->second);
  }
  bool InEvent(const QWidget* widget) const;

 private:
  AppState();
  using KeyStates = std::array<std::uint8_t, 256>;
  // A posted message; a key message keeps the keys' state of when it was posted.
  struct Queued {
    MSG msg;
    bool keyboard = false;
    KeyStates keys{};
  };
  void DeliverOne(const MSG& msg, const KeyStates* keys = nullptr);

  mutable std::mutex handleMutex_;
  std::map<std::uint32_t, WndImpl*> handles_;
  std::uint32_t nextHandle_ = 0x100;

  mutable std::mutex queueMutex_;
  std::deque<Queued> queue_;
  std::atomic<bool> wakePending_{false};
  QObject* waker_ = nullptr;

  std::vector<HookRecord> hooks_;  // most recent first
  std::uintptr_t nextHookId_ = 1;

  QObject* timerHost_ = nullptr;
  std::map<int, TimerRecord> timers_;

  KeyStates keys_{};
  // While a posted key message is delivered, GetKeyState answers the state it was posted in, as
  // the platform answers the state of the message being handled (posted messages come before
  // later input there); a real key event ends it.
  const KeyStates* postedKeys_ = nullptr;
  QObject* filter_ = nullptr;
};

// Turns toolkit events of a window's widget into messages. base: the widget class's own
// handling. Answers what QWidget::event answers.
bool BridgeEvent(WndImpl* impl, QWidget* widget, QEvent* event, const std::function<bool(QEvent*)>& base);

// A toolkit widget class wired to the message bridge.
bool IsMouseEvent(const QEvent* e);

template <class QtBase>
class Bridged : public QtBase {
 public:
  template <class... Args>
  explicit Bridged(Args&&... args) : QtBase(std::forward<Args>(args)...) {}

 protected:
  bool event(QEvent* e) override {
    WndImpl* impl = AppState::Get().WindowOfWidget(this);
    if (!impl) return QtBase::event(e);
    return BridgeEvent(impl, this, e, [this](QEvent* ev) { return QtBase::event(ev); });
  }
};

// The same for scroll areas, whose mouse input arrives at their viewport.
template <class QtBase>
class BridgedScroll : public Bridged<QtBase> {
 public:
  using Bridged<QtBase>::Bridged;

 protected:
  bool viewportEvent(QEvent* e) override {
    WndImpl* impl = AppState::Get().WindowOfWidget(this);
    if (!impl || !IsMouseEvent(e)) return QtBase::viewportEvent(e);
    return BridgeEvent(impl, this->viewport(), e, [this](QEvent* ev) { return QtBase::viewportEvent(ev); });
  }
};

// Makes a top-level widget transient for its owner's window (kept above it, a window of its
// own), never a toolkit child of it.
void SetTransientOwner(QWidget* window, QWidget* owner);
// Raises every visible topmost (WS_EX_TOPMOST) top-level window but except above the others.
void RaiseTopmostWindows(HWND except);

// The window procedure that calls the object's WindowProc (what SetWindowProc first answers).
WNDPROC ObjectProcedure();

// Hands an event straight to a widget's own handling (no hooks, no messages).
bool SendSynthetic(QWidget* widget, QEvent* event);
// A key or mouse message that did not come from the toolkit, given to a control's widget as the
// event it stands for.
void SynthesizeInput(WndImpl* impl, UINT message, WPARAM wParam, LPARAM lParam);

// Virtual key of a toolkit key and back.
UINT VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);
// The character a key makes on the US layout the key table follows ("*" for Shift+8); control
// with a letter makes its control character; 0 for a key that makes none.
char CharOfKey(UINT vk, bool shift, bool control);
int QtKeyFromVirtualKey(UINT vk);
// The key-message lParam for a key event.
LPARAM KeyParam(UINT vk, bool release, bool autoRepeat, bool alt);
// Mouse key-state flags from toolkit buttons and modifiers.
UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// The window that owns a widget (walking up the toolkit parents); null when none.
WndImpl* ImplOfWidget(const QWidget* widget);
// The widget point of a client point, and back.
QPoint ClientToWidget(const WndImpl* impl, Point client);
Point WidgetToClient(const WndImpl* impl, const QPoint& local);
// Screen coordinates of a window's client origin.
Point ClientOriginOnScreen(const WndImpl* impl);

// The text of ours and the toolkit's.
QString ToQ(std::string_view utf8);
std::string FromQ(const QString& text);

}  // namespace ui
