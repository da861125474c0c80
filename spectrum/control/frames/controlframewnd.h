#pragma once
// CControlFrameWnd: the small frame between a control's window and the container's window. It
// fills itself with the control's window, hands focus to it, reflects its children's
// notifications to it (message + 0x2000) and routes commands to it, so the bars it owns while
// its control is active reach that control.
#include "platform/ole/interfaces.h"
#include "platform/ui/frame.h"

class COleControlEx;

class CControlFrameWnd : public ui::FrameWnd {
  UI_DECLARE_DYNCREATE(CControlFrameWnd)
  UI_DECLARE_MESSAGE_MAP()

 public:
  CControlFrameWnd() = default;
  explicit CControlFrameWnd(COleControlEx* control) : m_pControl(control) {}

  // The container's in-place frame while the bars show, else null (not owned).
  plat::ole::IOleInPlaceFrame* m_pInPlaceFrame = nullptr;
  COleControlEx* m_pControl = nullptr;
  bool m_bBarsShown = false;

  // The control negotiates its border space again, while its bars show.
  void Renegotiate();

  bool OnCmdMsg(ui::UINT id, int code, void* extra, ui::HandlerInfo* info) override;
  ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override;
  int OnCreate(ui::CREATESTRUCT* cs);

 protected:
  // The control hears that its reflecting window is gone, then the frame deletes itself.
  void PostNcDestroy() override;
};
