#include "enet/Discovery.h"

#include "enet/EnetFrame.h"
#include "history/CodePage.h"

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

std::vector<std::string> FoundLines(const TGatewayAnswer& answer) {
  return {"Found " + answer.vin, "* IP: " + answer.address, ""};
}

TDiscoverySession::TDiscoverySession(TInterfaceEnumerator interfaces, Mode mode)
    : interfaces_(std::move(interfaces)), mode_(mode) {}

void TDiscoverySession::Start() {
  taken_.clear();  // a new search: the first answer is taken again
  SendVehicleIdentification(port_, interfaces_);
}

void TDiscoverySession::SendAgain() { SendVehicleIdentification(port_, interfaces_); }

bool TDiscoverySession::WaitForDatagram(std::chrono::milliseconds time) const {
  if (!port_.Active() || time.count() <= 0) return false;
  return WaitForSocket(port_.Handle(), false, static_cast<int>(time.count())) == TSocketWait::Ready;
}

std::optional<TGatewayAnswer> TDiscoverySession::Accept(const TDatagram& datagram) {
  if (!IsGatewayAnswer(datagram.data)) return std::nullopt;
  if (mode_ == Mode::FirstGateway && !taken_.empty()) return std::nullopt;
  TGatewayAnswer answer{VinText(datagram.data), datagram.sourceAddress};
  if (!taken_.insert(answer).second) return std::nullopt;
  return answer;
}
