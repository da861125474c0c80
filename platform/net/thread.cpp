#include "platform/net/thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace plat::net {

namespace {

// On Linux each thread has a nice value of its own; a failure leaves the priority as it is.
void lowerThisThreadsPriority() {
  const id_t self = static_cast<id_t>(::gettid());
  errno = 0;
  const int nice = ::getpriority(PRIO_PROCESS, self);
  if (errno == 0) ::setpriority(PRIO_PROCESS, self, nice + 1);
}

}  // namespace

void WorkerThread::start(Body body, ThreadPriority priority) {
  stopAndJoin();
  thread_ = std::jthread([body = std::move(body), priority](std::stop_token stop) {
    if (priority == ThreadPriority::BelowNormal) lowerThisThreadsPriority();
    body(std::move(stop));
  });
}

void WorkerThread::stopAndJoin() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}

}  // namespace plat::net
