// The view and multi-display commands.
#include "spectrum/control/control/spccontrol.h"

const ui::MsgEntry* CSpcControl::ViewMessages() {
  static const ui::MsgEntry entries[] = {{}};
  return entries;
}
