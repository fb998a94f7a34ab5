#include "enet/UdpPort.h"

#include <vector>

#include "history/TarveloError.h"

#ifndef _WIN32
#include <fcntl.h>
#endif

namespace {

constexpr std::size_t kLargestDatagram = 65536;

ETarveloError PortError(const std::string& what) {
  return ETarveloError(what + ". " + SocketErrorText(LastSocketError()));
}

void SetNonBlocking(TSocketHandle s) {
#ifdef _WIN32
  u_long on = 1;
  ioctlsocket(s, FIONBIO, &on);
#else
  fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK);
#endif
}

}  // namespace

TUdpPort::~TUdpPort() { SetActive(false); }

void TUdpPort::SetActive(bool active) {
  if (active == Active()) return;
  if (!active) {
    CloseSocketHandle(socket_);
    socket_ = kNoSocket;
    return;
  }
  const TSocketHandle s = socket(AF_INET, SOCK_DGRAM, 0);
  if (s == kNoSocket) throw PortError("Cannot open the UDP port");
  const int on = 1;
  setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = 0;  // the system chooses; answers come back to it
  if (bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    const ETarveloError error = PortError("Cannot open the UDP port");
    CloseSocketHandle(s);
    throw error;
  }
  SetNonBlocking(s);
  socket_ = s;
}

void TUdpPort::SendDatagram(const void* data, int length) {
  const std::string where = remoteHost_ + ":" + std::to_string(remotePort_);
  if (!Active()) throw ETarveloError("Cannot send to " + where + ". The UDP port is closed");
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(static_cast<uint16_t>(remotePort_));
  if (inet_pton(AF_INET, remoteHost_.c_str(), &remote.sin_addr) != 1) {
    throw ETarveloError("Cannot send to " + where + ". Not an IPv4 address");
  }
  const auto sent = sendto(socket_, static_cast<const char*>(data), length, kSendFlags,
                           reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
  if (sent != length) throw PortError("Cannot send to " + where);
}

std::optional<TDatagram> TUdpPort::ReadDatagram() {
  if (!Active()) return std::nullopt;
  static thread_local std::vector<char> buffer(kLargestDatagram);
  sockaddr_in from{};
  socklen_t fromLength = sizeof from;
  const auto n = recvfrom(socket_, buffer.data(), static_cast<int>(buffer.size()), 0,
                          reinterpret_cast<sockaddr*>(&from), &fromLength);
  if (n < 0) return std::nullopt;  // nothing waiting (or an error the next send will tell)
  char address[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &from.sin_addr, address, sizeof address);
  return TDatagram{std::string(buffer.data(), static_cast<std::size_t>(n)), address, ntohs(from.sin_port)};
}

int TUdpPort::LocalPort() const {
  if (!Active()) return 0;
  sockaddr_in local{};
  socklen_t length = sizeof local;
  getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length);
  return ntohs(local.sin_port);
}
