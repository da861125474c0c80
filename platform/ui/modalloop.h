#pragma once
// A window run modally as it is, without being a dialog: a frame that outlives its runs (the
// explorer-style file dialogs keep theirs hidden between uses).
//
// Run disables the window's owner (its top-level window, else the application's main window)
// for the run's length, releases the mouse capture and asks the modal responder with the live,
// shown window (ModalKind::Window). The window's own handlers end the run with End; on a
// display without a responder the message loop runs until they do or the window is gone. An
// answer that leaves the run going is handed to the window as the command of that id (IDOK and
// IDCANCEL reach its own handlers, so its checks run); a run still going after that ends with
// IDCANCEL. Every run is logged with its result.
#include <string>

#include "platform/ui/messages.h"
#include "platform/ui/wnd.h"

namespace ui {

class ModalLoop {
 public:
  // The result given to End, IDCANCEL when the window went away; -1 for no window or a run
  // already going.
  int Run(Wnd* wnd);
  // Ends the run going (nothing when none is).
  void End(int result);
  bool IsRunning() const { return running_; }

 private:
  bool running_ = false;
  bool ended_ = false;
  int result_ = IDCANCEL;
};

}  // namespace ui
