#pragma once
// CFileSaveDlg: the explorer-style save dialog: a file name, a save format and a type (save
// option) of that format. The owner fills the save formats, each entry the format's name and
// its types, all separated by ";", and the proposed file name; after IDOK the dialog gives the
// folder, the name and the chosen indexes, which it also keeps as "SaveFormat" (the format's
// name, default "KEDRUS") and "SaveType" (the type's index, default 0).
#include <string>
#include <vector>

#include "foundation/filedlg/filedlgex.h"

class CFileSaveDlg : public CFileDlgEx {
  UI_DECLARE_DYNAMIC(CFileSaveDlg)
  UI_DECLARE_MESSAGE_MAP()

 public:
  ~CFileSaveDlg() override;
  std::string GetTitle() const override { return "Save"; }
  void InitControls() override;

  // Filled by the owner before DoModal.
  std::vector<std::string> m_saveFormats;
  // The proposed name; after IDOK the chosen one.
  std::string m_fileName;
  // After IDOK: the folder joined with the chosen name, and the chosen indexes (-1: none).
  std::string GetFilePath() const;
  int GetFormatIndex() const { return m_formatCombo.GetCurSel(); }
  int GetTypeIndex() const { return m_typeCombo.GetCurSel(); }

  ui::ComboBox& FormatCombo() { return m_formatCombo; }
  ui::ComboBox& TypeCombo() { return m_typeCombo; }
  ui::Edit& NameEdit() { return m_nameEdit; }
  ui::DialogBar& BottomBar() { return m_bottomBar; }

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnOK();
  void OnSelChangeFormat();
  void OnFileListDblClk(ui::NMHDR* hdr, ui::LRESULT* result) override;
  void OnFileListNotify(ui::NMHDR* hdr, ui::LRESULT* result);
  void OnFileListItemChanged(ui::NMHDR* hdr, ui::LRESULT* result);

 private:
  void FillFormats();
  void PutName();
  ui::DialogBar m_bottomBar;
  ui::ComboBox m_formatCombo;
  ui::ComboBox m_typeCombo;
  ui::Edit m_nameEdit;
};
