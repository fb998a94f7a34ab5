#pragma once
// Vehicle discovery: a vehicle identification request to UDP port 6811 on the directed broadcast
// address of every local interface; the gateway's answer carries "DIAGADR10" and the car's VIN.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "enet/NetworkInterfaces.h"
#include "enet/UdpPort.h"

// The frame header with payload length 0 and control word 0x0011, no payload.
inline constexpr std::array<uint8_t, 6> kIdentificationRequest = {0x00, 0x00, 0x00, 0x00, 0x00, 0x11};
inline constexpr std::size_t kVinLength = 17;
inline constexpr std::string_view kGatewayKeyword = "DIAGADR10";
inline constexpr std::string_view kVinKeyword = "BMWVIN";
inline constexpr std::string_view kVinNotReported = "(VIN not reported)";

// How often a search sends its request again while no gateway answered, and when it says so.
inline constexpr std::chrono::milliseconds kDiscoveryRepeat{1500};
inline constexpr std::chrono::milliseconds kDiscoveryHintAfter{5000};
// The line a search adds once nothing answered for kDiscoveryHintAfter.
inline constexpr std::string_view kNoGatewayYet =
    "No gateway has answered yet. Check the ENET cable, that the ignition is on, and that this computer has an "
    "address on the car's network (it may take half a minute after plugging in). Still looking...";

using TInterfaceEnumerator = std::function<bool(tNetworkInterfaceList&)>;

// The steps of "DETECT" after the log was cleared: RemotePort 6811, the port opened when closed
// (an open one is used again), the interfaces enumerated, one request to each interface's directed
// broadcast address in list order. No interfaces (or no socket to ask with): nothing is sent.
// A port that cannot be opened, or a send that fails, raises ETarveloError; the interfaces after the
// failing one get no request.
void SendVehicleIdentification(TUdpPort& port, const TInterfaceEnumerator& enumerate);

// A gateway's answer: "DIAGADR10" occurs, and not at the very start of the datagram.
bool IsGatewayAnswer(std::string_view datagram);

// The VIN the answer reports: the 17 characters after the first "BMWVIN", or the fewer that the
// datagram still holds, or "(VIN not reported)" without "BMWVIN". Never a byte from outside the
// datagram. As readable UTF-8: 8-bit characters through the code page, control bytes as "?".
std::string VinText(std::string_view datagram);

// A gateway that answered: its VIN as VinText gives it, and its address.
struct TGatewayAnswer {
  std::string vin;
  std::string address;
  friend auto operator<=>(const TGatewayAnswer&, const TGatewayAnswer&) = default;
};

// The log lines of an accepted answer: "Found " + VIN, "* IP: " + address, an empty line.
std::vector<std::string> FoundLines(const TGatewayAnswer& answer);

// One search for the car's gateway, as "DETECT" and `tarvelo-cli detect` run it: the request to
// every interface over the session's port, then the answers as they arrive. The desktop program
// watches the port from its message loop, the CLI waits for it with a deadline.
class TDiscoverySession {
 public:
  enum class Mode {
    FirstGateway,  // the first gateway's answer is the one; later answers are not taken
    AllGateways,   // every gateway once (the same VIN from the same address counts once)
  };
  explicit TDiscoverySession(TInterfaceEnumerator interfaces = EnumInterfaces, Mode mode = Mode::FirstGateway);

  // Sends the request to every interface, over the port it opens when closed (an open port is used
  // again, on the same local port). Raises ETarveloError as SendVehicleIdentification does.
  void Start();
  // The request once more, while no answer was taken: to the interfaces there are now (a cable
  // plugged in late, an address the system gave itself meanwhile), for a gateway that woke up late.
  void SendAgain();

  // The next datagram waiting at the port, or nullopt.
  std::optional<TDatagram> ReadDatagram() { return port_.ReadDatagram(); }
  // Waits until a datagram arrives or the time has passed; false then.
  bool WaitForDatagram(std::chrono::milliseconds time) const;

  // The gateway's answer that a datagram is, or nullopt: not a gateway's answer, or (FirstGateway)
  // one has been taken already, or (AllGateways) this one was.
  std::optional<TGatewayAnswer> Accept(const TDatagram& datagram);

  bool Open() const { return port_.Active(); }
  TSocketHandle Handle() const { return port_.Handle(); }
  void Close() { port_.SetActive(false); }

 private:
  TInterfaceEnumerator interfaces_;
  Mode mode_;
  TUdpPort port_;
  std::set<TGatewayAnswer> taken_;
};
