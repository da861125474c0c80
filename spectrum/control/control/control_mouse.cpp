// Mouse modes and interaction on the plot.
#include "spectrum/control/control/spccontrol.h"

const ui::MsgEntry* CSpcControl::MouseMessages() {
  static const ui::MsgEntry entries[] = {{}};
  return entries;
}

// The cursors are made from the module's cursor resources when the mouse modes come; until
// then the plot keeps the window's own.
void CSpcControl::CreatePlotCursors() {}
