#pragma once
// The local IPv4 network interfaces, with the addresses vehicle discovery sends to.

#include <cstdint>
#include <string>
#include <vector>

struct tNetworkInterface {
  std::string ComputerName;           // the computer's name, at most 15 characters; empty when unknown
  std::string AddrIP;                 // dotted-decimal
  std::string SubnetMask;
  std::string AddrNet;                // address AND mask
  std::string AddrLimitedBroadcast;   // the broadcast address the system reports ("0.0.0.0": none)
  std::string AddrDirectedBroadcast;  // (NOT mask) OR (address AND mask)
  bool IsInterfaceUp = false;
  bool BroadcastSupport = false;
  bool IsLoopback = false;
};

using tNetworkInterfaceList = std::vector<tNetworkInterface>;

// The system's interface query has room for this many IPv4 interfaces; a machine with more gets
// an empty list.
inline constexpr std::size_t kMaxInterfaces = 13;
inline constexpr std::size_t kMaxComputerNameLength = 15;

// Interface flags, with the bit values of the Windows interface list.
inline constexpr uint32_t kFlagUp = 1;
inline constexpr uint32_t kFlagBroadcast = 2;
inline constexpr uint32_t kFlagLoopback = 4;

// Fills list with the local IPv4 interfaces, in the order the system reports them; loopback,
// interfaces that are down and interfaces without broadcast are listed too. The list is emptied
// first. Returns false only when no socket could be made; a failing query, or more than 13
// interfaces, gives an empty list and true.
bool EnumInterfaces(tNetworkInterfaceList& list);

// One interface from its addresses (IPv4, network byte order, as the system delivers them) and its
// flags (kFlag... bits). The address arithmetic works byte by byte, so byte order plays no part.
tNetworkInterface DescribeInterface(const std::string& computerName, uint32_t address, uint32_t netmask,
                                    uint32_t broadcast, uint32_t flags);

// An IPv4 address in network byte order as dotted-decimal text.
std::string DottedText(uint32_t networkOrderAddress);
