#pragma once
// The connection to the data server: command 40114 connects (after the connect dialog) or
// disconnects; one receive thread stores each file the server pushes in the server directory
// and posts command 40115 for it, whose handler takes the file's path from here and opens it.
//
// Threads: everything here but the receive thread's own work is called on the user-interface
// thread. The two shares are an atomic connected flag and locked queues (received paths, notices
// for the user); each value pushed posts once through its UiPoster. The receive thread's copies
// of host, port and folder are taken when it starts, so the dialog never races with it.
//
// Faults on an open connection (the server closing it, a failed or short receive, a length out
// of range, a name that would leave the server directory, a file that cannot be written) end the
// connection cleanly: socket closed, incomplete file removed, flag cleared, and a notice for the
// user. A connect that fails ends silently. Connections, received files, faults and files left
// unopened go to the log in the server directory (CServerLog).
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

#include "platform/base/types.h"
#include "platform/net/postqueue.h"
#include "platform/net/socket.h"
#include "platform/net/thread.h"
#include "rodizora/server/serverfile.h"
#include "rodizora/server/serverlog.h"

inline constexpr unsigned ID_SERVER_CONNECT = 40114;
inline constexpr unsigned ID_OPEN_RECEIVED_FILE = 40115;

// What the main program supplies on the user-interface thread.
class IServerConnectionUi {
 public:
  virtual ~IServerConnectionUi() = default;
  // Runs the connect dialog (CConnectDlg) on the caller's three values; true when the user chose
  // OK, the values then holding the entries.
  virtual bool RunConnectDialog(plat::String16* host, std::uint16_t* port, plat::String16* serverDirectory) = 0;
};

struct ServerConnectionLimits {
  std::uint32_t maxFileSize = std::uint32_t(1) << 30;     // the largest file accepted, in bytes
  std::chrono::milliseconds connectTimeout{10000};
  std::chrono::milliseconds silenceInFile{30000};          // a server silent this long inside a file fails
  // What the server's files may make the program hold at once: the documents opened from
  // received files, and the bytes of those files together. A file beyond either stays in the
  // server directory unopened.
  std::size_t maxOpenDocuments = 16;
  std::uint64_t maxOpenBytes = std::uint64_t(1) << 30;
};

class CServerConnection {
 public:
  // The host the connect dialog offers first.
  static constexpr const char16_t* kDefaultHost = u"localhost";

  // openReceivedFile posts ID_OPEN_RECEIVED_FILE to the main window; showNotice posts a message
  // whose handler shows TakeNotice() to the user. The three must outlive this object.
  CServerConnection(IServerConnectionUi& ui, plat::net::UiPoster& openReceivedFile, plat::net::UiPoster& showNotice,
                    ServerConnectionLimits limits = {});
  // Disconnects: the receive thread is stopped and joined.
  ~CServerConnection();
  CServerConnection(const CServerConnection&) = delete;
  CServerConnection& operator=(const CServerConnection&) = delete;

  // Command 40114: disconnects while connected; otherwise offers the default host and port 2309
  // in the connect dialog and, on OK, starts the receive thread.
  void OnServerConnect();
  // The text of command 40114 (always enabled): "&Disconnect" while connected, else
  // "&Connect to Server".
  const char16_t* ServerConnectText() const;
  bool IsConnected() const { return m_connected.load(); }
  // Stops the receive thread and waits for it (within one polling period).
  void Disconnect();

  // Command 40115: the path of the next received file, one per posted command.
  std::optional<plat::String16> TakeReceivedPath() { return m_receivedPaths.take(); }
  // Command 40115: whether the received file at path must stay unopened while the documents
  // opened from received files are openDocuments documents of openBytes bytes of file. A refusal
  // goes to the log; the first of a row of refusals also answers the text to tell the user (the
  // others an empty text). None when the file may open.
  std::optional<plat::String16> RefuseOpen(const plat::String16& path, std::size_t openDocuments,
                                           std::uint64_t openBytes);
  // The next notice for the user, one per posted notice.
  std::optional<plat::String16> TakeNotice() { return m_notices.take(); }

  // Removes from the server directory the incomplete files that receives of programs stopped
  // midway left behind (the program's start does it, and so does every connect).
  void RemoveLeftovers() const;

  // "Server Directory" (the application reads and writes it with its settings).
  const plat::String16& ServerDirectory() const { return m_serverDirectory; }
  void SetServerDirectory(const plat::String16& directory) { m_serverDirectory = directory; }
  const plat::String16& Host() const { return m_host; }
  std::uint16_t Port() const { return m_port; }
  // The limits of the next connection (and of the opens it asks for).
  void SetLimits(const ServerConnectionLimits& limits) { m_limits = limits; }
  const ServerConnectionLimits& Limits() const { return m_limits; }

 private:
  struct Target {
    std::string host;
    std::uint16_t port;
    std::string folder;
  };
  enum class End { Stopped, ServerClosed, CutOff, Silent, Failed, BadLength, BadName, CannotWrite };
  struct Ending {
    End end;
    std::uint32_t length = 0;  // BadLength: the length sent
  };

  void ReceiveThreadProc(std::stop_token stop, const Target& target);
  Ending ReceiveFiles(plat::net::TcpSocket& socket, const std::stop_token& stop, const std::string& folder);
  plat::String16 NoticeText(const Ending& ending, const std::string& folder) const;

  IServerConnectionUi& m_ui;
  ServerConnectionLimits m_limits;
  plat::String16 m_host = kDefaultHost;
  std::uint16_t m_port = kDefaultServerPort;
  plat::String16 m_serverDirectory;
  std::atomic<bool> m_connected{false};
  CServerLog m_log;
  bool m_refusing = false;  // the last open asked for was refused (user-interface thread)
  plat::net::PostQueue<plat::String16> m_receivedPaths;
  plat::net::PostQueue<plat::String16> m_notices;
  // Last member: destroyed (stopped and joined) before the queues it pushes into.
  plat::net::WorkerThread m_worker;
};
