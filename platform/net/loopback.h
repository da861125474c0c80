#pragma once
// For tests: a TCP server on the loopback address (127.0.0.1), at a port the system chooses, so
// a test can play the peer of the code it tests.
#include <cstdint>

#include "platform/net/socket.h"

namespace plat::net {

class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool listening() const { return fd_ >= 0; }
  std::uint16_t port() const { return port_; }
  // Waits for the next client and hands its connection over.
  NetResult accept(TcpSocket* client, const Wait& wait);
  // Stops listening: later connects to the port are refused.
  void close();

 private:
  int fd_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace plat::net
