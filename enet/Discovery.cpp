#include "Discovery.h"

#include "CodePage.h"
#include "EnetFrame.h"

void SendVehicleIdentification(TUdpPort& port, const TInterfaceEnumerator& enumerate) {
  port.SetRemotePort(kDiscoveryPort);
  if (!port.Active()) port.SetActive(true);
  tNetworkInterfaceList interfaces;
  if (!enumerate(interfaces)) return;
  for (const tNetworkInterface& i : interfaces) {
    port.SetRemoteHost(i.AddrDirectedBroadcast);
    port.SendDatagram(kIdentificationRequest.data(), static_cast<int>(kIdentificationRequest.size()));
  }
}

bool IsGatewayAnswer(std::string_view datagram) {
  const std::size_t at = datagram.find(kGatewayKeyword);
  return at != std::string_view::npos && at != 0;
}

std::string VinText(std::string_view datagram) {
  const std::size_t at = datagram.find(kVinKeyword);
  if (at == std::string_view::npos) return std::string(kVinNotReported);
  std::string vin(datagram.substr(at + kVinKeyword.size(), kVinLength));
  for (char& c : vin) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return AnsiToUtf8(vin);
}

std::vector<std::string> FoundLines(std::string_view datagram, const std::string& sourceAddress) {
  return {"Found " + VinText(datagram), "* IP: " + sourceAddress, ""};
}
