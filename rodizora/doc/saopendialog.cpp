#include "rodizora/doc/saopendialog.h"

#include "platform/base/text.h"
#include "rodizora/doc/sasettings.h"

namespace {

CFileOpenDlg*& Lent() {
  static CFileOpenDlg* dialog = nullptr;
  return dialog;
}

std::vector<std::string> Choose(CFileOpenDlg& dialog, ui::Wnd* owner) {
  if (!dialog.IsWindow()) dialog.SetCurrentDirectory(plat::toUtf8(SaSettings().loadDirectory));
  std::vector<std::string> paths;
  if (dialog.DoModal({}, owner) != ui::IDOK) return paths;
  for (std::size_t i = 0; i < dialog.GetResultNames().size(); ++i) paths.push_back(dialog.GetPathName(i));
  return paths;
}

}  // namespace

void SetSaOpenDialog(CFileOpenDlg* dialog) { Lent() = dialog; }

std::vector<std::string> ChooseSpectrumFiles(ui::Wnd* owner) {
  if (CFileOpenDlg* dialog = Lent()) return Choose(*dialog, owner);
  CFileOpenDlg ownDialog;
  return Choose(ownDialog, owner);
}
