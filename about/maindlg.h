#pragma once
// CMainDlg: the about box. It shows the caller's title and text, the user and company the
// settings name, and the library's picture; when the picture is not the size the template
// designs for it, the whole layout moves to fit. "&Module Info..." lists the spectrum modules
// that can be created, with their versions and build dates.
#include <string>

#include "platform/gdi/objects.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace about {

class CMainDlg : public ui::Dialog {
  UI_DECLARE_MESSAGE_MAP()

 public:
  // Dialog 100 of the current module state; moduleInfo enables "&Module Info...".
  CMainDlg(std::string titleSuffix, std::string bodyText, int moduleInfo, ui::Wnd* parent = nullptr);

  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange* dx) override;
  // Button 1002: the module information in a message box.
  void ShowModuleInfo();

 private:
  // Moves and resizes item id by the given amounts, in the dialog's client coordinates.
  void MoveDlgItem(ui::UINT id, int dx, int dy, int dwidth, int dheight);
  // Moves the layout by the difference between the picture and its designed size.
  void FitPicture(ui::Size picture);

  ui::Static m_body;       // 1000
  ui::Static m_user;       // 1004
  ui::Static m_picture;    // 1001
  gdi::Bitmap m_bitmap;    // bitmap 2001
  std::string m_titleSuffix;
  std::string m_bodyText;
  ui::Button m_moduleInfoButton;  // 1002
  int m_moduleInfo;
};

}  // namespace about
