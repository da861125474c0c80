#pragma once
// CConsoleBar: the bar titled "Console" that holds the command edit. Return runs the line of the
// caret through the control's ExecuteCommands and opens a new line below; earlier lines stay, so
// Return on one runs it again. While the user types, the container's status line shows the help
// text of the word typed or the words that begin with it.
//
// One keyboard hook serves every console bar of the process: installed with the first bar and
// removed with the last. Letters, digits, Return and "/" typed anywhere in the active container
// frame (no Alt) go to the console of that frame: the focus moves to its edit and the key is
// posted again, to the edit (Return: to the bar); a release goes there only after its press did.
// Keys for any other window pass on.
#include <string>
#include <vector>

#include "foundation/flattoolbar.h"
#include "platform/ui/app.h"
#include "platform/ui/controls.h"

class CControlFrameWnd;
class CSpcControl;

class CConsoleBar : public CFlatToolBar {
  UI_DECLARE_DYNAMIC(CConsoleBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr ui::UINT kEditId = 1031;

  CConsoleBar();
  ~CConsoleBar() override;

  ui::Edit& GetEdit() { return m_edit; }
  // The console bars alive now, and whether the shared hook is installed.
  static const std::vector<CConsoleBar*>& LiveBars();
  static bool HookInstalled();

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnDestroy();
  void OnKeyDown(ui::UINT key, ui::UINT repeat, ui::UINT flags);
  void OnEditChange();

  // The control frame the bar serves now (its owner), or null.
  CControlFrameWnd* ControlFrame() const;
  // The spectrum control of that frame, or null.
  CSpcControl* Control() const;
  // Runs the edit's line of the caret.
  void RunCurrentLine();

 private:
  static ui::LRESULT KeyboardHook(int code, ui::WPARAM key, ui::LPARAM lParam);
  // The bar whose container frame is the active window, or null.
  static CConsoleBar* ActiveBar();
  std::string CurrentLine() const;
  // Out of the list of live bars; the last one out removes the hook.
  void Unregister();

  ui::Edit m_edit;
  bool m_registered = false;
};
