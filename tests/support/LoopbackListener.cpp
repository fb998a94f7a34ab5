#include "tests/support/LoopbackListener.h"

#include <stdexcept>

#include "tools/carsim/SocketIo.h"

TLoopbackListener::TLoopbackListener() {
  fd_ = OpenSocket(SOCK_STREAM);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd_ == kNoSocket || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd_, 8) != 0) {
    if (fd_ != kNoSocket) CloseSocketHandle(fd_);
    throw std::runtime_error("cannot listen on loopback");
  }
  socklen_t length = sizeof address;
  getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

TLoopbackListener::~TLoopbackListener() { CloseSocketHandle(fd_); }

TSocketHandle TLoopbackListener::Accept(int timeoutMs) {
  TSocketPoll p{fd_, POLLIN, 0};
  if (PollSockets(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) return kNoSocket;
  return AcceptConnection(fd_);
}

void TLoopbackListener::Shutdown() { ShutdownSocket(fd_); }
