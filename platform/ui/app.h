#pragma once
// The application object, the message loop, idle processing and the thread's hooks.
//
// One user-interface thread: the thread that made the first window or the application object.
// Other threads only post (ui::PostMessage, App::PostThreadMessage).
//
// The loop takes, in turn, input from the window system (turned into messages for our
// windows), posted messages (each offered to PreTranslateMessage first: accelerators), and
// paints (WM_PAINT for windows with an update region, when nothing else waits); when all are
// done it runs OnIdle, whose first pass updates the command UI of the visible bars and frames
// (WM_IDLEUPDATECMDUI), and then waits.
//
// Hooks see real input only: the window system's and what a test injects (input.h), never
// posted or sent messages.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/msgmap.h"
#include "platform/ui/wnd.h"

namespace ui {

class DocTemplate;
class Document;
// Deletes a template (the application owns its templates).
void DeleteDocTemplate(DocTemplate* docTemplate);

// Where frames keep their bar layout and the application its settings: sections of named
// values. The product supplies one (over its profile store); without one, nothing is kept.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  virtual int GetInt(std::string_view section, std::string_view entry, int defaultValue) = 0;
  virtual bool WriteInt(std::string_view section, std::string_view entry, int value) = 0;
  virtual std::string GetString(std::string_view section, std::string_view entry, std::string_view defaultValue) = 0;
  virtual bool WriteString(std::string_view section, std::string_view entry, std::string_view value) = 0;
  virtual bool GetBinary(std::string_view section, std::string_view entry, std::vector<std::uint8_t>* data) = 0;
  virtual bool WriteBinary(std::string_view section, std::string_view entry, const std::vector<std::uint8_t>& data) = 0;
  // Removes a whole section (its values); false when it was not there.
  virtual bool DeleteSection(std::string_view section) = 0;
};

// The profile store of the module in force (its module state's), else the application's; null
// when neither has one.
ProfileStore* CurrentProfileStore();

class App : public CmdTarget {
  UI_DECLARE_DYNAMIC(App)
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit App(std::string_view appName = {});
  ~App() override;

  // The application object (null before one is made).
  static App* Get();
  // Command-line arguments for the window system; call before the first App or window.
  static void SetCommandLine(int argc, char** argv);
  // True where no display exists (the offscreen or minimal platforms of the tests): modal runs
  // then never wait for a user.
  static bool IsHeadless();

  virtual bool InitInstance() { return true; }
  virtual int ExitInstance();
  // The message loop: until WM_QUIT. Answers the exit code.
  virtual int Run();
  // Called with 0, 1, ... while nothing else waits, until it answers false.
  virtual bool OnIdle(long count);
  // Offered every input and posted message first (after the windows on the target's parent
  // chain); true consumes it.
  virtual bool PreTranslateMessage(MSG* msg);
  // Messages posted to the thread (no window).
  virtual void OnThreadMessage(const MSG& msg);

  // InitInstance, Run, ExitInstance.
  int Main();

  Wnd* m_pMainWnd = nullptr;
  Wnd* GetMainWnd() const { return m_pMainWnd; }
  std::string m_appName;

  // --- Pumping (tests, and code that waits for the user interface) ------------------------------
  // Handles everything that is waiting now, painting and idle included; never blocks.
  static void PumpPending();
  // Pumps until pred() is true or timeoutMs passes; answers pred() (tests: it polls).
  static bool PumpUntil(const std::function<bool()>& pred, int timeoutMs);
  // Runs the message loop for ms milliseconds, asleep while nothing arrives. input false: the
  // user's keys and clicks wait for the loop that follows (a pause in start-up).
  static void PumpFor(int ms, bool input = true);
  static void PostQuitMessage(int exitCode = 0);
  // Thread-safe; hwnd-less messages reach OnThreadMessage.
  static bool PostThreadMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // --- Settings ------------------------------------------------------------------------------
  void SetProfileStore(ProfileStore* store) { m_profile = store; }
  ProfileStore* GetProfileStore() const { return m_profile; }
  int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue);
  bool WriteProfileInt(std::string_view section, std::string_view entry, int value);
  std::string GetProfileString(std::string_view section, std::string_view entry, std::string_view defaultValue = {});
  bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);

  // --- Documents -------------------------------------------------------------------------------
  // The application owns its templates.
  void AddDocTemplate(DocTemplate* docTemplate);
  const std::vector<DocTemplate*>& GetDocTemplates() const { return m_templates; }
  // Opens through the best-matching template; null when none opens it.
  virtual Document* OpenDocumentFile(std::string_view path);
  void CloseAllDocuments(bool endSession);
  bool SaveAllModified();

  // Standard commands: ID_FILE_NEW, ID_FILE_OPEN, ID_APP_EXIT.
  void OnFileNew();
  void OnFileOpen();
  void OnAppExit();

 private:
  ProfileStore* m_profile = nullptr;
  std::vector<DocTemplate*> m_templates;
  App* m_previous = nullptr;  // the application object this one stands in for while it lives
};

// Looks at the posted messages (of hwnd, kNoWnd: of any window or the thread) in the range
// [first, last] (0, 0: any); PM_REMOVE takes the one found out of the queue.
constexpr UINT PM_NOREMOVE = 0, PM_REMOVE = 1;
bool PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove);

// --- Thread hooks ---------------------------------------------------------------------------------
// A keyboard hook gets (HC_ACTION, virtual key, key lParam); a mouse hook (HC_ACTION, message,
// MOUSEHOOKSTRUCT*). A nonzero answer swallows the input. The newest hook runs first and hands
// the input on with CallNextHookEx.
struct MOUSEHOOKSTRUCT {
  Point pt;  // screen coordinates
  HWND hwnd = kNoWnd;
  UINT wHitTestCode = 0;
  UINT_PTR dwExtraInfo = 0;
};
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);
enum class HHOOK : std::uintptr_t {};
HHOOK SetWindowsHookEx(int kind, HOOKPROC proc);
bool UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

}  // namespace ui
