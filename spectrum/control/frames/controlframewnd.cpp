#include "spectrum/control/frames/controlframewnd.h"

#include "platform/ui/app.h"
#include "platform/ui/styles.h"
#include "spectrum/control/frames/olecontrolex.h"

UI_IMPLEMENT_DYNCREATE(CControlFrameWnd, ui::FrameWnd)

UI_BEGIN_MESSAGE_MAP(CControlFrameWnd, ui::FrameWnd)
  ui::map::Create(&CControlFrameWnd::OnCreate),
UI_END_MESSAGE_MAP()

namespace {

// The notifications a control's children send their parent, which the frame hands back to the
// control in the reflection range.
bool IsReflected(ui::UINT message) {
  switch (message) {
    case ui::WM_DRAWITEM: case ui::WM_MEASUREITEM: case ui::WM_DELETEITEM: case ui::WM_VKEYTOITEM:
    case ui::WM_CHARTOITEM: case ui::WM_COMPAREITEM: case ui::WM_NOTIFY: case ui::WM_COMMAND:
    case ui::WM_HSCROLL: case ui::WM_VSCROLL: case ui::WM_CTLCOLORMSGBOX: case ui::WM_CTLCOLOREDIT:
    case ui::WM_CTLCOLORLISTBOX: case ui::WM_CTLCOLORBTN: case ui::WM_CTLCOLORDLG: case ui::WM_CTLCOLORSCROLLBAR:
    case ui::WM_CTLCOLORSTATIC: case ui::WM_PARENTNOTIFY:
      return true;
    default:
      return false;
  }
}

}  // namespace

int CControlFrameWnd::OnCreate(ui::CREATESTRUCT*) {
  if (Default() == -1) return -1;
  ModifyStyleEx(ui::WS_EX_CLIENTEDGE, 0, ui::SWP_FRAMECHANGED);
  // The status line has nothing to say about this frame.
  ui::MSG pending;
  while (ui::PeekMessage(&pending, m_hWnd, ui::WM_SETMESSAGESTRING, ui::WM_SETMESSAGESTRING, ui::PM_REMOVE)) {
  }
  return 0;
}

ui::LRESULT CControlFrameWnd::WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
  if (m_pControl && m_pControl->IsWindow()) {
    if (message == ui::WM_SIZE) {
      m_pControl->MoveWindow(0, 0, ui::LOWORD(static_cast<std::uintptr_t>(lParam)),
                             ui::HIWORD(static_cast<std::uintptr_t>(lParam)));
    } else if (message == ui::WM_SETFOCUS) {
      m_pControl->SetFocus();
      return 0;
    } else if (IsReflected(message)) {
      m_pControl->SendMessage(message + ui::OCM_BASE, wParam, lParam);
      if (message == ui::WM_COMMAND) PostMessage(ui::WM_IDLEUPDATECMDUI, 1, 0);
    }
  }
  return FrameWnd::WindowProc(message, wParam, lParam);
}

bool CControlFrameWnd::OnCmdMsg(ui::UINT id, int code, void* extra, ui::HandlerInfo* info) {
  return m_pControl ? m_pControl->OnCmdMsg(id, code, extra, info) : false;
}

void CControlFrameWnd::Renegotiate() {
  if (m_bBarsShown && m_pInPlaceFrame && m_pControl) m_pControl->RepositionBars(nullptr, m_pInPlaceFrame, true);
}

void CControlFrameWnd::PostNcDestroy() {
  if (m_pControl) m_pControl->OnReflectorDestroyed();
  delete this;
}
