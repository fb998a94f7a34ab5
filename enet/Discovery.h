#pragma once
// Vehicle discovery: a vehicle identification request to UDP port 6811 on the directed broadcast
// address of every local interface; the gateway's answer carries "DIAGADR10" and the car's VIN.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "UdpPort.h"
#include "NetworkInterfaces.h"

// The frame header with payload length 0 and control word 0x0011, no payload.
inline constexpr std::array<uint8_t, 6> kIdentificationRequest = {0x00, 0x00, 0x00, 0x00, 0x00, 0x11};
inline constexpr std::size_t kVinLength = 17;
inline constexpr std::string_view kGatewayKeyword = "DIAGADR10";
inline constexpr std::string_view kVinKeyword = "BMWVIN";
inline constexpr std::string_view kVinNotReported = "(VIN not reported)";

using TInterfaceEnumerator = std::function<bool(tNetworkInterfaceList&)>;

// The steps of "DETECT" after the log was cleared: RemotePort 6811, the port opened when closed
// (an open one is used again), the interfaces enumerated, one request to each interface's directed
// broadcast address in list order. No interfaces (or no socket to ask with): nothing is sent.
// A port that cannot be opened, or a send that fails, raises TarveloError; the interfaces after the
// failing one get no request.
void SendVehicleIdentification(TUdpPort& port, const TInterfaceEnumerator& enumerate);

// A gateway's answer: "DIAGADR10" occurs, and not at the very start of the datagram.
bool IsGatewayAnswer(std::string_view datagram);

// The VIN the answer reports: the 17 characters after the first "BMWVIN", or the fewer that the
// datagram still holds, or "(VIN not reported)" without "BMWVIN". Never a byte from outside the
// datagram. As readable UTF-8: 8-bit characters through the code page, control bytes as "?".
std::string VinText(std::string_view datagram);

// The log lines of an accepted answer: "Found " + VIN, "* IP: " + address, an empty line.
std::vector<std::string> FoundLines(std::string_view datagram, const std::string& sourceAddress);
