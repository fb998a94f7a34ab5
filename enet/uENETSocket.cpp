#include "uENETSocket.h"

#include <cerrno>
#include <cstring>

namespace {

// The first IPv4 address of a host name, in network byte order.
bool ResolveFirstIPv4(const std::string& name, in_addr* out) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* result = nullptr;
  if (getaddrinfo(name.c_str(), nullptr, &hints, &result) != 0 || result == nullptr) return false;
  *out = reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr;
  freeaddrinfo(result);
  return true;
}

void SetReceiveTimeout(TSocketHandle s) {
#ifdef _WIN32
  const DWORD ms = kReceiveTimeoutMs;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
#else
  const timeval tv{kReceiveTimeoutMs / 1000, (kReceiveTimeoutMs % 1000) * 1000};
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
#endif
}

// Requests are small and go out in one send; without this, the gateway's answer can wait for
// our delayed acknowledgement of its previous segment (tens of milliseconds per exchange).
void DisableNagle(TSocketHandle s) {
  int on = 1;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

bool Interrupted() {
#ifdef _WIN32
  return false;
#else
  return errno == EINTR;
#endif
}

}  // namespace

TClientSocket::~TClientSocket() { Disconnect(); }

void TClientSocket::Connect(const std::string& Address, int32_t Port) {
  Disconnect();
  FAddress = Address;
  FSocket = socket(AF_INET, SOCK_STREAM, 0);
  if (FSocket == kNoSocket) return;

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(Port));
  address.sin_addr.s_addr = inet_addr(FAddress.c_str());
  if (address.sin_addr.s_addr == INADDR_NONE) {
    if (FAddress.empty() || !ResolveFirstIPv4(FAddress, &address.sin_addr)) return;
  }
  SetReceiveTimeout(FSocket);
  DisableNagle(FSocket);
  if (connect(FSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) >= 0) FConnected = true;
}

void TClientSocket::AdoptConnectedSocket(TSocketHandle s) {
  Disconnect();
  FSocket = s;
  SetReceiveTimeout(FSocket);
  FConnected = true;
}

void TClientSocket::Disconnect() {
  FConnected = false;
  if (FSocket == kNoSocket) return;
#ifdef _WIN32
  shutdown(FSocket, SD_BOTH);
#else
  shutdown(FSocket, SHUT_RDWR);
#endif
  CloseSocketHandle(FSocket);
  FSocket = kNoSocket;
}

int32_t TClientSocket::ReceiveBuffer(void* Buffer, int32_t BufferSize) {
  if (FSocket == kNoSocket) return -1;
  int32_t result = -1;
  if (BufferSize >= 0) {
    do {
      result = static_cast<int32_t>(recv(FSocket, static_cast<char*>(Buffer), BufferSize, 0));
    } while (result < 0 && Interrupted());
  }
  if (result <= 0) Disconnect();
  return result;
}

int32_t TClientSocket::SendBuffer(const void* Buffer, int32_t BufferSize) {
  if (FSocket == kNoSocket) return -1;
  int32_t result = -1;
  if (BufferSize >= 0) {
    do {
      result = static_cast<int32_t>(send(FSocket, static_cast<const char*>(Buffer), BufferSize, kSendFlags));
    } while (result < 0 && Interrupted());
  }
  if (result < 0) {
    Disconnect();
    return -1;
  }
  return result;
}
