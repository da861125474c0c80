#include "platform/ole/insertdlg.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/com/regkeys.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"

namespace plat::ole {

namespace {

constexpr ui::UINT kStatic = 0xFFFF;

const ui::DialogItemResource kItems[] = {
    {"STATIC", kStatic, "Object &Type:", ui::SS_LEFT, 7, 7, 150, 8},
    {"LISTBOX", InsertObjectDialog::kClassListId, "",
     ui::LBS_NOTIFY | ui::LBS_NOINTEGRALHEIGHT | ui::WS_VSCROLL | ui::WS_BORDER | ui::WS_TABSTOP, 7, 18, 150, 100},
    {"BUTTON", ui::IDOK, "OK", ui::BS_DEFPUSHBUTTON | ui::WS_TABSTOP, 165, 18, 50, 14},
    {"BUTTON", ui::IDCANCEL, "Cancel", ui::BS_PUSHBUTTON | ui::WS_TABSTOP, 165, 36, 50, 14},
};

const ui::DialogResource kTemplate{0,  "Insert Object", ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU | ui::DS_MODALFRAME,
                                   0,  0, 222, 125, "MS Sans Serif", 8, kItems};

}  // namespace

std::vector<InsertableClass> insertableClasses() {
  std::vector<InsertableClass> classes;
  reg::Key root = reg::kNoKey;
  if (reg::openKey(reg::kClassesRoot, u"CLSID", reg::kRead, &root) != reg::Status::Success) return classes;
  String16 name;
  for (std::uint32_t i = 0; reg::enumKey(root, i, &name) == reg::Status::Success; ++i) {
    InsertableClass entry;
    const String16 key = u"CLSID\\" + name;
    if (!guidFromString(name, &entry.clsid) || !regkeys::exists(reg::kClassesRoot, key + u"\\Insertable")) continue;
    if (!regkeys::readString(reg::kClassesRoot, key, u"", &entry.typeName) || entry.typeName.empty()) continue;
    classes.push_back(std::move(entry));
  }
  reg::closeKey(root);
  std::stable_sort(classes.begin(), classes.end(), [](const InsertableClass& a, const InsertableClass& b) {
    return compareNoCase(a.typeName, b.typeName) < 0;
  });
  return classes;
}

UI_BEGIN_MESSAGE_MAP(InsertObjectDialog, ui::Dialog)
  ui::map::Control(ui::LBN_DBLCLK, InsertObjectDialog::kClassListId, &InsertObjectDialog::OnOK),
UI_END_MESSAGE_MAP()

InsertObjectDialog::InsertObjectDialog(ui::Wnd* parent) {
  m_template = &kTemplate;
  m_pParentWnd = parent;
}

ui::ListBox* InsertObjectDialog::ClassList() const { return static_cast<ui::ListBox*>(GetDlgItem(kClassListId)); }

bool InsertObjectDialog::OnInitDialog() {
  ui::Dialog::OnInitDialog();
  classes_ = insertableClasses();
  ui::ListBox* list = ClassList();
  if (!list) return true;
  list->ResetContent();
  for (const InsertableClass& entry : classes_) list->AddString(toUtf8(entry.typeName));
  if (!classes_.empty()) list->SetCurSel(0);
  if (ui::Wnd* ok = GetDlgItem(ui::IDOK)) ok->EnableWindow(!classes_.empty());
  return true;
}

void InsertObjectDialog::OnOK() {
  const ui::ListBox* list = ClassList();
  const int index = list ? list->GetCurSel() : -1;
  if (index < 0 || static_cast<std::size_t>(index) >= classes_.size()) return;
  chosen_ = classes_[static_cast<std::size_t>(index)].clsid;
  EndDialog(ui::IDOK);
}

}  // namespace plat::ole
