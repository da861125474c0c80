#pragma once
// CMainFrameWnd: the docking frame that holds the tool bars of every control in one container
// frame window. It is a child of that window; the process keeps one per container window with
// the number of controls attached to it, and the last release saves the bars' layout and
// destroys it with its bars. Commands and notifications of the bars go to the active control's
// frame, and a change of the bars' layout makes that control negotiate its border space again.
#include <memory>
#include <string_view>
#include <vector>

#include "platform/ui/bars.h"
#include "platform/ui/controls.h"
#include "platform/ui/frame.h"

class CControlFrameWnd;

class CMainFrameWnd : public ui::FrameWnd {
  UI_DECLARE_DYNAMIC(CMainFrameWnd)
  UI_DECLARE_MESSAGE_MAP()

 public:
  // The main frame of the container window (one more control attached), made when it has none:
  // a child over its client area, docking on all four sides. Null when it cannot be made.
  static CMainFrameWnd* Attach(ui::Wnd* container);
  // One control fewer; the last saves the layout ("Toolbars"), destroys the window and deletes
  // the frame. A frame that is not live is ignored.
  static void Release(CMainFrameWnd* frame);
  // The live main frames and their control counts (parallel).
  static const std::vector<CMainFrameWnd*>& LiveFrames();
  static int AttachCount(const CMainFrameWnd* frame);

  // Every bar's owner becomes that frame's window (none for null); it is the active one.
  void SetActiveControlFrame(CControlFrameWnd* frame);
  CControlFrameWnd* GetActiveControlFrame() const { return m_pActiveControlFrame; }
  bool IsBarVisible(ui::UINT barId) const;
  // Shows or hides the bar (delayed) and lays the bars out again.
  void ToggleBar(ui::UINT barId, bool show);
  // The window layer's layout under name, then every bar's state word as "<id>" in the profile
  // section of that name.
  void SaveBarState(std::string_view name) const;
  // The layout back, then the state words (default: the bar's own with the temporary-hide flag).
  void LoadBarState(std::string_view name);

  // The bars made by the first control; the frame owns them from then on.
  void AdoptBar(std::unique_ptr<ui::ControlBar> bar);
  // The bars the frame holds, in the order they were made (dock bars left out).
  std::vector<ui::ControlBar*> Bars() const;
  // Shows or hides the small frames of the floating bars (the windows the frame owns).
  void ShowFloatingBars(bool show);
  // Gives every bar the frame's tool tips (after the first control made them).
  void SetUpToolTips();
  ui::ToolTipCtrl& GetToolTips() { return m_toolTips; }

  bool m_bBarsCreated = false;

  void RecalcLayout(bool notify = true) override;
  bool OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) override;
  bool OnNotify(ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) override;
  void OnWindowPosChanged(ui::WINDOWPOS* pos);

 protected:
  void PostNcDestroy() override {}

 private:
  CMainFrameWnd() = default;
  ~CMainFrameWnd() override;
  // The active control frame negotiates again (its bars may have changed size).
  void Renegotiate();

  CControlFrameWnd* m_pActiveControlFrame = nullptr;
  ui::ToolTipCtrl m_toolTips;
  std::vector<std::unique_ptr<ui::ControlBar>> m_ownedBars;
};
