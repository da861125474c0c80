#pragma once
// CServerLink: the data-server connection as the main program's commands. Command 40114
// (ID_SERVER_CONNECT, always enabled, "&Disconnect" while connected and "&Connect to Server"
// otherwise) runs the connect dialog and starts the receive thread, or stops it. For every file
// received, command 40115 (ID_OPEN_RECEIVED_FILE) is posted to the main window, whose handler
// takes the file's path with TakeReceivedPath and opens it. When the connection ends by a fault,
// the user is told in a message box.
//
// The application routes commands 40114 to this object (OnCmdMsg) and keeps the server
// directory with its settings (Connection().ServerDirectory()). Everything here runs on the
// user-interface thread.
#include <atomic>
#include <memory>
#include <optional>

#include "platform/ui/msgmap.h"
#include "platform/ui/types.h"
#include "rodizora/server/serverconnection.h"

class CServerLink : public ui::CmdTarget, private IServerConnectionUi {
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit CServerLink(ServerConnectionLimits limits = {});
  // Stops the receive thread and waits for it.
  ~CServerLink() override;

  // The window command 40115 goes to; also the connect dialog's owner.
  void SetMainWindow(ui::HWND mainWindow) { m_openReceived.window = mainWindow; }

  void OnServerConnect();
  void OnUpdateServerConnect(ui::CmdUI* cmdUI);
  std::optional<plat::String16> TakeReceivedPath() { return m_connection.TakeReceivedPath(); }

  CServerConnection& Connection() { return m_connection; }

 private:
  // Posts one message to a window, from any thread.
  struct WindowPoster : plat::net::UiPoster {
    WindowPoster(ui::UINT message, ui::WPARAM wParam) : message(message), wParam(wParam) {}
    void post() override;
    std::atomic<ui::HWND> window{ui::kNoWnd};
    const ui::UINT message;
    const ui::WPARAM wParam;
  };
  class NoticeWindow;

  bool RunConnectDialog(plat::String16* host, std::uint16_t* port, plat::String16* serverDirectory) override;
  void ShowNotices();

  WindowPoster m_openReceived;
  WindowPoster m_noticePoster;
  std::unique_ptr<NoticeWindow> m_noticeWindow;
  // Last: stopped and joined before the posters it uses go.
  CServerConnection m_connection;
};
