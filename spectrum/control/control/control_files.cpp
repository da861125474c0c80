// The import and export commands.
#include "spectrum/control/control/spccontrol.h"

const ui::MsgEntry* CSpcControl::FileMessages() {
  static const ui::MsgEntry entries[] = {{}};
  return entries;
}
