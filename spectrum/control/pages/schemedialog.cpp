#include "spectrum/control/pages/schemedialog.h"

#include "platform/ui/dialog.h"
#include "platform/ui/resource.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar {

namespace {

class SchemeNameDialog : public ui::Dialog {
 public:
  SchemeNameDialog(std::string name, ui::Wnd* parent) : ui::Dialog(IDD_SAVE_SCHEME, parent), m_name(std::move(name)) {}
  bool OnInitDialog() override {
    ui::Dialog::OnInitDialog();
    // The name is what the user came for: the edit takes the focus.
    if (ui::Wnd* edit = GetDlgItem(IDC_SCHEME_NAME)) GotoDlgCtrl(edit);
    return false;
  }
  void DoDataExchange(ui::DataExchange* dx) override { ui::DDX_Text(dx, IDC_SCHEME_NAME, m_name); }
  std::string m_name;
};

}  // namespace

bool AskSchemeName(ui::Wnd* owner, std::string* name) {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  SchemeNameDialog dialog(name ? *name : std::string(), owner);
  if (dialog.DoModal() != ui::IDOK) return false;
  if (name) *name = dialog.m_name;
  return true;
}

}  // namespace nelvar
