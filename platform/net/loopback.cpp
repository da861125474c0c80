#include "platform/net/loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace plat::net {

LoopbackServer::LoopbackServer() {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 8) != 0 ||
      ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close();
    return;
  }
  port_ = ntohs(address.sin_port);
}

LoopbackServer::~LoopbackServer() { close(); }

void LoopbackServer::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

NetResult LoopbackServer::accept(TcpSocket* client, const Wait& wait) {
  const auto end = std::chrono::steady_clock::now() + wait.limit;
  for (;;) {
    if (fd_ < 0) return NetResult::Failed;
    const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) {
      *client = TcpSocket::adopt(fd);
      return NetResult::Ok;
    }
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return NetResult::Failed;
    if (wait.stop.stop_requested()) return NetResult::Stopped;
    if (wait.limit.count() >= 0 && std::chrono::steady_clock::now() >= end) return NetResult::TimedOut;
    pollfd p{fd_, POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(kPollSlice.count()));
  }
}

}  // namespace plat::net
