#pragma once
// CFileDlgEx: the explorer-style file dialog base: the frame of CExplorFrame run modally, with
// a top bar ("Look in:" with the path combo and the Up button), files recognised by spectrum
// controls created by class id (ISpectrumControl::GetFileFormats), marked files drawn blue, and
// the window placement kept under the dialog's title.
//
// The window is made on the first DoModal and hidden, not destroyed, between uses. The path
// combo lists "/" and then each component of the current folder, indented by 3 blanks a level.
#include <string>
#include <vector>

#include "foundation/filedlg/explorframe.h"
#include "platform/com/guid.h"
#include "platform/ui/bars.h"
#include "platform/ui/controls.h"
#include "platform/ui/modalloop.h"

// Identifies files by asking spectrum controls, each created by class id on the worker's
// thread and released there.
class CSpcControlIdentifier : public CFileIdentifier {
 public:
  explicit CSpcControlIdentifier(std::vector<plat::ole::Guid> classes) : m_classes(std::move(classes)) {}
  ~CSpcControlIdentifier() override { End(); }
  void Begin() override;
  void End() override;
  // The first control whose GetFileFormats succeeds names the format and the type.
  bool IdentifyFile(const std::string& path, std::string* formatName, std::string* typeName) override;

 private:
  std::vector<plat::ole::Guid> m_classes;
  std::vector<class ISpectrumControl*> m_controls;
};

class CFileDlgEx : public CExplorFrame {
  UI_DECLARE_DYNAMIC(CFileDlgEx)
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr ui::COLORREF kMarkedColor = 0xFF0000;  // blue

  CFileDlgEx();
  ~CFileDlgEx() override;

  // Runs the dialog; marked: full paths shown blue. IDOK or IDCANCEL.
  int DoModal(const std::vector<std::string>& marked = {}, ui::Wnd* parent = nullptr);
  // Current folder + "/" + result name index; past the last name, the folder and "/".
  std::string GetPathName(std::size_t index) const;
  const std::vector<std::string>& GetResultNames() const { return m_resultNames; }

  // The classes asked to identify files, in order (CLSID_Spc).
  std::vector<plat::ole::Guid> m_controlClasses;

  std::span<const CFileColumn> GetColumns() const override;
  std::unique_ptr<CFileIdentifier> CreateIdentifier() override;
  ui::COLORREF GetFileColor(const std::string& path) override;
  void Refresh() override;
  ui::ComboBox& PathCombo() { return m_pathCombo; }
  ui::DialogBar& TopBar() { return m_topBar; }

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnDestroy();
  void OnUpFolder();
  void OnCancel();
  void OnSelChangePath();
  // NM_DBLCLK from the file list: the row under the pointer becomes the only result (open).
  virtual void OnFileListDblClk(ui::NMHDR* hdr, ui::LRESULT* result);

 protected:
  bool PreCreateWindow(ui::CREATESTRUCT& cs) override;
  void RecolorItems();
  void EndModalLoop(int result) { m_loop.End(result); }
  // The file list's row at the point a notification carries (the list's own hit test).
  int FileRowAt(const ui::NMHDR* hdr);

  std::vector<std::string> m_resultNames;
  std::vector<std::string> m_markedPaths;

 private:
  void FillPathCombo();
  ui::DialogBar m_topBar;
  ui::ComboBox m_pathCombo;
  std::vector<std::string> m_comboPaths;  // the folder each path combo entry stands for
  ui::ModalLoop m_loop;
};
