#include "enet/NetworkInterfaces.h"

#include <cstring>

#include "enet/SocketPlatform.h"

#ifndef _WIN32
#include <ifaddrs.h>
#include <net/if.h>
#endif

std::string DottedText(uint32_t address) {
  uint8_t b[4];
  std::memcpy(b, &address, 4);
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
}

tNetworkInterface DescribeInterface(const std::string& computerName, uint32_t address, uint32_t netmask,
                                    uint32_t broadcast, uint32_t flags) {
  tNetworkInterface i;
  i.ComputerName = computerName;
  i.AddrIP = DottedText(address);
  i.SubnetMask = DottedText(netmask);
  i.AddrNet = DottedText(address & netmask);
  i.AddrLimitedBroadcast = DottedText(broadcast);
  i.AddrDirectedBroadcast = DottedText(~netmask | (address & netmask));
  i.IsInterfaceUp = (flags & kFlagUp) != 0;
  i.BroadcastSupport = (flags & kFlagBroadcast) != 0;
  i.IsLoopback = (flags & kFlagLoopback) != 0;
  return i;
}

namespace {

struct TRawInterface {
  uint32_t address, netmask, broadcast, flags;
};

#ifdef _WIN32

std::string ComputerName() {
  wchar_t name[kMaxComputerNameLength + 1];
  DWORD size = kMaxComputerNameLength + 1;
  if (!GetComputerNameW(name, &size)) return {};
  std::string text;
  for (DWORD i = 0; i < size; ++i) text += name[i] < 0x80 ? static_cast<char>(name[i]) : '?';
  return text;
}

// SIO_GET_INTERFACE_LIST into a fixed area of 1024 bytes: room for 13 records of 76 bytes.
bool QueryInterfaces(TSocketHandle s, std::vector<TRawInterface>& out) {
  alignas(INTERFACE_INFO) char area[1024];
  DWORD bytes = 0;
  if (WSAIoctl(s, SIO_GET_INTERFACE_LIST, nullptr, 0, area, sizeof area, &bytes, nullptr, nullptr) == SOCKET_ERROR) {
    return false;
  }
  const auto* info = reinterpret_cast<const INTERFACE_INFO*>(area);
  for (DWORD n = 0; n < bytes / sizeof(INTERFACE_INFO); ++n) {
    out.push_back({info[n].iiAddress.AddressIn.sin_addr.s_addr, info[n].iiNetmask.AddressIn.sin_addr.s_addr,
                   info[n].iiBroadcastAddress.AddressIn.sin_addr.s_addr, static_cast<uint32_t>(info[n].iiFlags)});
  }
  return true;
}

#else

std::string ComputerName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return std::string(name).substr(0, kMaxComputerNameLength);
}

uint32_t Address(const sockaddr* a) {
  return a && a->sa_family == AF_INET ? reinterpret_cast<const sockaddr_in*>(a)->sin_addr.s_addr : 0;
}

bool QueryInterfaces(TSocketHandle, std::vector<TRawInterface>& out) {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  for (const ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
    const uint32_t flags = ((i->ifa_flags & IFF_UP) ? kFlagUp : 0) | ((i->ifa_flags & IFF_BROADCAST) ? kFlagBroadcast : 0) |
                           ((i->ifa_flags & IFF_LOOPBACK) ? kFlagLoopback : 0);
    // The broadcast and the point-to-point address share one field: only a broadcast interface has the former.
    const uint32_t broadcast = (i->ifa_flags & IFF_BROADCAST) ? Address(i->ifa_broadaddr) : 0;
    out.push_back({Address(i->ifa_addr), Address(i->ifa_netmask), broadcast, flags});
  }
  freeifaddrs(list);
  return out.size() <= kMaxInterfaces;
}

#endif

}  // namespace

bool EnumInterfaces(tNetworkInterfaceList& list) {
  list.clear();
#ifdef _WIN32
  WSADATA data;
  WSAStartup(MAKEWORD(2, 0), &data);
#endif
  const TSocketHandle s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == kNoSocket) {
#ifdef _WIN32
    WSACleanup();
#endif
    return false;
  }
  std::vector<TRawInterface> raw;
  if (QueryInterfaces(s, raw)) {
    const std::string name = ComputerName();
    for (const TRawInterface& r : raw) list.push_back(DescribeInterface(name, r.address, r.netmask, r.broadcast, r.flags));
  }
  CloseSocketHandle(s);
#ifdef _WIN32
  WSACleanup();
#endif
  return true;
}
