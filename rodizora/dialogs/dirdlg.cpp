#include "rodizora/dialogs/dirdlg.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/base/directory.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/ui/controls.h"
#include "rodizora/dialogs/dialogids.h"

namespace {

constexpr const char* kRoot = "/";
constexpr const char* kParentEntry = "[..]";

std::string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return kRoot;
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

}  // namespace

std::string StartingDirectory(const plat::String16& text) {
  std::string path = plat::toPosixPath(plat::toUtf8(text));
  if (path.empty() || path[0] != '/') path = plat::joinPath(CurrentDirectory(), path);
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (at <= path.size()) {
    const std::size_t next = std::min(path.find('/', at), path.size());
    const std::string part = path.substr(at, next - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = next + 1;
  }
  std::string directory = kRoot;
  for (const std::string& part : parts) directory += part + "/";
  return directory;
}

UI_BEGIN_MESSAGE_MAP(CDirDlg, ui::Dialog)
  ui::map::Control(ui::CBN_SELCHANGE, IDC_DRIVE, &CDirDlg::OnDriveChange),
  ui::map::Control(ui::LBN_DBLCLK, IDC_DIRECTORY_LIST, &CDirDlg::OnDirOpen),
UI_END_MESSAGE_MAP()

CDirDlg::CDirDlg(plat::String16* directory, ui::Wnd* parent) : ui::Dialog(IDD_DIRECTORY, parent), m_directory(directory) {}

bool CDirDlg::OnInitDialog() {
  ui::Dialog::OnInitDialog();
  m_working = StartingDirectory(*m_directory);
  if (auto* roots = static_cast<ui::ComboBox*>(GetDlgItem(IDC_DRIVE))) {
    roots->ResetContent();
    roots->AddString(kRoot);
  }
  Refresh();
  return true;
}

void CDirDlg::Refresh() {
  if (auto* roots = static_cast<ui::ComboBox*>(GetDlgItem(IDC_DRIVE))) roots->SetCurSel(0);
  if (auto* list = static_cast<ui::ListBox*>(GetDlgItem(IDC_DIRECTORY_LIST))) {
    list->ResetContent();
    if (m_working != kRoot) list->AddString(kParentEntry);
    for (const plat::DirEntry& entry : plat::findFiles(m_working, "*"))
      if (entry.isDirectory && entry.name[0] != '.') list->AddString("[" + entry.name + "]");
  }
  SetDlgItemText(IDC_DIRECTORY_PATH, m_working);
}

void CDirDlg::OnDriveChange() {
  auto* roots = static_cast<ui::ComboBox*>(GetDlgItem(IDC_DRIVE));
  if (!roots || roots->GetCurSel() < 0) return;
  m_working = roots->GetLBText(roots->GetCurSel());
  Refresh();
}

void CDirDlg::OnDirOpen() {
  auto* list = static_cast<ui::ListBox*>(GetDlgItem(IDC_DIRECTORY_LIST));
  const int index = list ? list->GetCurSel() : -1;
  if (index < 0) return;
  const std::string entry = list->GetText(index);
  if (entry.size() < 3) return;
  const std::string name = entry.substr(1, entry.size() - 2);
  if (name == "..") {
    // The working directory ends in "/": cut before that one, then after the one before it.
    const std::string withoutLast = m_working.substr(0, m_working.size() - 1);
    const std::size_t parent = withoutLast.rfind('/');
    if (parent == std::string::npos) return;
    m_working = withoutLast.substr(0, parent + 1);
  } else {
    m_working += name + "/";
  }
  Refresh();
}

void CDirDlg::OnOK() {
  *m_directory = plat::toUtf16(m_working);
  EndDialog(ui::IDOK);
}
