// The processing commands (transforms, windows, phase, baseline, shifts).
#include "spectrum/control/control/spccontrol.h"

const ui::MsgEntry* CSpcControl::ProcessingMessages() {
  static const ui::MsgEntry entries[] = {{}};
  return entries;
}
