#include "spectrum/control/pages/schemedialog.h"

#include "platform/ui/resource.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar {

CSaveSchemeDlg::CSaveSchemeDlg(std::string name, ui::Wnd* parent)
    : ui::Dialog(IDD_SAVE_SCHEME, parent), m_strName(std::move(name)) {}

bool CSaveSchemeDlg::OnInitDialog() {
  ui::Dialog::OnInitDialog();
  // The name is what the user came for: the edit takes the focus.
  if (ui::Wnd* edit = GetDlgItem(IDC_SCHEME_NAME)) GotoDlgCtrl(edit);
  return false;
}

void CSaveSchemeDlg::DoDataExchange(ui::DataExchange* dx) { ui::DDX_Text(dx, IDC_SCHEME_NAME, m_strName); }

bool AskSchemeName(ui::Wnd* owner, std::string* name) {
  // The template is the module's, whoever runs the page.
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  CSaveSchemeDlg dialog(name ? *name : std::string(), owner);
  if (dialog.DoModal() != ui::IDOK) return false;
  if (name) *name = dialog.m_strName;
  return true;
}

}  // namespace nelvar
