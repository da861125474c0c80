// The control's message map: the tables of its areas chained in one fixed order, the core's
// first and the base class's last. A lookup takes the first entry that matches.
#include "spectrum/control/control/spccontrol.h"

namespace {

template <const ui::MsgEntry* (*Entries)(), const ui::MessageMap* (*Next)()>
const ui::MessageMap* AreaMap() {
  static const ui::MessageMap map{Next, Entries()};
  return &map;
}

}  // namespace

const ui::MessageMap* CSpcControl::GetMessageMap() const { return GetThisMessageMap(); }

const ui::MessageMap* CSpcControl::GetThisMessageMap() {
  return AreaMap<&CSpcControl::CoreMessages,
                 &AreaMap<&CSpcControl::PaintMessages,
                          &AreaMap<&CSpcControl::MouseMessages,
                                   &AreaMap<&CSpcControl::ProcessingMessages,
                                            &AreaMap<&CSpcControl::ViewMessages,
                                                     &AreaMap<&CSpcControl::AnalysisMessages,
                                                              &AreaMap<&CSpcControl::FileMessages,
                                                                       &AreaMap<&CSpcControl::ConsoleMessages,
                                                                                &COleControlEx::GetThisMessageMap>>>>>>>>();
}
