// The console: tool-tip texts of the bars and the command interpreter.
#include "spectrum/control/control/spccontrol.h"

const ui::MsgEntry* CSpcControl::ConsoleMessages() {
  static const ui::MsgEntry entries[] = {{}};
  return entries;
}
