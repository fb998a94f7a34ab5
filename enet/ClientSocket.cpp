#include "enet/ClientSocket.h"

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

// Requests are small and go out in one send; without this, the gateway's answer can wait for
// our delayed acknowledgement of its previous segment (tens of milliseconds per exchange).
void DisableNagle(TSocketHandle s) {
  int on = 1;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

int MillisecondsOf(std::chrono::milliseconds slice) { return static_cast<int>(slice.count()); }

}  // namespace

TClientSocket::~TClientSocket() { Disconnect(); }

void TClientSocket::Connect(const std::string& Address, int32_t Port, const TWaitControl& wait) {
  Disconnect();
  if (wait.StopRequested()) {
    FFailure = TLinkFailure::Stopped;
    return;
  }
  FFailure = TLinkFailure::NotConnected;
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
  DisableNagle(FSocket);
  SetSocketNonBlocking(FSocket);
  if (connect(FSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (!WouldBlock(LastSocketError())) return;  // refused at once, no route, ...
    // The system goes on trying (a gateway that never answers takes it minutes); the connect
    // is done when the socket turns writable, and its error then says how it went.
    const TSocketHandle s = FSocket;
    const TWaitOutcome outcome = wait.WaitUntil(
        [s](std::chrono::milliseconds slice) { return WaitForSocket(s, true, MillisecondsOf(slice)) == TSocketWait::Ready; });
    if (outcome == TWaitOutcome::Stopped) {
      Fail(TLinkFailure::Stopped, -1);
      return;
    }
    if (PendingSocketError(FSocket) != 0) return;
  }
  FConnected = true;
  FFailure = TLinkFailure::None;
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

std::optional<TConnectionEnds> TClientSocket::Ends() const {
  if (!FConnected) return std::nullopt;
  sockaddr_in local{}, remote{};
  socklen_t localSize = sizeof local, remoteSize = sizeof remote;
  if (getsockname(FSocket, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
      getpeername(FSocket, reinterpret_cast<sockaddr*>(&remote), &remoteSize) != 0) {
    return std::nullopt;
  }
  return TConnectionEnds{{ntohl(local.sin_addr.s_addr), ntohs(local.sin_port)},
                         {ntohl(remote.sin_addr.s_addr), ntohs(remote.sin_port)}};
}

int32_t TClientSocket::Fail(TLinkFailure failure, int32_t result) {
  FFailure = failure;
  Disconnect();
  return result;
}

int32_t TClientSocket::ReceiveBuffer(void* Buffer, int32_t BufferSize, const TWaitControl& wait,
                                     std::chrono::milliseconds timeout) {
  if (FSocket == kNoSocket || !FConnected) return Fail(TLinkFailure::NotConnected, -1);
  if (BufferSize <= 0) return Fail(TLinkFailure::NotConnected, 0);  // nothing to take: as the old client did
  const TSocketHandle s = FSocket;
  const auto deadline = TWaitControl::Clock::now() + timeout;
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TWaitControl::Clock::now());
    const TWaitOutcome outcome = wait.WaitUntil(
        [s](std::chrono::milliseconds slice) {
          return WaitForSocket(s, false, MillisecondsOf(slice)) == TSocketWait::Ready;
        },
        std::max(left, std::chrono::milliseconds(0)));
    if (outcome == TWaitOutcome::Stopped) return Fail(TLinkFailure::Stopped, -1);
    if (outcome == TWaitOutcome::TimedOut) return Fail(TLinkFailure::TimedOut, -1);
    const auto n = recv(FSocket, static_cast<char*>(Buffer), BufferSize, 0);
    if (n > 0) {
      FFailure = TLinkFailure::None;
      return static_cast<int32_t>(n);
    }
    if (n == 0) return Fail(TLinkFailure::ClosedByPeer, 0);
    if (!WouldBlock(LastSocketError())) return Fail(TLinkFailure::ClosedByPeer, -1);  // reset, or another error
  }
}

int32_t TClientSocket::SendBuffer(const void* Buffer, int32_t BufferSize, const TWaitControl& wait) {
  if (FSocket == kNoSocket || !FConnected || BufferSize < 0) return Fail(TLinkFailure::NotConnected, -1);
  const auto* bytes = static_cast<const char*>(Buffer);
  int32_t sent = 0;
  const TSocketHandle s = FSocket;
  while (sent < BufferSize) {
    const auto n = send(FSocket, bytes + sent, BufferSize - sent, kSendFlags);
    if (n > 0) {
      sent += static_cast<int32_t>(n);
      continue;
    }
    if (n < 0 && !WouldBlock(LastSocketError())) return Fail(TLinkFailure::ClosedByPeer, -1);
    // The system has no room for more yet (a car that does not read): wait for room, not for ever
    // against the user's will.
    const TWaitOutcome outcome = wait.WaitUntil(
        [s](std::chrono::milliseconds slice) { return WaitForSocket(s, true, MillisecondsOf(slice)) == TSocketWait::Ready; });
    if (outcome == TWaitOutcome::Stopped) return Fail(TLinkFailure::Stopped, -1);
  }
  FFailure = TLinkFailure::None;
  return sent;
}
