#pragma once
// TCP client sockets over POSIX. Every call that can block waits with poll in slices of at most
// kPollSlice and looks at its stop signal between slices, so another thread ends any wait (name
// lookup, connect, receive, send) within one slice by raising the signal.
//
// A socket is used by one thread at a time; stopping it from another thread goes through the
// stop signal, never through the socket object.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>

namespace plat::net {

inline constexpr std::chrono::milliseconds kPollSlice{10};
inline constexpr std::chrono::milliseconds kNoLimit{-1};

enum class NetResult {
  Ok,
  Stopped,   // the stop signal was raised
  TimedOut,  // the peer kept silent for longer than the limit
  Closed,    // the peer closed the connection (end of stream)
  Failed,    // any other failure; lastError() holds its errno (or a name-lookup code)
};
const char* netResultName(NetResult result);

// The stop signal of a blocking call, and how long it may wait for the peer at a time: for a
// connect the whole connect, for a transfer each wait without a byte moving.
struct Wait {
  std::stop_token stop;  // a default token is never raised
  std::chrono::milliseconds limit = kNoLimit;
};

class TcpSocket {
 public:
  TcpSocket() = default;
  ~TcpSocket();
  TcpSocket(TcpSocket&& other) noexcept;
  TcpSocket& operator=(TcpSocket&& other) noexcept;
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  // Takes over a connected stream socket (from accept); it is switched to non-blocking.
  static TcpSocket adopt(int fd);

  // Looks up host (a name, an IPv4 or an IPv6 address) and connects to the first of its
  // addresses that answers. A socket still open is closed first.
  NetResult connect(const std::string& host, std::uint16_t port, const Wait& wait);

  // Waits until bytes (or the peer's close) can be read.
  NetResult waitReadable(const Wait& wait);
  // Reads exactly size bytes. *received (when given) counts the bytes that arrived, also on
  // failure; Closed after some but not all bytes means the stream ended inside the block.
  NetResult receiveAll(void* buffer, std::size_t size, const Wait& wait, std::size_t* received = nullptr);
  // Waits for at least one byte and reads what is there, at most size bytes.
  NetResult receiveSome(void* buffer, std::size_t size, std::size_t* received, const Wait& wait);
  // Sends all bytes (never raises SIGPIPE).
  NetResult sendAll(const void* data, std::size_t size, const Wait& wait);

  void close();
  bool isOpen() const { return fd_ >= 0; }
  int lastError() const { return error_; }

 private:
  explicit TcpSocket(int fd) : fd_(fd) {}
  NetResult fail(int error);

  int fd_ = -1;
  int error_ = 0;
};

}  // namespace plat::net
