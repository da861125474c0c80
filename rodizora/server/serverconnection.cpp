#include "rodizora/server/serverconnection.h"

#include <algorithm>
#include <vector>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "rodizora/server/receivedfile.h"

using plat::net::NetResult;
using plat::net::Wait;

namespace {

constexpr std::size_t kChunk = 64 * 1024;

}  // namespace

CServerConnection::CServerConnection(IServerConnectionUi& ui, plat::net::UiPoster& openReceivedFile,
                                     plat::net::UiPoster& showNotice, ServerConnectionLimits limits)
    : m_ui(ui), m_limits(limits), m_receivedPaths(openReceivedFile), m_notices(showNotice) {}

CServerConnection::~CServerConnection() { Disconnect(); }

void CServerConnection::OnServerConnect() {
  if (IsConnected()) {
    Disconnect();
    return;
  }
  // A thread still connecting gives way to the new attempt: one worker at a time.
  Disconnect();
  m_host = kDefaultHost;
  m_port = kDefaultServerPort;
  if (!m_ui.RunConnectDialog(&m_host, &m_port, &m_serverDirectory)) return;
  Target target{plat::toUtf8(m_host), m_port, plat::toPosixPath(plat::toUtf8(m_serverDirectory))};
  m_worker.start([this, target = std::move(target)](std::stop_token stop) { ReceiveThreadProc(stop, target); },
                 plat::net::ThreadPriority::BelowNormal);
}

const char16_t* CServerConnection::ServerConnectText() const {
  return IsConnected() ? u"&Disconnect" : u"&Connect to Server";
}

void CServerConnection::Disconnect() {
  m_worker.stopAndJoin();
  m_connected = false;
}

void CServerConnection::RemoveLeftovers() const {
  CReceivedFile::RemoveStale(plat::toPosixPath(plat::toUtf8(m_serverDirectory)));
}

void CServerConnection::ReceiveThreadProc(std::stop_token stop, const Target& target) {
  CReceivedFile::RemoveStale(target.folder);
  plat::net::TcpSocket socket;
  if (socket.connect(target.host, target.port, Wait{stop, m_limits.connectTimeout}) != NetResult::Ok) return;
  m_connected = true;
  m_log.Write(target.folder, "connected to " + target.host + ":" + std::to_string(target.port));
  const Ending ending = ReceiveFiles(socket, stop, target.folder);
  socket.close();
  m_connected = false;
  if (ending.end == End::Stopped) {
    m_log.Write(target.folder, "disconnected");
    return;
  }
  const plat::String16 notice = NoticeText(ending, target.folder);
  m_log.Write(target.folder, plat::toUtf8(notice));
  m_notices.push(notice);
}

std::optional<plat::String16> CServerConnection::RefuseOpen(const plat::String16& path, std::size_t openDocuments,
                                                            std::uint64_t openBytes) {
  const std::string file = plat::toUtf8(path);
  const std::uint64_t size = plat::fileInfo(file).size;
  std::string why;
  if (openDocuments >= m_limits.maxOpenDocuments)
    why = std::to_string(openDocuments) + " documents from the data server are open, the most the program keeps open";
  else if (openBytes + size > m_limits.maxOpenBytes)
    why = "the documents from the data server would hold " + std::to_string(openBytes + size) +
          " bytes of files, more than the " + std::to_string(m_limits.maxOpenBytes) + " the program keeps open";
  if (why.empty()) {
    m_refusing = false;
    return std::nullopt;
  }
  m_log.Write(std::string(plat::pathDirectory(file)), "not opened: " + std::string(plat::pathFileName(file)) + ": " + why);
  const bool first = !m_refusing;
  m_refusing = true;
  if (!first) return plat::String16();
  return plat::toUtf16("The data server sent " + std::string(plat::pathFileName(file)) +
                       ", which was stored in the server directory but not opened: " + why +
                       ". Files that follow are kept the same way until documents are closed; the log " +
                       CServerLog::kFileName + " in the server directory lists them.");
}

CServerConnection::Ending CServerConnection::ReceiveFiles(plat::net::TcpSocket& socket, const std::stop_token& stop,
                                                           const std::string& folder) {
  const Wait idle{stop};
  const Wait inFile{stop, m_limits.silenceInFile};
  // A receive that ends a message early: stopped, cut off by the server, silent or failed.
  auto broken = [](NetResult result) {
    return Ending{result == NetResult::Stopped ? End::Stopped
                  : result == NetResult::Closed ? End::CutOff
                  : result == NetResult::TimedOut ? End::Silent : End::Failed};
  };
  std::vector<unsigned char> chunk(kChunk);
  for (;;) {
    if (const NetResult ready = socket.waitReadable(idle); ready != NetResult::Ok) return broken(ready);
    unsigned char lengthBytes[4];
    std::size_t got = 0;
    if (const NetResult r = socket.receiveAll(lengthBytes, sizeof lengthBytes, inFile, &got); r != NetResult::Ok)
      return r == NetResult::Closed && got == 0 ? Ending{End::ServerClosed} : broken(r);
    const std::uint32_t length = std::uint32_t(lengthBytes[0]) | std::uint32_t(lengthBytes[1]) << 8 |
                                 std::uint32_t(lengthBytes[2]) << 16 | std::uint32_t(lengthBytes[3]) << 24;
    if (length < kServerFileHeaderSize || length > m_limits.maxFileSize) return Ending{End::BadLength, length};

    unsigned char header[kServerFileHeaderSize];
    if (const NetResult r = socket.receiveAll(header, sizeof header, inFile); r != NetResult::Ok) return broken(r);
    const std::string name = ServerFileName(header);
    if (name.empty()) return Ending{End::BadName};

    CReceivedFile file;
    if (!file.Create(folder) || !file.Write(header, sizeof header)) return Ending{End::CannotWrite};
    for (std::uint32_t left = length - kServerFileHeaderSize; left > 0;) {
      const NetResult r = socket.receiveSome(chunk.data(), std::min<std::size_t>(left, chunk.size()), &got, inFile);
      if (r != NetResult::Ok) return broken(r);
      if (!file.Write(chunk.data(), got)) return Ending{End::CannotWrite};
      left -= static_cast<std::uint32_t>(got);
    }
    const std::string path = plat::joinPath(folder, name);
    if (!file.Commit(path)) return Ending{End::CannotWrite};
    m_log.Write(folder, "received " + name + " (" + std::to_string(length) + " bytes)");
    m_receivedPaths.push(plat::toUtf16(path));
  }
}

plat::String16 CServerConnection::NoticeText(const Ending& ending, const std::string& folder) const {
  std::string text;
  switch (ending.end) {
    case End::Stopped:
    case End::ServerClosed:
      text = "The data server closed the connection.";
      break;
    case End::CutOff:
      text = "The data server closed the connection in the middle of a file; the incomplete file was discarded.";
      break;
    case End::Silent:
      text = "The data server stopped sending in the middle of a file; the incomplete file was discarded and "
             "the connection closed.";
      break;
    case End::Failed:
      text = "The connection to the data server failed.";
      break;
    case End::BadLength:
      text = "The data server sent a file of " + std::to_string(ending.length) +
             " bytes; files of 12 to " + std::to_string(m_limits.maxFileSize) +
             " bytes are accepted. The connection was closed.";
      break;
    case End::BadName:
      text = "The data server sent a file whose name cannot be stored in the server directory. "
             "The connection was closed.";
      break;
    case End::CannotWrite:
      text = "A received file could not be written to the server directory \"" + folder +
             "\". The connection was closed.";
      break;
  }
  return plat::toUtf16(text);
}
