#pragma once
// A TCP socket listening on a free port of 127.0.0.1, for the gateways that tests play themselves.
#include <cstdint>

#include "enet/SocketPlatform.h"

class TLoopbackListener {
 public:
  TLoopbackListener();  // throws std::runtime_error when loopback refuses
  ~TLoopbackListener();
  TLoopbackListener(const TLoopbackListener&) = delete;
  TLoopbackListener& operator=(const TLoopbackListener&) = delete;

  uint16_t Port() const { return port_; }
  TSocketHandle Handle() const { return fd_; }
  // The next connection; kNoSocket when none came within timeoutMs (-1: wait as long as it takes).
  TSocketHandle Accept(int timeoutMs = -1);
  // No more connections: a thread waiting in Accept returns.
  void Shutdown();

 private:
  TSocketHandle fd_ = kNoSocket;
  uint16_t port_ = 0;
};
