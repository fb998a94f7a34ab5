#include "tools/carsim/SocketIo.h"

#include <cerrno>
#include <stdexcept>

#ifndef _WIN32
#include <fcntl.h>
#endif

namespace {

bool Interrupted() {
#ifdef _WIN32
  return LastSocketError() == WSAEINTR;
#else
  return errno == EINTR;
#endif
}

}  // namespace

bool ReceiveAll(TSocketHandle s, uint8_t* data, std::size_t size, TSocketHandle stop) {
  std::size_t got = 0;
  while (got < size) {
    if (stop != kNoSocket) {
      TSocketPoll wanted[] = {{s, POLLIN, 0}, {stop, POLLIN, 0}};
      if (PollSockets(wanted, 2, -1) < 0) {
        if (Interrupted()) continue;
        return false;
      }
      if (wanted[1].revents) return false;
    }
    const auto n = recv(s, reinterpret_cast<char*>(data + got), static_cast<int>(size - got), 0);
    if (n < 0 && Interrupted()) continue;
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

bool SendAll(TSocketHandle s, const uint8_t* data, std::size_t size) {
  std::size_t sent = 0;
  while (sent < size) {
    const auto n = send(s, reinterpret_cast<const char*>(data + sent), static_cast<int>(size - sent), kSendFlags);
    if (n < 0 && Interrupted()) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

#ifdef _WIN32

namespace {

TSocketHandle NotInherited(TSocketHandle s) {
  if (s != kNoSocket) SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
  return s;
}

}  // namespace

TSocketHandle OpenSocket(int type) { return NotInherited(socket(AF_INET, type, 0)); }

TSocketHandle AcceptConnection(TSocketHandle listener) { return NotInherited(accept(listener, nullptr, nullptr)); }

void ShutdownSocket(TSocketHandle s) { shutdown(s, SD_BOTH); }

int PollSockets(TSocketPoll* sockets, std::size_t count, int timeoutMs) {
  return WSAPoll(sockets, static_cast<ULONG>(count), timeoutMs);
}

TWakeUp::TWakeUp() {
  readEnd_ = OpenSocket(SOCK_DGRAM);
  sockaddr_in self{};
  self.sin_family = AF_INET;
  self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (readEnd_ == kNoSocket || bind(readEnd_, reinterpret_cast<const sockaddr*>(&self), sizeof self) != 0) {
    const std::string why = LastSocketErrorText();
    if (readEnd_ != kNoSocket) CloseSocketHandle(readEnd_);
    throw std::runtime_error("wake-up socket: " + why);
  }
}

TWakeUp::~TWakeUp() { CloseSocketHandle(readEnd_); }

void TWakeUp::Signal() {
  sockaddr_in self{};
  int length = sizeof self;
  getsockname(readEnd_, reinterpret_cast<sockaddr*>(&self), &length);
  sendto(readEnd_, "x", 1, 0, reinterpret_cast<const sockaddr*>(&self), length);
}

#else

TSocketHandle OpenSocket(int type) { return socket(AF_INET, type | SOCK_CLOEXEC, 0); }

TSocketHandle AcceptConnection(TSocketHandle listener) { return accept4(listener, nullptr, nullptr, SOCK_CLOEXEC); }

void ShutdownSocket(TSocketHandle s) { shutdown(s, SHUT_RDWR); }

int PollSockets(TSocketPoll* sockets, std::size_t count, int timeoutMs) {
  return poll(sockets, static_cast<nfds_t>(count), timeoutMs);
}

TWakeUp::TWakeUp() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("wake-up pipe: " + LastSocketErrorText());
  readEnd_ = fds[0];
  writeEnd_ = fds[1];
}

TWakeUp::~TWakeUp() {
  close(readEnd_);
  close(writeEnd_);
}

void TWakeUp::Signal() { (void)!write(writeEnd_, "x", 1); }

#endif

void ResetOnClose(TSocketHandle s) {
  const linger hard{1, 0};
  setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
}

std::string LastSocketErrorText() { return SocketErrorText(LastSocketError()); }
