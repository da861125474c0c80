#pragma once
// The owner of a modal run (platform/ui sources only): the top-level window of the given parent,
// else the application's main window. It is disabled while the run lasts and comes back enabled,
// with the focus where it was; the mouse capture is released first.
#include "platform/ui/internal/state.h"
#include "platform/ui/responder.h"

namespace ui {

class ModalOwner {
 public:
  explicit ModalOwner(Wnd* parent) {
    AppState& st = AppState::Get();
    Wnd* owner = parent ? parent->GetTopLevelParent() : nullptr;
    if (!owner && App::Get()) owner = App::Get()->GetMainWnd();
    if (owner && !owner->IsWindow()) owner = nullptr;
    owner_ = owner ? owner->m_hWnd : kNoWnd;
    focus_ = st.focus;
    Wnd::ReleaseCapture();
    reenable_ = owner && owner->IsWindowEnabled();
    if (reenable_) owner->EnableWindow(false);
    ++st.modalDepth;
  }
  ~ModalOwner() {
    AppState& st = AppState::Get();
    --st.modalDepth;
    if (reenable_)
      if (Wnd* o = Wnd::FromHandle(owner_)) o->EnableWindow(true);
    if (Wnd* f = Wnd::FromHandle(focus_)) f->SetFocus();
    else if (Wnd* o = Wnd::FromHandle(owner_)) o->SetActiveWindow();
  }
  ModalOwner(const ModalOwner&) = delete;
  ModalOwner& operator=(const ModalOwner&) = delete;
  Wnd* get() const { return Wnd::FromHandle(owner_); }

 private:
  HWND owner_ = kNoWnd;
  HWND focus_ = kNoWnd;
  bool reenable_ = false;
};

// A window about to be run modally is modal for its owner on the screen too (the window
// system keeps it above the owner and says so); set before it shows.
inline void MakeWindowModal(Wnd* wnd) {
  WndImpl* impl = wnd ? wnd->impl() : nullptr;
  if (!impl || !impl->widget || impl->widget->isVisible() || impl->owner == kNoWnd) return;
  impl->widget->setWindowModality(Qt::WindowModal);
}

// Asks about a window that stays up until it ends (a dialog, a sheet): posted messages are
// delivered first; on a display without a responder the loop runs until ended is set or the
// window is gone. Answers the responder's (or the loop's) end code.
inline int AskWhileOpen(ModalQuestion& q, HWND self, const bool& ended, const int& result, bool* byResponder) {
  AppState& st = AppState::Get();
  st.DeliverPosted();
  return AskModal(q, [&] {
    st.RunLoop([&] { return ended || !ui::IsWindow(self); });
    return result;
  }, byResponder);
}

}  // namespace ui
