// Modal runs of windows that are not dialogs.
#include "platform/ui/modalloop.h"

#include "platform/ui/internal/modal.h"

namespace ui {

int ModalLoop::Run(Wnd* wnd) {
  if (!wnd || !wnd->IsWindow() || running_) return -1;
  const HWND self = wnd->m_hWnd;
  ModalOwner owner(wnd->GetOwner());
  running_ = true;
  ended_ = false;
  result_ = IDCANCEL;
  ModalQuestion q;
  q.kind = ModalKind::Window;
  q.title = wnd->GetWindowText();
  q.window = wnd;
  bool byResponder = false;
  // The window run takes the user's input (its owner is disabled).
  if (wnd->IsWindowVisible()) wnd->SetActiveWindow();
  wnd->impl()->modalRun = true;
  const int answer = AskWhileOpen(q, self, ended_, result_, &byResponder);
  if (WndImpl* impl = AppState::Get().Lookup(self)) impl->modalRun = false;
  if (!ended_ && ui::IsWindow(self)) {
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(answer), 0), 0);
    if (!ended_) End(IDCANCEL);
  }
  running_ = false;
  LogModal(q, result_, byResponder);
  return result_;
}

void ModalLoop::End(int result) {
  if (!running_ || ended_) return;
  result_ = result;
  ended_ = true;
}

}  // namespace ui
