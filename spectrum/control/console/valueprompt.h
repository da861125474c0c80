#pragma once
// The parameter value dialog as the console uses it: a name and a value text shown for editing.
#include <string>
#include <string_view>

#include "platform/ui/wnd.h"

namespace nelvar {

// True, with the edited text, when the dialog ends with OK.
bool PromptParamValue(ui::Wnd* owner, std::string_view name, std::string* text);

}  // namespace nelvar
