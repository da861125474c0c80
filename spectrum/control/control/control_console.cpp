// The console: tool-tip texts of the bars and the command interpreter.
#include "spectrum/control/control/spccontrol.h"

const ui::MsgEntry* CSpcControl::ConsoleMessages() {
  static const ui::MsgEntry entries[] = {{}};
  return entries;
}

plat::ole::HResult CSpcControl::XSpectrumControl::ExecuteCommands(const char16_t*) { return plat::ole::E_FAIL; }
