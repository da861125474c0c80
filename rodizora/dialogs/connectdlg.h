#pragma once
// CConnectDlg, "Open Connection": the data server's address and port and the directory that
// received files go to. It works on the caller's three values: after ui::IDOK they hold the entries.
//
// A port text that does not start with a number keeps the port as it was; a number outside
// 1-65535 is refused with the system's range message and the dialog stays open. "&Browse" picks
// the directory with CDirDlg, starting from the directory field, and puts the choice into the
// field: the caller's directory changes only when the dialog ends with OK.
#include <cstdint>

#include "platform/base/types.h"
#include "platform/ui/dialog.h"

class CConnectDlg : public ui::Dialog {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CConnectDlg(plat::String16* host, std::uint16_t* port, plat::String16* serverDirectory, ui::Wnd* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnBrowse();

 private:
  plat::String16* m_host;
  std::uint16_t* m_port;
  plat::String16* m_serverDirectory;
};
