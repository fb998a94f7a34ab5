// One datagram, as the UDP port hands it on, through the rules of a gateway's answer.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "enet/Discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view datagram(reinterpret_cast<const char*>(data), size);
  const bool accepted = IsGatewayAnswer(datagram);
  const std::size_t keyword = datagram.find(kGatewayKeyword);
  if (accepted != (keyword != std::string_view::npos && keyword > 0)) std::abort();
  const std::string vin = VinText(datagram);
  // Never more than the 17 characters after "BMWVIN", each at most 3 bytes of UTF-8.
  if (vin != kVinNotReported && vin.size() > 3 * kVinLength) std::abort();
  for (char c : vin) {
    if (static_cast<unsigned char>(c) < 0x20) std::abort();  // no control bytes in the log
  }
  TDiscoverySession discovery;  // never started: only its rules for an answer run
  const std::optional<TGatewayAnswer> gateway = discovery.Accept(TDatagram{std::string(datagram), "169.254.1.2", 6811});
  if (gateway.has_value() != accepted) std::abort();
  if (gateway) {
    const std::vector<std::string> lines = FoundLines(*gateway);
    if (lines.size() != 3 || lines[0] != "Found " + vin || lines[1] != "* IP: 169.254.1.2") std::abort();
    if (discovery.Accept(TDatagram{std::string(datagram), "169.254.1.3", 6811})) std::abort();  // the first one only
  }
  return 0;
}
