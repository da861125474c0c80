#include "spectrum/control/console/macrodialog.h"

#include <algorithm>

#include "foundation/profdesc.h"
#include "foundation/proftree.h"
#include "platform/base/text.h"
#include "platform/ui/commdlg.h"
#include "profile/profile.h"
#include "spectrum/control/console/interpreter.h"

namespace nelvar {

namespace {

// Shown when Save could not store the list; the list stored before stays.
constexpr ui::UINT IDS_MACRO_SAVE_FAILED = 3126;

}  // namespace

std::string FormatMacroLines(const std::vector<std::string>& names, const std::vector<std::string>& bodies) {
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < bodies.size(); ++i) text += names[i] + " = " + bodies[i] + "\r\n";
  return text;
}

bool ParseMacroLine(std::string_view line, std::string* name, std::string* body) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals + 1 >= line.size()) return false;
  std::string_view value = line.substr(equals + 1);
  value = value.substr(0, value.find_first_of("\r\n"));
  const std::string_view key = TrimBlanks(line.substr(0, equals));
  if (key.empty()) return false;
  *name = key;
  *body = TrimBlanks(value);
  return true;
}

bool StoreMacros(const std::vector<std::string>& names, const std::vector<std::string>& bodies, MacroWriter write) {
  if (!write) write = &OrvSetProfString;
  COrvProfDesc desc(u"", u"Macros");
  if (desc.Open(PROF_MODE_ALL) != PROF_OK && desc.Create(PROF_MODE_ALL, 0) != PROF_OK) return false;
  std::vector<plat::String16> stale;
  plat::String16 name;
  for (int i = 0; EnumProfValueName(i, &desc, &name) == PROF_OK; ++i) stale.push_back(name);
  bool written = true;
  for (std::size_t i = 0; written && i < names.size() && i < bodies.size(); ++i) {
    const plat::String16 key = plat::toUtf16(names[i]);
    written = write(key.c_str(), plat::toUtf16(bodies[i]).c_str(), &desc) == PROF_OK;
    std::erase_if(stale, [&](const plat::String16& old) { return plat::equalsNoCase(old, key); });
  }
  if (written)
    for (const plat::String16& old : stale) OrvDeleteProfValue(old.c_str(), &desc);
  desc.Close();
  return written;
}

UI_BEGIN_MESSAGE_MAP(CMacroListDlg, ui::Dialog)
  ui::map::Command(IDC_MACRO_SAVE, &CMacroListDlg::OnSave),
UI_END_MESSAGE_MAP()

CMacroListDlg::CMacroListDlg(std::vector<std::string>& names, std::vector<std::string>& bodies, ui::Wnd* parent)
    : ui::Dialog(IDD_MACROLIST, parent), m_names(names), m_bodies(bodies) {}

bool CMacroListDlg::OnInitDialog() {
  ui::Dialog::OnInitDialog();
  m_edit.SubclassDlgItem(IDC_MACRO_EDIT, this);
  m_edit.SetWindowText(FormatMacroLines(m_names, m_bodies));
  return true;
}

void CMacroListDlg::ReadEdit() {
  m_names.clear();
  m_bodies.clear();
  if (!m_edit.IsWindow()) return;
  const int lines = m_edit.GetLineCount();
  for (int i = 0; i < lines; ++i) {
    std::string name, body;
    if (ParseMacroLine(m_edit.GetLine(i), &name, &body)) {
      m_names.push_back(std::move(name));
      m_bodies.push_back(std::move(body));
    }
  }
}

void CMacroListDlg::OnOK() {
  ReadEdit();
  ui::Dialog::OnOK();
}

void CMacroListDlg::OnSave() {
  ReadEdit();
  if (!StoreMacros(m_names, m_bodies)) ui::AppMessageBox(IDS_MACRO_SAVE_FAILED, ui::MB_OK | ui::MB_ICONSTOP);
}

}  // namespace nelvar
