#include "spectrum/control/console/valueprompt.h"

#include "spectrum/control/dialogs/valuedialogs.h"

namespace nelvar {

bool PromptParamValue(ui::Wnd* owner, std::string_view name, std::string* text) {
  CParamValueDlg dialog(std::string(name), *text, owner);
  if (dialog.DoModal() != ui::IDOK) return false;
  *text = dialog.m_strValue;
  return true;
}

}  // namespace nelvar
