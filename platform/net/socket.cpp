#include "platform/net/socket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace plat::net {

namespace {

using Clock = std::chrono::steady_clock;

// When a wait must give up; a negative limit never passes.
class Deadline {
 public:
  explicit Deadline(std::chrono::milliseconds limit)
      : bounded_(limit.count() >= 0), at_(Clock::now() + std::max(limit, std::chrono::milliseconds(0))) {}
  bool passed() const { return bounded_ && Clock::now() >= at_; }
  // The next slice to wait: kPollSlice, or less when the deadline is nearer.
  std::chrono::milliseconds slice() const {
    if (!bounded_) return kPollSlice;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(at_ - Clock::now());
    return std::clamp(left, std::chrono::milliseconds(0), kPollSlice);
  }

 private:
  bool bounded_;
  Clock::time_point at_;
};

// Polls fd for events in slices until it is ready (errors and hang-ups count as ready, so the
// next call reports them), the stop signal is raised or the deadline passes.
NetResult pollFor(int fd, short events, const std::stop_token& stop, const Deadline& deadline, int* error) {
  for (;;) {
    if (stop.stop_requested()) return NetResult::Stopped;
    if (deadline.passed()) return NetResult::TimedOut;
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(deadline.slice().count()));
    if (n > 0) return NetResult::Ok;
    if (n < 0 && errno != EINTR) {
      *error = errno;
      return NetResult::Failed;
    }
  }
}

struct AddressList {
  addrinfo* head = nullptr;
  ~AddressList() {
    if (head) ::freeaddrinfo(head);
  }
};

// A name lookup cannot be interrupted, so a name other than a numeric address is looked up on
// a helper thread of its own; a stopped or timed-out caller leaves it behind, and the helper
// frees the result when it ends.
struct PendingLookup {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  int code = 0;
  AddressList addresses;
};

int lookUp(const std::string& host, std::uint16_t port, const std::stop_token& stop, const Deadline& deadline,
           AddressList* out, NetResult* result) {
  const std::string service = std::to_string(port);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &out->head) == 0) {
    *result = NetResult::Ok;
    return 0;
  }
  auto pending = std::make_shared<PendingLookup>();
  std::thread([pending, host, service] {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
    addrinfo* head = nullptr;
    const int code = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &head);
    std::lock_guard lock(pending->mutex);
    pending->addresses.head = head;
    pending->code = code;
    pending->finished = true;
    pending->done.notify_all();
  }).detach();

  std::unique_lock lock(pending->mutex);
  while (!pending->finished) {
    if (stop.stop_requested() || deadline.passed()) {
      *result = stop.stop_requested() ? NetResult::Stopped : NetResult::TimedOut;
      return 0;
    }
    pending->done.wait_for(lock, deadline.slice());
  }
  if (pending->code != 0) {
    *result = NetResult::Failed;
    return pending->code;
  }
  std::swap(out->head, pending->addresses.head);
  *result = NetResult::Ok;
  return 0;
}

}  // namespace

const char* netResultName(NetResult result) {
  switch (result) {
    case NetResult::Ok: return "ok";
    case NetResult::Stopped: return "stopped";
    case NetResult::TimedOut: return "timed out";
    case NetResult::Closed: return "closed by the peer";
    case NetResult::Failed: return "failed";
  }
  return "?";
}

TcpSocket::~TcpSocket() { close(); }

TcpSocket::TcpSocket(TcpSocket&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(std::exchange(other.error_, 0)) {}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
    error_ = std::exchange(other.error_, 0);
  }
  return *this;
}

TcpSocket TcpSocket::adopt(int fd) {
  if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  return TcpSocket(fd);
}

void TcpSocket::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

NetResult TcpSocket::fail(int error) {
  error_ = error;
  return NetResult::Failed;
}

NetResult TcpSocket::connect(const std::string& host, std::uint16_t port, const Wait& wait) {
  close();
  const Deadline deadline(wait.limit);
  AddressList addresses;
  NetResult result = NetResult::Failed;
  error_ = lookUp(host, port, wait.stop, deadline, &addresses, &result);
  if (result != NetResult::Ok) return result;
  for (const addrinfo* a = addresses.head; a; a = a->ai_next) {
    fd_ = ::socket(a->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
      result = fail(errno);
      continue;
    }
    if (::connect(fd_, a->ai_addr, a->ai_addrlen) == 0) return NetResult::Ok;
    if (errno != EINPROGRESS) {
      result = fail(errno);
      close();
      continue;
    }
    result = pollFor(fd_, POLLOUT, wait.stop, deadline, &error_);
    if (result == NetResult::Ok) {
      int soError = 0;
      socklen_t length = sizeof soError;
      if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &soError, &length) != 0) soError = errno;
      if (soError == 0) return NetResult::Ok;
      result = fail(soError);
    }
    close();
    if (result == NetResult::Stopped || result == NetResult::TimedOut) return result;
  }
  return result;
}

NetResult TcpSocket::waitReadable(const Wait& wait) {
  if (fd_ < 0) return fail(EBADF);
  return pollFor(fd_, POLLIN, wait.stop, Deadline(wait.limit), &error_);
}

NetResult TcpSocket::receiveSome(void* buffer, std::size_t size, std::size_t* received, const Wait& wait) {
  *received = 0;
  if (fd_ < 0) return fail(EBADF);
  const Deadline deadline(wait.limit);
  for (;;) {
    if (wait.stop.stop_requested()) return NetResult::Stopped;
    if (size == 0) return NetResult::Ok;
    const ssize_t n = ::recv(fd_, buffer, size, 0);
    if (n > 0) {
      *received = static_cast<std::size_t>(n);
      return NetResult::Ok;
    }
    if (n == 0) return NetResult::Closed;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return fail(errno);
    const NetResult ready = pollFor(fd_, POLLIN, wait.stop, deadline, &error_);
    if (ready != NetResult::Ok) return ready;
  }
}

NetResult TcpSocket::receiveAll(void* buffer, std::size_t size, const Wait& wait, std::size_t* received) {
  std::size_t done = 0;
  NetResult result = NetResult::Ok;
  while (done < size && result == NetResult::Ok) {
    std::size_t got = 0;
    result = receiveSome(static_cast<char*>(buffer) + done, size - done, &got, wait);
    done += got;
  }
  if (received) *received = done;
  return result;
}

NetResult TcpSocket::sendAll(const void* data, std::size_t size, const Wait& wait) {
  if (fd_ < 0) return fail(EBADF);
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    if (wait.stop.stop_requested()) return NetResult::Stopped;
    const ssize_t n = ::send(fd_, p, size, MSG_NOSIGNAL);
    if (n > 0) {
      p += n;
      size -= static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return errno == EPIPE ? NetResult::Closed : fail(errno);
    const NetResult ready = pollFor(fd_, POLLOUT, wait.stop, Deadline(wait.limit), &error_);
    if (ready != NetResult::Ok) return ready;
  }
  return NetResult::Ok;
}

}  // namespace plat::net
