#include "enet/SocketPlatform.h"

#include <cerrno>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#endif

TSocketWait WaitForSocket(TSocketHandle s, bool forWriting, int timeoutMs) {
#ifdef _WIN32
  // select, not WSAPoll: older Windows versions never report a failed connect through WSAPoll.
  // A failed connect shows in the exception set.
  fd_set wanted, failed;
  FD_ZERO(&wanted);
  FD_ZERO(&failed);
  FD_SET(s, &wanted);
  FD_SET(s, &failed);
  timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const int n = select(0, forWriting ? nullptr : &wanted, forWriting ? &wanted : nullptr, &failed, &limit);
#else
  pollfd p{s, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
  const int n = poll(&p, 1, timeoutMs);
#endif
  return n > 0 ? TSocketWait::Ready : TSocketWait::NotYet;
}

int PendingSocketError(TSocketHandle s) {
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) return LastSocketError();
  return error;
}

#ifdef _WIN32

void SetSocketNonBlocking(TSocketHandle s) {
  u_long on = 1;
  ioctlsocket(s, FIONBIO, &on);
}

bool WouldBlock(int error) { return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS || error == WSAEALREADY; }

void StartSocketLibrary() {
  WSADATA data;
  WSAStartup(MAKEWORD(1, 1), &data);
}

void StopSocketLibrary() { WSACleanup(); }

void CloseSocketHandle(TSocketHandle s) { closesocket(s); }

int LastSocketError() { return WSAGetLastError(); }

std::string SocketErrorText(int error) { return std::system_category().message(error); }

#else

void SetSocketNonBlocking(TSocketHandle s) { fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK); }

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINPROGRESS || error == EINTR; }

void StartSocketLibrary() {}

void StopSocketLibrary() {}

void CloseSocketHandle(TSocketHandle s) { close(s); }

int LastSocketError() { return errno; }

std::string SocketErrorText(int error) { return std::generic_category().message(error); }

#endif
