// The explorer-style open dialog.
#include "foundation/filedlg/fileopendlg.h"

#include "foundation/filedlg/filedlgres.h"

using namespace filedlg_res;

namespace {
constexpr ui::UINT kFilePane = ui::AFX_IDW_PANE_FIRST + 16;
}

UI_IMPLEMENT_DYNAMIC(CFileOpenDlg, CFileDlgEx)

UI_BEGIN_MESSAGE_MAP(CFileOpenDlg, CFileDlgEx)
  ui::map::Create(&CFileOpenDlg::OnCreate),
  ui::map::Command(static_cast<ui::UINT>(ui::IDOK), &CFileOpenDlg::OnOK),
  ui::map::Notify(ui::NM_DBLCLK, kFilePane, &CFileDlgEx::OnFileListDblClk),
  ui::map::Notify(ui::NM_RETURN, kFilePane, &CFileOpenDlg::OnFileListNotify),
UI_END_MESSAGE_MAP()

CFileOpenDlg::~CFileOpenDlg() {
  if (IsWindow()) DestroyWindow();
}

int CFileOpenDlg::OnCreate(ui::CREATESTRUCT* cs) {
  if (CFileDlgEx::OnCreate(cs) == -1) return -1;
  if (!m_bottomBar.Create(this, IDD_OPEN_BAR, ui::WS_CHILD | ui::WS_VISIBLE | ui::CBRS_BOTTOM, ID_BOTTOM_BAR)) return -1;
  RecalcLayout();
  return 0;
}

void CFileOpenDlg::OnOK() {
  m_resultNames.clear();
  ui::ListCtrl& list = FileList();
  for (int i = list.GetNextItem(-1, ui::LVNI_SELECTED); i >= 0; i = list.GetNextItem(i, ui::LVNI_SELECTED))
    m_resultNames.push_back(list.GetItemText(i, 0));
  EndModalLoop(ui::IDOK);
}

void CFileOpenDlg::OnFileListNotify(ui::NMHDR*, ui::LRESULT*) { OnOK(); }
