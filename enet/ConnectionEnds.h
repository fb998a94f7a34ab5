#pragma once
// The two ends of the diagnostic connection, as the system sees them once it is made: this
// computer's address and port, and the gateway's. A trace of the connection is labelled with them.

#include <cstdint>
#include <string>

struct TIPv4Endpoint {
  uint32_t address = 0;  // host order: 127.0.0.1 is 0x7F000001
  uint16_t port = 0;
  friend bool operator==(const TIPv4Endpoint&, const TIPv4Endpoint&) = default;
};

struct TConnectionEnds {
  TIPv4Endpoint local;
  TIPv4Endpoint remote;  // the gateway, port 6801
  friend bool operator==(const TConnectionEnds&, const TConnectionEnds&) = default;
};

// "127.0.0.1:6801"
inline std::string EndpointText(const TIPv4Endpoint& e) {
  return std::to_string(e.address >> 24) + "." + std::to_string((e.address >> 16) & 0xFF) + "." +
         std::to_string((e.address >> 8) & 0xFF) + "." + std::to_string(e.address & 0xFF) + ":" + std::to_string(e.port);
}
