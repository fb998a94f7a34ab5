#include "LoopbackListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

TLoopbackListener::TLoopbackListener() {
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd_, 8) != 0) {
    if (fd_ >= 0) close(fd_);
    throw std::runtime_error("cannot listen on loopback");
  }
  socklen_t length = sizeof address;
  getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

TLoopbackListener::~TLoopbackListener() { close(fd_); }

int TLoopbackListener::Accept(int timeoutMs) {
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) return -1;
  return accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
}

void TLoopbackListener::Shutdown() { shutdown(fd_, SHUT_RDWR); }
