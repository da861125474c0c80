#pragma once
// CFlatToolBar: the toolbar every deliverable shows. A flat bar with etched separators, a
// gripper of two bars at its leading edge painted in its own non-client area, and check-box
// buttons that keep their pressed look while they are checked.
#include <vector>

#include "platform/ui/bars.h"

class CFlatToolBar : public ui::ToolBar {
  UI_DECLARE_DYNAMIC(CFlatToolBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  // Adds TBSTYLE_FLAT; the owner calls it after creating the bar.
  void SetFlatLookStyle();
  void OnUpdateCmdUI(ui::FrameWnd* target, bool disableIfNoHandler) override;

  void OnWindowPosChanging(ui::WINDOWPOS* pos);
  void OnPaint();
  void OnNcPaint();
  void OnNcCalcSize(bool calcValidRects, ui::NCCALCSIZE_PARAMS* params);

 protected:
  // Horizontal while docked at the top or bottom (or floating laid out that way).
  bool IsHorizontalDocking() const;
  void RepaintBackground();
  void DrawSeparators();
  void DrawSeparators(gdi::DC* dc);
  void DrawGripper(gdi::DC* dc, const ui::Rect& windowRect);
  void EraseNonClient();
};
