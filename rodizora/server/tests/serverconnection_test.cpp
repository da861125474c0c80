// The data-server connection against a test server on the loopback address: what arrives in the
// server directory, what is refused, and how the receive thread ends.
#include "rodizora/server/serverconnection.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/tempname_testing.h"
#include "platform/base/text.h"
#include "platform/net/loopback.h"
#include "rodizora/server/tests/servermessage.h"

namespace {

using namespace std::chrono_literals;
using namespace servertest;
using plat::net::NetResult;
using Clock = std::chrono::steady_clock;

// The files of a folder but the server's log.
std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (const dirent* e = ::readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != ".." && std::string(e->d_name) != CServerLog::kFileName)
        names.push_back(e->d_name);
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Contents(const std::string& path) {
  std::string bytes;
  EXPECT_EQ(plat::readFile(path, &bytes), plat::FileStatus::Ok) << path;
  return bytes;
}

// Counts posts and lets the test wait for them, as the user-interface thread's queue would.
class WaitingPoster : public plat::net::UiPoster {
 public:
  void post() override {
    std::lock_guard lock(m_mutex);
    ++m_posts;
    m_posted.notify_all();
  }
  bool WaitFor(int posts) {
    std::unique_lock lock(m_mutex);
    return m_posted.wait_for(lock, 5s, [&] { return m_posts >= posts; });
  }
  int Posts() {
    std::lock_guard lock(m_mutex);
    return m_posts;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_posted;
  int m_posts = 0;
};

// The connect dialog, answered as a user would: the test server's address and the folder.
struct ScriptedDialog : IServerConnectionUi {
  std::uint16_t serverPort = 0;
  plat::String16 folder;
  bool answer = true;
  std::vector<std::pair<plat::String16, std::uint16_t>> offered;
  bool RunConnectDialog(plat::String16* host, std::uint16_t* port, plat::String16* serverDirectory) override {
    offered.emplace_back(*host, *port);
    *host = u"127.0.0.1";
    *port = serverPort;
    *serverDirectory = folder;
    return answer;
  }
};

class DataServer : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kCap = 4 << 20;

  DataServer() {
    const char* root = std::getenv("KEDRUS_TEST_SCRATCH");
    m_scratch = plat::joinPath(root ? root : "/tmp", ::testing::UnitTest::GetInstance()->current_test_info()->name());
    m_folder = plat::joinPath(m_scratch, "in");
    EXPECT_TRUE(plat::makeDirectories(m_folder));
    // The dialog hands back a folder ending in "\", as folders written on the original platform do.
    m_dialog.folder = plat::toUtf16(m_folder + "\\");
    m_dialog.serverPort = m_server.port();
  }

  // Command 40114 while disconnected, then the test server takes the connection.
  void ConnectPeer() {
    m_connection.OnServerConnect();
    ASSERT_EQ(m_server.accept(&m_peer, plat::net::Wait{{}, 2000ms}), NetResult::Ok);
    const auto end = Clock::now() + 2s;
    while (!m_connection.IsConnected() && Clock::now() < end) std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(m_connection.IsConnected());
  }
  void Send(const std::string& bytes) {
    ASSERT_EQ(m_peer.sendAll(bytes.data(), bytes.size(), plat::net::Wait{{}, 2000ms}), NetResult::Ok);
  }
  // The connection ended with a notice: the thread has let the socket go and cleared the flag.
  void ExpectEndedWithNotice(int notices, const std::string& containing) {
    ASSERT_TRUE(m_notices.WaitFor(notices));
    const auto notice = m_connection.TakeNotice();
    ASSERT_TRUE(notice);
    EXPECT_NE(plat::toUtf8(*notice).find(containing), std::string::npos) << plat::toUtf8(*notice);
    EXPECT_FALSE(m_connection.IsConnected());
    EXPECT_EQ(plat::toUtf8(m_connection.ServerConnectText()), "&Connect to Server");
    if (m_peer.isOpen()) {  // a server still there sees the socket closed
      char byte;
      std::size_t got;
      EXPECT_EQ(m_peer.receiveSome(&byte, 1, &got, plat::net::Wait{{}, 2000ms}), NetResult::Closed);
    }
  }
  std::string InFolder(const std::string& name) const { return plat::joinPath(m_folder, name); }

  std::string m_scratch, m_folder;
  plat::net::LoopbackServer m_server;
  ScriptedDialog m_dialog;
  WaitingPoster m_received, m_notices;
  CServerConnection m_connection{m_dialog, m_received, m_notices,
                                 ServerConnectionLimits{kCap, std::chrono::milliseconds(2000), std::chrono::milliseconds(300)}};
  plat::net::TcpSocket m_peer;
};

TEST_F(DataServer, FilesArriveWholeUnderTheirNamesOnePathPerPost) {
  ConnectPeer();
  EXPECT_EQ(m_dialog.offered.at(0), std::make_pair(plat::String16(u"localhost"), std::uint16_t(2309)));
  EXPECT_EQ(plat::toUtf8(m_connection.ServerConnectText()), "&Disconnect");

  // A symbolic link named like a received file is replaced, not written through.
  const std::string outside = plat::joinPath(m_scratch, "outside");
  ASSERT_TRUE(plat::writeFileAtomic(outside, "keep"));
  ASSERT_EQ(::symlink("../outside", InFolder("LINK").c_str()), 0);

  struct Sent {
    std::string name, extension, stored, file;
  };
  const std::vector<Sent> files = {
      {"ABC", "", "ABC", ServerFile("ABC", "", 0)},            // header only, blank extension: no "."
      {"A.B", "DX", "A.B.DX", ServerFile("A.B", "DX", 1000)},  // inner dots are ordinary
      {"BIG", "FID", "BIG.FID", ServerFile("BIG", "FID", 3 << 20)},
      {"ABC", "", "ABC", ServerFile("ABC", "", 77)},           // a same-name file is replaced
      {"LINK", "", "LINK", ServerFile("LINK", "", 5)},
  };
  for (const Sent& f : files) Send(Message(f.file));
  ASSERT_TRUE(m_received.WaitFor(static_cast<int>(files.size())));
  for (const Sent& f : files) {
    const auto path = m_connection.TakeReceivedPath();
    ASSERT_TRUE(path);
    EXPECT_EQ(plat::toUtf8(*path), m_folder + "/" + f.stored);
  }
  EXPECT_FALSE(m_connection.TakeReceivedPath());
  EXPECT_EQ(Contents(InFolder("ABC")), files[3].file);
  EXPECT_EQ(Contents(InFolder("A.B.DX")), files[1].file);
  EXPECT_EQ(Contents(InFolder("BIG.FID")), files[2].file);
  struct stat st {};
  ASSERT_EQ(::lstat(InFolder("LINK").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(Contents(InFolder("LINK")), files[4].file);
  EXPECT_EQ(Contents(outside), "keep");
  // No temporary file is left behind.
  EXPECT_EQ(Listing(m_folder), (std::vector<std::string>{"A.B.DX", "ABC", "BIG.FID", "LINK"}));
  EXPECT_TRUE(m_connection.IsConnected());
  EXPECT_EQ(m_notices.Posts(), 0);
}

TEST_F(DataServer, MalformedMessagesEndTheConnectionAndWriteNothing) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* notice;
    bool serverCloses = true;
  };
  const std::string body = ServerFile("GOOD", "DX", 1000);
  const std::vector<Case> cases = {
      {"zero-length file", Length(0), "files of 12 to"},
      {"shorter than the name", Length(11) + std::string(11, 'x'), "sent a file of 11 bytes"},
      {"beyond the cap", Length(kCap + 1), "sent a file of 4194305 bytes"},
      {"parent path", Message(ServerFile("../X", "")), "name cannot be stored"},
      {"absolute path", Message(ServerFile("/ETC/X", "")), "name cannot be stored"},
      {"backslash", Message(ServerFile("A\\B", "")), "name cannot be stored"},
      {"slash in the extension", Message(ServerFile("A", "/X")), "name cannot be stored"},
      {"dot dot", Message(ServerFile("..", "")), "name cannot be stored"},
      {"blank name", Message(ServerFile("", "DX")), "name cannot be stored"},
      {"control character", Message(ServerFile("A\x1F", "")), "name cannot be stored"},
      {"cut off in the length", Length(body.size()).substr(0, 2), "middle of a file"},
      {"cut off in the name", Message(body).substr(0, 9), "middle of a file"},
      {"cut off in the body", Message(body).substr(0, 600), "middle of a file"},
      {"silent in the body", Message(body).substr(0, 600), "stopped sending", false},
  };
  int notices = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ConnectPeer();  // the program keeps running and connects again after each
    Send(c.bytes);
    if (c.serverCloses) m_peer.close();
    ExpectEndedWithNotice(++notices, c.notice);
    EXPECT_EQ(m_received.Posts(), 0);
    EXPECT_TRUE(Listing(m_folder).empty());
    EXPECT_EQ(Listing(m_scratch), std::vector<std::string>{"in"});
  }
}

TEST_F(DataServer, DisconnectStopsTheThreadAtOnceAndDropsTheIncompleteFile) {
  ConnectPeer();
  // Idle: waiting for the next message.
  auto start = Clock::now();
  m_connection.OnServerConnect();
  EXPECT_LT(Clock::now() - start, 50ms);
  EXPECT_EQ(plat::toUtf8(m_connection.ServerConnectText()), "&Connect to Server");

  // Inside a file: half of it has come.
  ConnectPeer();
  const std::string file = ServerFile("HALF", "", 100000);
  Send(Message(file).substr(0, 50000));
  std::this_thread::sleep_for(30ms);
  start = Clock::now();
  m_connection.OnServerConnect();
  EXPECT_LT(Clock::now() - start, 50ms);
  EXPECT_FALSE(m_connection.IsConnected());
  EXPECT_TRUE(Listing(m_folder).empty());
  // The user asked for it: no notice.
  EXPECT_EQ(m_notices.Posts(), 0);

  // A server that has gone away at a message boundary is told once, and a new connection works.
  ConnectPeer();
  Send(Message(ServerFile("ONE", "")));
  m_peer.close();
  ExpectEndedWithNotice(1, "closed the connection.");
  ConnectPeer();
  Send(Message(ServerFile("TWO", "")));
  ASSERT_TRUE(m_received.WaitFor(2));
  EXPECT_EQ(Listing(m_folder), (std::vector<std::string>{"ONE", "TWO"}));
}

TEST_F(DataServer, IncompleteFilesOfStoppedProgramsGoWhenAConnectionStarts) {
  const std::string stopped = ".receiving-" + plat::tokensOfAnEndedProcess(1).at(0);
  const std::string receiving = ".receiving-" + plat::uniqueToken();  // another connection's, at work
  for (const std::string& name : {stopped, receiving, std::string(".receiving-notes"), std::string("SAMPLE.DX")})
    ASSERT_TRUE(plat::writeNewFile(InFolder(name), "x"));
  m_connection.SetServerDirectory(plat::toUtf16(m_folder));
  m_connection.RemoveLeftovers();
  std::vector<std::string> kept = {".receiving-notes", receiving, "SAMPLE.DX"};
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(Listing(m_folder), kept);
  ASSERT_TRUE(plat::writeNewFile(InFolder(stopped), "x"));
  ConnectPeer();
  EXPECT_EQ(Listing(m_folder), kept);
}

TEST_F(DataServer, TheLogTellsOfConnectionsFilesAndFaults) {
  ConnectPeer();
  Send(Message(ServerFile("ONE", "DX", 100)));
  ASSERT_TRUE(m_received.WaitFor(1));
  Send(Length(kCap + 1));
  ExpectEndedWithNotice(1, "files of 12 to");
  ConnectPeer();
  m_connection.Disconnect();
  const std::string log = Contents(InFolder(CServerLog::kFileName));
  const std::vector<std::string> expected = {"connected to 127.0.0.1:", "received ONE.DX (112 bytes)",
                                             "sent a file of 4194305 bytes", "connected to", "disconnected"};
  std::size_t at = 0;
  for (const std::string& line : expected) {
    at = log.find(line, at);
    ASSERT_NE(at, std::string::npos) << line << " in\n" << log;
  }
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5);
}

TEST_F(DataServer, FilesBeyondWhatThePeerMayKeepOpenStayUnopenedToldOnceAndLogged) {
  ServerConnectionLimits limits = m_connection.Limits();
  limits.maxOpenDocuments = 3;
  limits.maxOpenBytes = 10000;
  m_connection.SetLimits(limits);
  const std::string small = InFolder("SMALL.DX"), big = InFolder("BIG.DX");
  ASSERT_TRUE(plat::writeNewFile(small, std::string(100, 'x')));
  ASSERT_TRUE(plat::writeNewFile(big, std::string(20000, 'x')));
  EXPECT_FALSE(m_connection.RefuseOpen(plat::toUtf16(small), 2, 9000));
  // One document too many: refused, the user told once for the whole row of refusals.
  const auto first = m_connection.RefuseOpen(plat::toUtf16(small), 3, 0);
  ASSERT_TRUE(first);
  EXPECT_NE(plat::toUtf8(*first).find("SMALL.DX, which was stored in the server directory but not opened: 3 documents"),
            std::string::npos) << plat::toUtf8(*first);
  const auto second = m_connection.RefuseOpen(plat::toUtf16(big), 0, 0);  // too many bytes
  ASSERT_TRUE(second);
  EXPECT_TRUE(second->empty());
  EXPECT_FALSE(m_connection.RefuseOpen(plat::toUtf16(small), 0, 0));
  const std::string log = Contents(InFolder(CServerLog::kFileName));
  EXPECT_NE(log.find("not opened: SMALL.DX: 3 documents from the data server are open"), std::string::npos) << log;
  EXPECT_NE(log.find("not opened: BIG.DX: the documents from the data server would hold 20000 bytes"), std::string::npos) << log;
  // After an open the next refusal is told again.
  const auto again = m_connection.RefuseOpen(plat::toUtf16(big), 0, 0);
  ASSERT_TRUE(again);
  EXPECT_FALSE(again->empty());
}

TEST_F(DataServer, AFailedConnectOrACancelledDialogStaysDisconnectedQuietly) {
  m_dialog.answer = false;
  m_connection.OnServerConnect();
  m_dialog.answer = true;
  m_server.close();
  m_connection.OnServerConnect();
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(m_connection.IsConnected());
  m_connection.Disconnect();
  EXPECT_EQ(m_notices.Posts(), 0);
  // Each attempt offered the defaults again.
  EXPECT_EQ(m_dialog.offered.size(), 2u);
  EXPECT_EQ(m_dialog.offered.at(1), std::make_pair(plat::String16(u"localhost"), std::uint16_t(2309)));
}

TEST_F(DataServer, AFolderThatCannotTakeTheFileEndsTheConnection) {
  m_dialog.folder = plat::toUtf16(plat::joinPath(m_scratch, "missing"));
  ConnectPeer();
  Send(Message(ServerFile("LOST", "")));
  ExpectEndedWithNotice(1, "could not be written");
  EXPECT_EQ(Listing(m_scratch), std::vector<std::string>{"in"});
}

TEST(ServerFile, SixBitNamesAndPortTexts) {
  const unsigned char abc[] = {0x04, 0x20, 0xC0};  // the values 1, 2, 3, 0
  EXPECT_EQ(DecodeSixBitText(abc, 1), "ABC ");
  const unsigned char high[] = {0x7D, 0xFF, 0xFF};  // 31, 31, 63, 63: the characters themselves
  EXPECT_EQ(DecodeSixBitText(high, 1), "\x1F\x1F??");

  struct Port {
    const char16_t* text;
    bool number;
    std::int32_t value;
  };
  for (const Port& p : {Port{u"abc", false, 0}, Port{u"", false, 0}, Port{u" +80x", true, 80}, Port{u"65535", true, 65535},
                        Port{u"-1", true, -1}, Port{u"99999999999999999999", true, 1000000}}) {
    std::int32_t value = 0;
    EXPECT_EQ(ReadPortNumber(p.text, &value), p.number) << plat::toUtf8(p.text);
    if (p.number) {
      EXPECT_EQ(value, p.value) << plat::toUtf8(p.text);
    }
  }
  EXPECT_TRUE(IsServerPort(1) && IsServerPort(65535));
  EXPECT_FALSE(IsServerPort(0) || IsServerPort(65536) || IsServerPort(-1));
}

}  // namespace
