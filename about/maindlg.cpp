#include "about/maindlg.h"

#include <utility>

#include "about/moduleinfo.h"
#include "about/resources.h"
#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "platform/gdi/types.h"
#include "platform/ui/commdlg.h"
#include "profile/profile.h"

namespace about {

namespace {

// A string of the library's default profile section; empty when it is missing.
std::string ProfileText(const char16_t* name) {
  COrvProfDesc desc;
  plat::String16 value;
  OrvGetProfCString(name, &value, u"", &desc);
  return plat::toUtf8(value);
}

// The picture control's designed size in the template's dialog units, of the dialog's 239 x 230.
constexpr int kPictureWidth = 225, kPictureHeight = 60;
constexpr int kDialogWidth = 239, kDialogHeight = 230;

}  // namespace

UI_BEGIN_MESSAGE_MAP(CMainDlg, ui::Dialog)
  ui::map::Control(ui::BN_CLICKED, IDC_MODULE_INFO, &CMainDlg::ShowModuleInfo),
UI_END_MESSAGE_MAP()

CMainDlg::CMainDlg(std::string titleSuffix, std::string bodyText, int moduleInfo, ui::Wnd* parent)
    : ui::Dialog(IDD_ABOUTBOX, parent),
      m_titleSuffix(std::move(titleSuffix)),
      m_bodyText(std::move(bodyText)),
      m_moduleInfo(moduleInfo) {}

void CMainDlg::DoDataExchange(ui::DataExchange* dx) {
  ui::Dialog::DoDataExchange(dx);
  ui::DDX_Control(dx, IDC_BODY, m_body);
  ui::DDX_Control(dx, IDC_PICTURE, m_picture);
  ui::DDX_Control(dx, IDC_MODULE_INFO, m_moduleInfoButton);
  ui::DDX_Control(dx, IDC_USER, m_user);
}

bool CMainDlg::OnInitDialog() {
  const bool result = ui::Dialog::OnInitDialog();
  SetWindowText(GetWindowText() + m_titleSuffix);
  m_body.SetWindowText(m_bodyText);
  m_user.SetWindowText("  " + ProfileText(u"UserName") + "\n  " + ProfileText(u"CompanyName"));
  m_moduleInfoButton.EnableWindow(m_moduleInfo != 0);
  m_bitmap = ui::LoadBitmap(IDB_PICTURE);
  // A picture that did not load keeps the designed layout (and shows nothing).
  if (!m_bitmap.IsNull()) FitPicture(m_bitmap.GetSize());
  m_picture.SendMessage(ui::STM_SETIMAGE, 0, reinterpret_cast<ui::LPARAM>(&m_bitmap));
  return result;
}

void CMainDlg::FitPicture(ui::Size picture) {
  ui::Rect client;
  GetClientRect(&client);
  const int w = gdi::MulDiv(kPictureWidth, client.Width(), kDialogWidth);
  const int h = gdi::MulDiv(kPictureHeight, client.Height(), kDialogHeight);
  if (picture.cx == w && picture.cy == h) return;
  const int dw = picture.cx - w;
  const int dh = picture.cy - h;
  MoveDlgItem(IDC_PICTURE, 0, 0, dw, dh);
  for (UINT id : {IDC_BODY, IDC_USER_LABEL, IDC_USER, IDC_RULE, IDC_NOTICE}) MoveDlgItem(id, 0, dh, dw, 0);
  for (UINT id : {UINT(ui::IDOK), IDC_MODULE_INFO, IDC_CREDITS}) MoveDlgItem(id, dw, dh, 0, 0);
  ui::Rect window;
  GetWindowRect(&window);
  SetWindowPos(nullptr, 0, 0, window.Width() + dw, window.Height() + dh, ui::SWP_NOMOVE | ui::SWP_NOZORDER);
}

void CMainDlg::MoveDlgItem(UINT id, int dx, int dy, int dwidth, int dheight) {
  ui::Wnd* item = GetDlgItem(id);
  if (!item) return;
  ui::Rect r;
  item->GetWindowRect(&r);
  ScreenToClient(&r);
  item->MoveWindow(r.left + dx, r.top + dy, r.Width() + dwidth, r.Height() + dheight, true);
}

void CMainDlg::ShowModuleInfo() {
  const ui::HCURSOR previous = ui::SetCursor(ui::LoadStandardCursor(ui::IDC_WAIT));
  const std::string text = ModuleInfoText();
  ui::SetCursor(previous);
  ui::MessageBox(this, text, GetWindowText(), ui::MB_OK | ui::MB_ICONINFORMATION);
}

}  // namespace about
