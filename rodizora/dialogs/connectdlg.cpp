#include "rodizora/dialogs/connectdlg.h"

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "rodizora/dialogs/dialogids.h"
#include "rodizora/dialogs/dirdlg.h"
#include "rodizora/server/serverfile.h"

UI_BEGIN_MESSAGE_MAP(CConnectDlg, ui::Dialog)
  ui::map::Control(ui::BN_CLICKED, IDC_BROWSE, &CConnectDlg::OnBrowse),
UI_END_MESSAGE_MAP()

CConnectDlg::CConnectDlg(plat::String16* host, std::uint16_t* port, plat::String16* serverDirectory, ui::Wnd* parent)
    : ui::Dialog(IDD_CONNECT, parent), m_host(host), m_port(port), m_serverDirectory(serverDirectory) {}

bool CConnectDlg::OnInitDialog() {
  ui::Dialog::OnInitDialog();
  SetDlgItemText(IDC_ADDRESS, plat::toUtf8(*m_host));
  SetDlgItemText(IDC_TARGET_DIRECTORY, plat::toUtf8(*m_serverDirectory));
  SetDlgItemText(IDC_PORT, plat::formatUInt(*m_port));
  return true;
}

void CConnectDlg::OnOK() {
  std::int32_t port = 0;
  const bool hasPort = ReadPortNumber(plat::toUtf16(GetDlgItemText(IDC_PORT)), &port);
  if (hasPort) {
    ui::DataExchange dx(this, true);
    dx.PrepareCtrl(IDC_PORT);
    ui::DDV_MinMaxInt(&dx, port, 1, 65535);
    if (dx.m_failed) return;
  }
  *m_host = plat::toUtf16(GetDlgItemText(IDC_ADDRESS));
  *m_serverDirectory = plat::toUtf16(GetDlgItemText(IDC_TARGET_DIRECTORY));
  if (hasPort) *m_port = static_cast<std::uint16_t>(port);
  EndDialog(ui::IDOK);
}

void CConnectDlg::OnBrowse() {
  plat::String16 directory = plat::toUtf16(GetDlgItemText(IDC_TARGET_DIRECTORY));
  CDirDlg dlg(&directory);
  if (dlg.DoModal() == ui::IDOK) SetDlgItemText(IDC_TARGET_DIRECTORY, plat::toUtf8(directory));
}
