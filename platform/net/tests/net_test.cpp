// TCP client sockets, the worker thread and the hand-over queue, against a server on the
// loopback address.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/loopback.h"
#include "platform/net/postqueue.h"
#include "platform/net/socket.h"
#include "platform/net/thread.h"

namespace {

using namespace std::chrono_literals;
using plat::net::NetResult;
using plat::net::TcpSocket;
using plat::net::Wait;
using Clock = std::chrono::steady_clock;

const Wait kTwoSeconds{{}, 2000ms};

// A connected pair: the client side and the server's side of one connection.
struct Connection {
  plat::net::LoopbackServer server;
  TcpSocket client, peer;
  explicit Connection(const std::string& host = "127.0.0.1") {
    EXPECT_TRUE(server.listening());
    EXPECT_EQ(client.connect(host, server.port(), kTwoSeconds), NetResult::Ok);
    EXPECT_EQ(server.accept(&peer, kTwoSeconds), NetResult::Ok);
  }
};

std::vector<unsigned char> pattern(std::size_t size) {
  std::vector<unsigned char> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>((i * 131 + i / 251) & 0xFF);
  return bytes;
}

TEST(TcpSocket, BlocksArriveWholeAndTheEndOfStreamIsTold) {
  Connection c;
  // More than the socket buffers hold, so both sides wait on each other.
  const std::vector<unsigned char> sent = pattern(8 << 20);
  std::thread sender([&] {
    EXPECT_EQ(c.peer.sendAll(sent.data(), sent.size(), kTwoSeconds), NetResult::Ok);
    c.peer.close();
  });
  std::vector<unsigned char> got(sent.size());
  std::size_t received = 0;
  EXPECT_EQ(c.client.receiveAll(got.data(), got.size(), kTwoSeconds, &received), NetResult::Ok);
  EXPECT_EQ(received, sent.size());
  EXPECT_TRUE(got == sent);
  sender.join();

  // The peer has gone: a further block reports the end, with what arrived of it.
  unsigned char more[4];
  EXPECT_EQ(c.client.receiveAll(more, sizeof more, kTwoSeconds, &received), NetResult::Closed);
  EXPECT_EQ(received, 0u);
}

TEST(TcpSocket, ABlockCutShortCountsWhatArrived) {
  Connection c("localhost");  // a host name goes through the name lookup
  ASSERT_EQ(c.peer.sendAll("abc", 3, kTwoSeconds), NetResult::Ok);
  c.peer.close();
  char block[10];
  std::size_t received = 99;
  EXPECT_EQ(c.client.receiveAll(block, sizeof block, kTwoSeconds, &received), NetResult::Closed);
  EXPECT_EQ(received, 3u);
  EXPECT_EQ(std::string(block, 3), "abc");
}

TEST(TcpSocket, ASilentPeerTimesOutOrIsStoppedWithinASlice) {
  Connection c;
  char byte;
  std::size_t received = 0;
  auto start = Clock::now();
  EXPECT_EQ(c.client.receiveSome(&byte, 1, &received, Wait{{}, 60ms}), NetResult::TimedOut);
  EXPECT_GE(Clock::now() - start, 60ms);

  std::stop_source stop;
  std::atomic<Clock::time_point> stoppedAt{};
  std::thread stopper([&] {
    std::this_thread::sleep_for(50ms);
    stoppedAt = Clock::now();
    stop.request_stop();
  });
  EXPECT_EQ(c.client.receiveAll(&byte, 1, Wait{stop.get_token()}), NetResult::Stopped);
  const auto late = Clock::now() - stoppedAt.load();
  stopper.join();
  EXPECT_LT(late, 30ms);  // one slice, with room for a loaded machine
  EXPECT_EQ(c.client.waitReadable(Wait{stop.get_token()}), NetResult::Stopped);
}

TEST(TcpSocket, ConnectToAClosedPortFails) {
  std::uint16_t port;
  {
    plat::net::LoopbackServer gone;
    port = gone.port();
  }
  TcpSocket socket;
  EXPECT_EQ(socket.connect("127.0.0.1", port, kTwoSeconds), NetResult::Failed);
  EXPECT_EQ(socket.lastError(), ECONNREFUSED);
  EXPECT_FALSE(socket.isOpen());
  char byte;
  std::size_t received;
  EXPECT_EQ(socket.receiveSome(&byte, 1, &received, kTwoSeconds), NetResult::Failed);
}

TEST(WorkerThread, StopsJoinsAndRestarts) {
  plat::net::WorkerThread worker;
  std::atomic<int> runs{0}, ended{0}, niceDelta{-100};
  const int callerNice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
  auto body = [&](std::stop_token stop) {
    niceDelta = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid())) - callerNice;
    ++runs;
    while (!stop.stop_requested()) std::this_thread::sleep_for(1ms);
    ++ended;
  };
  worker.start(body, plat::net::ThreadPriority::BelowNormal);
  while (runs == 0) std::this_thread::yield();
  // A priority already at the bottom cannot go lower.
  EXPECT_EQ(niceDelta.load(), callerNice < 19 ? 1 : 0);
  // Starting again stops the running body first: one body at a time.
  worker.start(body);
  EXPECT_EQ(ended.load(), 1);
  while (runs < 2) std::this_thread::yield();
  EXPECT_EQ(niceDelta.load(), 0);
  worker.stopAndJoin();
  EXPECT_EQ(ended.load(), 2);
  EXPECT_FALSE(worker.started());
}

struct CountingPoster : plat::net::UiPoster {
  std::atomic<int> posts{0};
  void post() override { ++posts; }
};

TEST(PostQueue, EveryValuePostsOnceAndIsTakenInOrder) {
  CountingPoster poster;
  plat::net::PostQueue<std::vector<int>> queue(poster);
  constexpr int kPerThread = 500;
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t)
    workers.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) queue.push({t, i});
    });
  std::vector<int> next(4, 0);
  int taken = 0;
  while (taken < 4 * kPerThread) {
    if (auto v = queue.take()) {
      ASSERT_EQ((*v)[1], next[(*v)[0]]++);  // each worker's values in the order pushed
      ++taken;
    }
  }
  for (auto& w : workers) w.join();
  EXPECT_EQ(poster.posts.load(), 4 * kPerThread);
  EXPECT_FALSE(queue.take());
}

}  // namespace
