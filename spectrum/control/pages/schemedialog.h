#pragma once
// Asking for the name a scheme is saved under: the "Save Scheme As" dialog (213), starting on
// *name; on OK *name is what was typed.
#include <string>

#include "platform/ui/wnd.h"

namespace nelvar {

constexpr ui::UINT IDD_SAVE_SCHEME = 213;
constexpr ui::UINT IDC_SCHEME_NAME = 1041;

bool AskSchemeName(ui::Wnd* owner, std::string* name);

}  // namespace nelvar
