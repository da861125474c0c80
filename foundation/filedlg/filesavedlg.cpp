// The explorer-style save dialog.
#include "foundation/filedlg/filesavedlg.h"

#include "foundation/filedlg/filedlgres.h"
#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "profile/profile.h"

using namespace filedlg_res;

namespace {

constexpr ui::UINT kFilePane = ui::AFX_IDW_PANE_FIRST + 16;

// The ";"-separated fields of an entry; empty fields at the end are no fields ("KEDRUS;" is a
// format without types), so the indexes of the others stay those of the save options.
std::vector<std::string> SplitFields(const std::string& entry) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = entry.find(';', start);
    fields.push_back(entry.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  while (fields.size() > 1 && fields.back().empty()) fields.pop_back();
  return fields;
}

}  // namespace

UI_IMPLEMENT_DYNAMIC(CFileSaveDlg, CFileDlgEx)

UI_BEGIN_MESSAGE_MAP(CFileSaveDlg, CFileDlgEx)
  ui::map::Create(&CFileSaveDlg::OnCreate),
  ui::map::Command(static_cast<ui::UINT>(ui::IDOK), &CFileSaveDlg::OnOK),
  ui::map::Control(ui::CBN_SELCHANGE, IDC_SAVE_FORMAT, &CFileSaveDlg::OnSelChangeFormat),
  ui::map::Notify(ui::NM_DBLCLK, kFilePane, &CFileSaveDlg::OnFileListDblClk),
  ui::map::Notify(ui::NM_RETURN, kFilePane, &CFileSaveDlg::OnFileListNotify),
  ui::map::Notify(ui::LVN_ITEMCHANGED, kFilePane, &CFileSaveDlg::OnFileListItemChanged),
UI_END_MESSAGE_MAP()

CFileSaveDlg::~CFileSaveDlg() {
  if (IsWindow()) DestroyWindow();
}

std::string CFileSaveDlg::GetFilePath() const {
  const std::string& dir = GetCurrentDirectory();
  return (dir == "/" ? dir : dir + "/") + m_fileName;
}

int CFileSaveDlg::OnCreate(ui::CREATESTRUCT* cs) {
  if (CFileDlgEx::OnCreate(cs) == -1) return -1;
  if (!m_bottomBar.Create(this, IDD_SAVE_BAR, ui::WS_CHILD | ui::WS_VISIBLE | ui::CBRS_BOTTOM, ID_BOTTOM_BAR)) return -1;
  m_formatCombo.SubclassDlgItem(IDC_SAVE_FORMAT, &m_bottomBar);
  m_typeCombo.SubclassDlgItem(IDC_SAVE_TYPE, &m_bottomBar);
  m_nameEdit.SubclassDlgItem(IDC_FILE_NAME, &m_bottomBar);
  RecalcLayout();
  FillFormats();
  m_formatCombo.SetCurSel(0);
  OnSelChangeFormat();
  PutName();
  return 0;
}

void CFileSaveDlg::FillFormats() {
  m_formatCombo.ResetContent();
  for (const std::string& entry : m_saveFormats) m_formatCombo.AddString(SplitFields(entry).front());
}

void CFileSaveDlg::PutName() {
  m_nameEdit.SetWindowText(m_fileName);
  m_nameEdit.SetSel(0, -1);
  m_nameEdit.SetFocus();
}

void CFileSaveDlg::InitControls() {
  PutName();
  COrvProfDesc desc;
  plat::String16 format;
  OrvGetProfCString(u"SaveFormat", &format, u"KEDRUS", &desc);
  int type = 0;
  OrvGetProfInt(u"SaveType", &type, 0, &desc);
  FillFormats();
  const int stored = m_formatCombo.FindStringExact(-1, plat::toUtf8(format));
  m_formatCombo.SetCurSel(stored >= 0 ? stored : 0);
  OnSelChangeFormat();
  // A type the format no longer has gives its first.
  m_typeCombo.SetCurSel(type >= 0 && type < m_typeCombo.GetCount() ? type : 0);
}

void CFileSaveDlg::OnSelChangeFormat() {
  m_typeCombo.ResetContent();
  const int format = m_formatCombo.GetCurSel();
  if (format >= 0 && static_cast<std::size_t>(format) < m_saveFormats.size()) {
    const std::vector<std::string> fields = SplitFields(m_saveFormats[static_cast<std::size_t>(format)]);
    for (std::size_t i = 1; i < fields.size(); ++i) m_typeCombo.AddString(fields[i]);
  }
  m_typeCombo.EnableWindow(m_typeCombo.GetCount() > 0);
  m_typeCombo.SetCurSel(m_typeCombo.GetCount() > 0 ? 0 : -1);
}

void CFileSaveDlg::OnFileListItemChanged(ui::NMHDR* hdr, ui::LRESULT*) {
  const auto* nm = reinterpret_cast<const ui::NMLISTVIEW*>(hdr);
  if (!nm || nm->iItem < 0 || !(nm->uNewState & ui::LVIS_SELECTED)) return;
  m_nameEdit.SetWindowText(FileList().GetItemText(nm->iItem, 0));
}

void CFileSaveDlg::OnOK() {
  const std::string name = m_nameEdit.GetWindowText();
  if (name.empty()) return;
  m_fileName = name;
  // The worker reads the profile store too: it stops before the settings are written.
  StopListing();
  COrvProfDesc desc;
  const int format = m_formatCombo.GetCurSel();
  OrvSetProfString(u"SaveFormat", plat::toUtf16(format >= 0 ? m_formatCombo.GetLBText(format) : std::string()).c_str(),
                   &desc);
  OrvSetProfInt(u"SaveType", std::max(0, m_typeCombo.GetCurSel()), &desc);
  EndModalLoop(ui::IDOK);
}

// A double click saves under the clicked file's name.
void CFileSaveDlg::OnFileListDblClk(ui::NMHDR* hdr, ui::LRESULT*) {
  const int row = FileRowAt(hdr);
  if (row < 0) return;
  m_resultNames.assign(1, FileList().GetItemText(row, 0));
  m_nameEdit.SetWindowText(m_resultNames.front());
  OnOK();
}

void CFileSaveDlg::OnFileListNotify(ui::NMHDR*, ui::LRESULT*) { OnOK(); }
