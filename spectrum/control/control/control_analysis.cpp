// The analysis commands (peaks, integrals, texts, copies).
#include "spectrum/control/control/spccontrol.h"

const ui::MsgEntry* CSpcControl::AnalysisMessages() {
  static const ui::MsgEntry entries[] = {{}};
  return entries;
}
