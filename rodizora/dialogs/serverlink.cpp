#include "rodizora/dialogs/serverlink.h"

#include "platform/base/text.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/wnd.h"
#include "rodizora/dialogs/connectdlg.h"

namespace {

constexpr ui::UINT kShowNotices = ui::WM_APP + 0x115;

}  // namespace

// A hidden window that hears of notices from the receive thread and shows them on the
// user-interface thread.
class CServerLink::NoticeWindow : public ui::Wnd {
 public:
  explicit NoticeWindow(CServerLink& link) : m_link(link) {}
  ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override {
    if (message != kShowNotices) return ui::Wnd::WindowProc(message, wParam, lParam);
    m_link.ShowNotices();
    return 0;
  }

 private:
  CServerLink& m_link;
};

void CServerLink::WindowPoster::post() { ui::PostMessage(window.load(), message, wParam, 0); }

UI_BEGIN_MESSAGE_MAP(CServerLink, ui::CmdTarget)
  ui::map::Command(ID_SERVER_CONNECT, &CServerLink::OnServerConnect),
  ui::map::UpdateUI(ID_SERVER_CONNECT, &CServerLink::OnUpdateServerConnect),
UI_END_MESSAGE_MAP()

CServerLink::CServerLink(ServerConnectionLimits limits)
    : m_openReceived(ui::WM_COMMAND, ID_OPEN_RECEIVED_FILE),
      m_noticePoster(kShowNotices, 0),
      m_connection(*this, m_openReceived, m_noticePoster, limits) {}

CServerLink::~CServerLink() {
  m_connection.Disconnect();
  if (m_noticeWindow && m_noticeWindow->IsWindow()) m_noticeWindow->DestroyWindow();
}

void CServerLink::OnServerConnect() {
  if (!m_noticeWindow) {
    m_noticeWindow = std::make_unique<NoticeWindow>(*this);
    if (m_noticeWindow->CreateEx(0, nullptr, "", ui::WS_POPUP, ui::Rect(0, 0, 1, 1), nullptr, 0))
      m_noticePoster.window = m_noticeWindow->m_hWnd;
  }
  m_connection.OnServerConnect();
}

void CServerLink::OnUpdateServerConnect(ui::CmdUI* cmdUI) {
  cmdUI->Enable(true);
  cmdUI->SetText(plat::toUtf8(m_connection.ServerConnectText()));
}

bool CServerLink::RunConnectDialog(plat::String16* host, std::uint16_t* port, plat::String16* serverDirectory) {
  CConnectDlg dlg(host, port, serverDirectory, ui::Wnd::FromHandle(m_openReceived.window.load()));
  return dlg.DoModal() == ui::IDOK;
}

void CServerLink::ShowNotices() {
  while (const auto notice = m_connection.TakeNotice())
    ui::AppMessageBox(plat::toUtf8(*notice), ui::MB_OK | ui::MB_ICONEXCLAMATION);
}
