#include "spectrum/control/dialogs/listdialog.h"

#include "platform/ui/controls.h"
#include "platform/ui/resource.h"

UI_IMPLEMENT_DYNAMIC(CListDialog, ui::Dialog)

UI_BEGIN_MESSAGE_MAP(CListDialog, ui::Dialog)
  ui::map::Control(ui::LBN_DBLCLK, CListDialog::kListId, &CListDialog::OnDblClkList),
UI_END_MESSAGE_MAP()

CListDialog::CListDialog(std::vector<std::string> choices, ui::Wnd* parent)
    : ui::Dialog(kTemplateId, parent), m_choices(std::move(choices)) {}

bool CListDialog::OnInitDialog() {
  ui::Dialog::OnInitDialog();
  if (auto* list = static_cast<ui::ListBox*>(GetDlgItem(kListId)))
    for (const std::string& choice : m_choices) list->AddString(choice);
  return true;
}

void CListDialog::OnOK() {
  const auto* list = static_cast<ui::ListBox*>(GetDlgItem(kListId));
  m_chosen = list ? list->GetCurSel() : -1;
  ui::Dialog::OnOK();
}

// A double click picks the line under it at once.
void CListDialog::OnDblClkList() { OnOK(); }

std::int32_t ChooseFromListDialog(const std::vector<std::string>& choices) {
  CListDialog dialog(choices);
  dialog.DoModal();
  return dialog.m_chosen;
}
