#pragma once
// CDirDlg, "Select directory": picks a directory by walking the directory tree. The combo box
// offers the one root of the file system, "/" (there are no drives); the list shows the
// subdirectories of the working directory as "[name]", with "[..]" for the parent everywhere but
// at the root. A double click opens an entry; OK gives the working directory, ending in "/".
//
// The starting text may be relative (taken from the current directory) and may use "\" as its
// separator; "." and ".." in it are resolved by name. Hidden directories (names beginning with
// ".") are not offered.
#include <string>

#include "platform/base/types.h"
#include "platform/ui/dialog.h"

class CDirDlg : public ui::Dialog {
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit CDirDlg(plat::String16* directory, ui::Wnd* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnDriveChange();
  void OnDirOpen();

  const std::string& WorkingDirectory() const { return m_working; }

 private:
  void Refresh();

  plat::String16* m_directory;
  std::string m_working;
};

// The absolute directory a starting text names, with "." and ".." resolved and a trailing "/".
std::string StartingDirectory(const plat::String16& text);
