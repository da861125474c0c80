#pragma once
// The wait cursor the platform shows while a program is busy (the class library's wait cursor):
// from BeginWaitCursor to the matching EndWaitCursor every window of the program shows it. The
// display learns of it at once, before the work starts, since the work reads no events until it
// ends. Calls nest; a modal run (a message box during a load, say) shows the normal cursor while
// it lasts.
namespace ui {

void BeginWaitCursor();
void EndWaitCursor();
// Whether the wait cursor shows now.
bool IsWaitCursorShown();

// The wait cursor for the object's life.
class WaitCursor {
 public:
  WaitCursor() { BeginWaitCursor(); }
  ~WaitCursor() { EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// The normal cursor for the object's life, while a wait cursor was showing (modal runs).
class WaitCursorPause {
 public:
  WaitCursorPause();
  ~WaitCursorPause();
  WaitCursorPause(const WaitCursorPause&) = delete;
  WaitCursorPause& operator=(const WaitCursorPause&) = delete;

 private:
  bool m_paused;
};

}  // namespace ui
