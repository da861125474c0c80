#pragma once
// A worker thread with a stop signal. The body gets the thread's stop token and is expected to
// look at it at least every kPollSlice (the socket calls of socket.h do). Destroying the object
// stops the thread and waits for it, so a worker never outlives its owner.
#include <functional>
#include <stop_token>
#include <thread>

namespace plat::net {

enum class ThreadPriority {
  Normal,
  BelowNormal,  // one step nicer than the thread that starts it
};

class WorkerThread {
 public:
  using Body = std::function<void(std::stop_token)>;

  WorkerThread() = default;
  ~WorkerThread() { stopAndJoin(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Runs body on a new thread; a thread still running is stopped and joined first.
  void start(Body body, ThreadPriority priority = ThreadPriority::Normal);
  // Raises the stop signal and waits for the body to return (nothing when no thread runs).
  void stopAndJoin();
  // True from start until stopAndJoin, also after the body has returned by itself.
  bool started() const { return thread_.joinable(); }

 private:
  std::jthread thread_;
};

}  // namespace plat::net
