#include "SocketPlatform.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32

void StartSocketLibrary() {
  WSADATA data;
  WSAStartup(MAKEWORD(1, 1), &data);
}

void StopSocketLibrary() { WSACleanup(); }

void CloseSocketHandle(TSocketHandle s) { closesocket(s); }

int LastSocketError() { return WSAGetLastError(); }

std::string SocketErrorText(int error) { return std::system_category().message(error); }

#else

void StartSocketLibrary() {}

void StopSocketLibrary() {}

void CloseSocketHandle(TSocketHandle s) { close(s); }

int LastSocketError() { return errno; }

std::string SocketErrorText(int error) { return std::generic_category().message(error); }

#endif
