#pragma once
// Handing results from a worker thread to the user-interface thread. The worker pushes a value
// into a PostQueue, which then wakes the user-interface thread through a UiPoster; there, the
// handler of the posted message takes one value per message. Nothing of the user interface runs
// on the worker's thread.
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace plat::net {

// Wakes the user-interface thread. The ui layer implements it by posting a message to a window;
// post() is called on a worker's thread and must only queue: it never runs user-interface code
// and never waits for the user-interface thread.
class UiPoster {
 public:
  virtual ~UiPoster() = default;
  virtual void post() = 0;
};

template <class T>
class PostQueue {
 public:
  explicit PostQueue(UiPoster& poster) : poster_(poster) {}
  PostQueue(const PostQueue&) = delete;
  PostQueue& operator=(const PostQueue&) = delete;

  // Any thread: queues the value, then posts once for it.
  void push(T value) {
    {
      std::lock_guard lock(mutex_);
      values_.push_back(std::move(value));
    }
    poster_.post();
  }
  // The oldest value, or none when every posted value was taken already.
  std::optional<T> take() {
    std::lock_guard lock(mutex_);
    if (values_.empty()) return std::nullopt;
    T value = std::move(values_.front());
    values_.pop_front();
    return value;
  }

 private:
  UiPoster& poster_;
  std::mutex mutex_;
  std::deque<T> values_;
};

}  // namespace plat::net
