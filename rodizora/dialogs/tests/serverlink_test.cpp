// The data-server connection as the main program's commands: the connect dialog, the command's
// text, command 40115 posted to the main window for each file, and a notice when the server
// goes away.
#include "rodizora/dialogs/serverlink.h"

#include <chrono>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/net/loopback.h"
#include "platform/ui/app.h"
#include "platform/ui/responder.h"
#include "rodizora/dialogs/dialogids.h"
#include "rodizora/dialogs/tests/dialogs_fixture.h"
#include "rodizora/server/tests/servermessage.h"

namespace {

using namespace std::chrono_literals;
using plat::net::NetResult;
using ui::ModalKind;
using ui::ModalQuestion;

// The main window: counts the commands 40115 it is sent.
class MainWindow : public ui::Wnd {
 public:
  ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override {
    if (message == ui::WM_COMMAND && ui::LOWORD(wParam) == ID_OPEN_RECEIVED_FILE) ++received;
    return ui::Wnd::WindowProc(message, wParam, lParam);
  }
  int received = 0;
};

class ServerLink : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ui::SetResponder(&m_script);
    m_folder = plat::joinPath(Scratch(), "in");
    ASSERT_TRUE(plat::makeDirectories(m_folder));
    ASSERT_TRUE(m_main.CreateEx(0, nullptr, "main", ui::WS_OVERLAPPEDWINDOW, ui::Rect(0, 0, 300, 200), nullptr, 0));
    m_link = std::make_unique<CServerLink>(ServerConnectionLimits{1 << 20, 2000ms, 300ms});
    m_link->SetMainWindow(m_main.m_hWnd);
  }
  void TearDown() override {
    m_link.reset();
    m_main.DestroyWindow();
    DialogTest::TearDown();
  }
  std::string CommandText() { return ui::QueryCommandState(m_link.get(), ID_SERVER_CONNECT).text; }
  // Command 40114 through the command route, the connect dialog answered with the test server.
  void Connect() {
    m_script.Then(ModalKind::Dialog, [&](ModalQuestion& q) {
      EXPECT_EQ(Text(q.dialog, IDC_PORT), "2309");
      SetText(q.dialog, IDC_ADDRESS, "127.0.0.1");
      SetText(q.dialog, IDC_PORT, std::to_string(m_server.port()));
      SetText(q.dialog, IDC_TARGET_DIRECTORY, m_folder);
      return ui::IDOK;
    });
    ASSERT_TRUE(m_link->OnCmdMsg(ID_SERVER_CONNECT, ui::CN_COMMAND, nullptr, nullptr));
    ASSERT_EQ(m_server.accept(&m_peer, plat::net::Wait{{}, 2000ms}), NetResult::Ok);
    ASSERT_TRUE(ui::App::PumpUntil([&] { return m_link->Connection().IsConnected(); }, 2000));
  }

  std::string m_folder;
  MainWindow m_main;
  ui::ScriptedResponder m_script;
  plat::net::LoopbackServer m_server;
  plat::net::TcpSocket m_peer;
  std::unique_ptr<CServerLink> m_link;
};

TEST_F(ServerLink, FilesReachTheMainWindowAndAServerGoneAwayIsTold) {
  const ui::CommandState idle = ui::QueryCommandState(m_link.get(), ID_SERVER_CONNECT);
  EXPECT_TRUE(idle.enabled);
  EXPECT_EQ(idle.text, "&Connect to Server");
  Connect();
  EXPECT_EQ(CommandText(), "&Disconnect");
  EXPECT_EQ(plat::toUtf8(m_link->Connection().ServerDirectory()), m_folder);

  const std::string file = servertest::ServerFile("ABC", "DX", 100);
  ASSERT_EQ(m_peer.sendAll(servertest::Message(file).data(), file.size() + 4, plat::net::Wait{{}, 2000ms}), NetResult::Ok);
  ASSERT_TRUE(ui::App::PumpUntil([&] { return m_main.received == 1; }, 5000));
  const auto path = m_link->TakeReceivedPath();
  ASSERT_TRUE(path);
  EXPECT_EQ(plat::toUtf8(*path), plat::joinPath(m_folder, "ABC.DX"));
  std::string bytes;
  EXPECT_EQ(plat::readFile(plat::toUtf8(*path), &bytes), plat::FileStatus::Ok);
  EXPECT_EQ(bytes, file);

  m_script.Then(ModalKind::MessageBox, [](ModalQuestion& q) {
    EXPECT_EQ(q.text, "The data server closed the connection.");
    return ui::IDOK;
  });
  m_peer.close();
  ASSERT_TRUE(ui::App::PumpUntil([&] { return m_script.Done(); }, 5000));
  EXPECT_EQ(CommandText(), "&Connect to Server");
  EXPECT_EQ(m_script.Unexpected(), 0);
}

TEST_F(ServerLink, TheCommandDisconnectsAtOnceWithoutANotice) {
  Connect();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(m_link->OnCmdMsg(ID_SERVER_CONNECT, ui::CN_COMMAND, nullptr, nullptr));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 50ms);
  EXPECT_EQ(CommandText(), "&Connect to Server");
  ui::App::PumpUntil([] { return false; }, 50);
  EXPECT_EQ(m_script.Unexpected(), 0);
  EXPECT_TRUE(m_script.Done());
}

}  // namespace
