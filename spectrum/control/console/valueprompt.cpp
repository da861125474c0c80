#include "spectrum/control/console/valueprompt.h"

namespace nelvar {

bool PromptParamValue(ui::Wnd*, std::string_view, std::string*) { return false; }

}  // namespace nelvar
