// The application object.
#include "platform/ui/app.h"

#include <QThread>
#include <QTimer>

#include <chrono>

#include "platform/ui/internal/state.h"
#include "platform/ui/resource.h"

namespace ui {

namespace {
App* g_app = nullptr;
}

UI_IMPLEMENT_DYNAMIC(App, CmdTarget)

UI_BEGIN_MESSAGE_MAP(App, CmdTarget)
  map::Command(ID_APP_EXIT, &App::OnAppExit),
  map::Command(ID_FILE_NEW, &App::OnFileNew),
  map::Command(ID_FILE_OPEN, &App::OnFileOpen),
UI_END_MESSAGE_MAP()

App::App(std::string_view appName) : m_appName(appName) {
  AppState& st = AppState::Get();
  m_previous = g_app;
  st.app = this;
  g_app = this;
}

App::~App() {
  if (g_app == this) g_app = m_previous;
  if (AppState* st = AppState::Existing(); st && st->app == this) st->app = g_app;
  for (DocTemplate* t : m_templates) DeleteDocTemplate(t);
  m_templates.clear();
}

App* App::Get() { return g_app; }
void App::SetCommandLine(int argc, char** argv) { AppState::SetCommandLine(argc, argv); }
bool App::IsHeadless() { return AppState::Get().Headless(); }

int App::ExitInstance() { return AppState::Get().exitCode; }

int App::Run() {
  AppState& st = AppState::Get();
  st.quit = false;
  st.RunLoop({});
  return ExitInstance();
}

int App::Main() {
  if (!InitInstance()) {
    ExitInstance();
    return -1;
  }
  return Run();
}

bool App::OnIdle(long count) {
  if (count != 0) return false;
  AppState& st = AppState::Get();
  for (HWND h : st.AllWindows()) {
    WndImpl* impl = st.Lookup(h);
    if (!impl || !impl->IsTopLevel() || !impl->object->IsWindowVisible()) continue;
    impl->object->SendMessage(WM_IDLEUPDATECMDUI, 1, 0);
    if (st.Lookup(h)) impl->object->SendMessageToDescendants(WM_IDLEUPDATECMDUI, 1, 0, true);
  }
  return false;
}

bool App::PreTranslateMessage(MSG* msg) {
  AppState& st = AppState::Get();
  bool mainInChain = false;
  for (WndImpl* w = st.Lookup(msg->hwnd); w; w = w->IsTopLevel() ? nullptr : st.Lookup(w->parent)) {
    const HWND h = w->hwnd;
    if (w->object == m_pMainWnd) mainInChain = true;
    if (w->object->PreTranslateMessage(msg)) return true;
    if (!(w = st.Lookup(h))) return true;
    // Escape anywhere in a window run modally cancels it, as in a dialog.
    if (w->modalRun && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
      w->object->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return true;
    }
  }
  // A message for a floating bar or a modeless dialog still sees the main window's accelerators,
  // unless the main window is disabled (a modal run is on).
  if (!mainInChain && m_pMainWnd && m_pMainWnd->IsWindow() && m_pMainWnd->IsWindowEnabled() && msg->hwnd != kNoWnd)
    return m_pMainWnd->PreTranslateMessage(msg);
  return false;
}

void App::OnThreadMessage(const MSG&) {}

void App::PumpPending() {
  AppState& st = AppState::Get();
  // A quit message ends the message loop, not a pump; and a pump ends with an idle pass.
  st.quit = false;
  st.idleNeeded = true;
  for (int guard = 0; guard < 100000 && !st.quit; ++guard)
    if (!st.PumpOnce(false)) break;
  st.quit = false;
}

bool App::PumpUntil(const std::function<bool()>& pred, int timeoutMs) {
  AppState& st = AppState::Get();
  st.quit = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= deadline) return pred();
    if (!st.PumpOnce(false)) QThread::msleep(1);
  }
  return true;
}

void App::PumpFor(int ms, bool input) {
  AppState& st = AppState::Get();
  st.quit = false;
  bool over = false;
  // One timer ends the wait; until then the loop sleeps in the toolkit's wait for events.
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, [&over] { over = true; });
  timer.start(std::max(0, ms));
  st.RunLoop([&over] { return over; }, input);
  st.quit = false;
}

void App::PostQuitMessage(int exitCode) {
  MSG msg;
  msg.message = WM_QUIT;
  msg.wParam = static_cast<WPARAM>(exitCode);
  AppState::Get().Post(msg);
}

bool App::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  AppState* st = AppState::Existing();
  if (!st) return false;
  MSG msg;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  st->Post(msg);
  return true;
}

ProfileStore* CurrentProfileStore() {
  if (ProfileStore* own = CurrentModuleState()->profile) return own;
  App* app = App::Get();
  return app ? app->GetProfileStore() : nullptr;
}

int App::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) {
  return m_profile ? m_profile->GetInt(section, entry, defaultValue) : defaultValue;
}
bool App::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
  return m_profile && m_profile->WriteInt(section, entry, value);
}
std::string App::GetProfileString(std::string_view section, std::string_view entry, std::string_view defaultValue) {
  return m_profile ? m_profile->GetString(section, entry, defaultValue) : std::string(defaultValue);
}
bool App::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
  return m_profile && m_profile->WriteString(section, entry, value);
}

bool PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove) {
  return AppState::Get().Peek(msg, hwnd, first, last, (remove & PM_REMOVE) != 0);
}

void App::OnAppExit() {
  if (m_pMainWnd && m_pMainWnd->IsWindow()) m_pMainWnd->SendMessage(WM_CLOSE);
  else PostQuitMessage(0);
}

}  // namespace ui
