#pragma once
// CFileOpenDlg: the explorer-style open dialog: one or more recognised files chosen from the
// file list ("&Open" takes every selected row; a double click takes the row under the pointer).
#include "foundation/filedlg/filedlgex.h"

class CFileOpenDlg : public CFileDlgEx {
  UI_DECLARE_DYNAMIC(CFileOpenDlg)
  UI_DECLARE_MESSAGE_MAP()

 public:
  ~CFileOpenDlg() override;
  std::string GetTitle() const override { return "Open"; }
  ui::DialogBar& BottomBar() { return m_bottomBar; }

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnOK();
  void OnFileListNotify(ui::NMHDR* hdr, ui::LRESULT* result);

 private:
  ui::DialogBar m_bottomBar;
};
