// The explorer-style file dialog base.
#include "foundation/filedlg/filedlgex.h"

#include <algorithm>
#include <cstring>

#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "foundation/filedlg/filedlgres.h"
#include "foundation/profdesc.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/ui/app.h"
#include "platform/ui/metrics.h"
#include "profile/profile.h"

namespace {

using namespace filedlg_res;

constexpr CFileColumn kColumns[] = {
    {IDS_COL_NAME, ui::LVCFMT_CENTER}, {IDS_COL_TYPE, ui::LVCFMT_CENTER}, {IDS_COL_FORMAT, ui::LVCFMT_CENTER},
    {IDS_COL_DATE, ui::LVCFMT_CENTER}, {IDS_COL_SIZE, ui::LVCFMT_CENTER},
};
// Popup, caption, system menu, sizing border.
constexpr ui::DWORD kDialogStyle = 0x80CC0080;
constexpr int kDialogWidth = 550, kDialogHeight = 440;
constexpr plat::DWord kControlContext = 0x15;

std::string TakeString(plat::ole::Bstr& text) {
  std::string out = plat::toUtf8(plat::ole::stringView(text));
  plat::ole::freeString(text);
  text = nullptr;
  return out;
}

bool InsideScreen(ui::Point p) {
  return p.x >= 0 && p.y >= 0 && p.x <= ui::GetSystemMetrics(ui::SM_CXSCREEN) && p.y <= ui::GetSystemMetrics(ui::SM_CYSCREEN);
}

}  // namespace

// --- Identification through spectrum controls ------------------------------------------------------

void CSpcControlIdentifier::Begin() {
  for (const plat::ole::Guid& clsid : m_classes) {
    void* object = nullptr;
    if (plat::ole::createInstance(clsid, nullptr, kControlContext, IID_ISpectrumControl, &object) == plat::ole::S_OK &&
        object)
      m_controls.push_back(static_cast<ISpectrumControl*>(object));
  }
}

void CSpcControlIdentifier::End() {
  for (ISpectrumControl*& control : m_controls) plat::ole::releaseInterface(control);
  m_controls.clear();
}

bool CSpcControlIdentifier::IdentifyFile(const std::string& path, std::string* formatName, std::string* typeName) {
  if (m_controls.empty()) return false;
  plat::ole::Bstr bpath = plat::ole::allocString(plat::toUtf16(path));
  bool found = false;
  for (ISpectrumControl* control : m_controls) {
    plat::ole::Bstr format = nullptr;
    plat::ole::Bstr kinds = nullptr;
    const bool ok = control->GetFileFormats(bpath, &format, &kinds) == plat::ole::S_OK;
    const std::string f = TakeString(format);
    const std::string k = TakeString(kinds);
    if (!ok) continue;
    if (formatName) *formatName = f;
    if (typeName) *typeName = k;
    found = true;
    break;
  }
  plat::ole::freeString(bpath);
  return found;
}

// --- The dialog ----------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CFileDlgEx, CExplorFrame)

UI_BEGIN_MESSAGE_MAP(CFileDlgEx, CExplorFrame)
  ui::map::Create(&CFileDlgEx::OnCreate),
  ui::map::Destroy(&CFileDlgEx::OnDestroy),
  ui::map::Command(IDC_UP_FOLDER, &CFileDlgEx::OnUpFolder),
  ui::map::Command(static_cast<ui::UINT>(ui::IDCANCEL), &CFileDlgEx::OnCancel),
  ui::map::Control(ui::CBN_SELCHANGE, IDC_PATH_COMBO, &CFileDlgEx::OnSelChangePath),
UI_END_MESSAGE_MAP()

CFileDlgEx::CFileDlgEx() : m_controlClasses{CLSID_Spc} {}

CFileDlgEx::~CFileDlgEx() {
  if (IsWindow()) DestroyWindow();
}

std::span<const CFileColumn> CFileDlgEx::GetColumns() const { return kColumns; }

std::unique_ptr<CFileIdentifier> CFileDlgEx::CreateIdentifier() {
  return std::make_unique<CSpcControlIdentifier>(m_controlClasses);
}

ui::COLORREF CFileDlgEx::GetFileColor(const std::string& path) {
  for (const std::string& marked : m_markedPaths)
    if (plat::equalsNoCase(marked, path)) return kMarkedColor;
  return 0;
}

std::string CFileDlgEx::GetPathName(std::size_t index) const {
  const std::string& dir = GetCurrentDirectory();
  const std::string folder = dir == "/" ? dir : dir + "/";
  return index < m_resultNames.size() ? folder + m_resultNames[index] : folder;
}

int CFileDlgEx::DoModal(const std::vector<std::string>& marked, ui::Wnd* parent) {
  m_markedPaths = marked;
  m_resultNames.clear();
  if (IsWindow()) {
    // A listing stopped before its end (the last run ended early) starts again.
    if (IsListingComplete()) RecolorItems();
    else Refresh();
  } else {
    ui::Wnd* owner = parent ? parent->GetTopLevelParent() : nullptr;
    if (!owner && ui::App::Get()) owner = ui::App::Get()->GetMainWnd();
    // The first listing waits until the dialog has read its settings.
    HoldListing(true);
    const std::string cls = ui::RegisterWndClass(ui::CS_DBLCLKS, ui::LoadStandardCursor(ui::IDC_ARROW));
    if (!Create(cls.c_str(), GetTitle(), kDialogStyle, ui::Rect(0, 0, kDialogWidth, kDialogHeight), owner)) {
      HoldListing(false);
      return ui::IDCANCEL;
    }
  }
  HoldListing(true);
  ShowWindow(ui::SW_SHOWNOACTIVATE);
  InitControls();
  HoldListing(false);
  const int result = m_loop.Run(this);
  StopListing();
  if (IsWindow()) ShowWindow(ui::SW_HIDE);
  return result == ui::IDOK ? ui::IDOK : ui::IDCANCEL;
}

bool CFileDlgEx::PreCreateWindow(ui::CREATESTRUCT& cs) {
  if (!CExplorFrame::PreCreateWindow(cs)) return false;
  COrvProfDesc desc;
  ui::WINDOWPLACEMENT wp;
  unsigned length = sizeof wp;
  // Only a whole placement of the right size, both corners on the screen.
  if (OrvGetProfBinary(plat::toUtf16(GetTitle()).c_str(), &wp, &length, &desc) == PROF_OK && length == sizeof wp &&
      wp.length == sizeof wp) {
    const ui::Rect& r = wp.rcNormalPosition;
    if (r.Width() > 0 && r.Height() > 0 && InsideScreen(r.TopLeft()) && InsideScreen(r.BottomRight())) {
      cs.x = r.left;
      cs.y = r.top;
      cs.cx = r.Width();
      cs.cy = r.Height();
      return true;
    }
  }
  // No stored place: centred on the owner (on the screen without one), and kept on the screen.
  const int screenWidth = ui::GetSystemMetrics(ui::SM_CXSCREEN), screenHeight = ui::GetSystemMetrics(ui::SM_CYSCREEN);
  ui::Rect around(0, 0, screenWidth, screenHeight);
  if (const ui::Wnd* owner = ui::Wnd::FromHandle(cs.hwndParent)) owner->GetWindowRect(&around);
  cs.x = std::clamp(around.left + (around.Width() - cs.cx) / 2, 0, std::max(0, screenWidth - cs.cx));
  cs.y = std::clamp(around.top + (around.Height() - cs.cy) / 2, 0, std::max(0, screenHeight - cs.cy));
  return true;
}

int CFileDlgEx::OnCreate(ui::CREATESTRUCT* cs) {
  if (CExplorFrame::OnCreate(cs) == -1) return -1;
  if (!m_topBar.Create(this, IDD_LOOKIN_BAR, ui::WS_CHILD | ui::WS_VISIBLE | ui::CBRS_TOP, ID_LOOKIN_BAR)) return -1;
  m_pathCombo.SubclassDlgItem(IDC_PATH_COMBO, &m_topBar);
  if (auto* up = dynamic_cast<ui::Button*>(m_topBar.GetDlgItem(IDC_UP_FOLDER))) up->SetBitmap(ui::LoadBitmap(IDB_UPFOLDER));
  RecalcLayout();
  Refresh();
  return 0;
}

void CFileDlgEx::OnDestroy() {
  m_resultNames.clear();
  m_loop.End(ui::IDCANCEL);
  StopListing();
  ui::WINDOWPLACEMENT wp;
  if (GetWindowPlacement(&wp)) {
    COrvProfDesc desc;
    OrvSetProfBinary(plat::toUtf16(GetTitle()).c_str(), &wp, sizeof wp, &desc);
  }
  CExplorFrame::OnDestroy();
}

void CFileDlgEx::Refresh() {
  CExplorFrame::Refresh();
  FillPathCombo();
}

void CFileDlgEx::FillPathCombo() {
  if (!m_pathCombo.IsWindow()) return;
  m_pathCombo.ResetContent();
  m_comboPaths.clear();
  m_pathCombo.AddString("/");
  m_comboPaths.push_back("/");
  const std::string& dir = GetCurrentDirectory();
  std::string indent;
  std::size_t start = 1;
  while (start < dir.size()) {
    std::size_t end = dir.find('/', start);
    if (end == std::string::npos) end = dir.size();
    indent += "   ";
    m_pathCombo.AddString(indent + dir.substr(start, end - start));
    m_comboPaths.push_back(dir.substr(0, end));
    start = end + 1;
  }
  m_pathCombo.SetCurSel(m_pathCombo.GetCount() - 1);
}

void CFileDlgEx::RecolorItems() {
  ui::ListCtrl& list = FileList();
  for (int i = 0; i < list.GetItemCount(); ++i)
    list.SetItemData(i, GetFileColor(plat::joinPath(GetCurrentDirectory(), list.GetItemText(i, 0))));
}

void CFileDlgEx::OnUpFolder() {
  const std::string& dir = GetCurrentDirectory();
  if (dir == "/") return;
  SetCurrentDirectory(dir.substr(0, std::max<std::size_t>(1, dir.rfind('/'))));
  Refresh();
}

void CFileDlgEx::OnCancel() {
  m_resultNames.clear();
  m_loop.End(ui::IDCANCEL);
}

void CFileDlgEx::OnSelChangePath() {
  const int sel = m_pathCombo.GetCurSel();
  if (sel < 0 || static_cast<std::size_t>(sel) >= m_comboPaths.size()) return;
  SetCurrentDirectory(m_comboPaths[static_cast<std::size_t>(sel)]);
  Refresh();
}

int CFileDlgEx::FileRowAt(const ui::NMHDR* hdr) {
  if (!hdr) return -1;
  const auto* nm = reinterpret_cast<const ui::NMITEMACTIVATE*>(hdr);
  int row = -1;
  return HitTestFileList(nm->ptAction, &row, nullptr) ? row : -1;
}

void CFileDlgEx::OnFileListDblClk(ui::NMHDR* hdr, ui::LRESULT*) {
  const int row = FileRowAt(hdr);
  if (row < 0) return;
  m_resultNames.assign(1, FileList().GetItemText(row, 0));
  m_loop.End(ui::IDOK);
}
