#pragma once
// HSFZ frames for diagnostics over ENET, both sides of the wire.
//
//   offset  size      field
//   0       4         payload length, big-endian (senders keep bytes 0 and 1 zero;
//                     receivers read only bytes 2 and 3, a 16-bit length)
//   4       2         control word: 0x0001 diagnostic message, 0x0002 acknowledgement,
//                     0x0011 vehicle identification
//   6       1         source address (the tester is F4)
//   7       1         target address (the head unit is 63)
//   8       length-2  UDS message
//
// The payload length counts the two address bytes.

#include <cstdint>
#include <span>

#include "history/ServiceRecord.h"

inline constexpr uint16_t kEnetPort = 6801;
inline constexpr uint16_t kDiscoveryPort = 6811;
inline constexpr uint8_t kTesterAddress = 0xF4;

inline constexpr std::size_t kFrameHeaderSize = 6;
inline constexpr std::size_t kFrameAddressSize = 2;
inline constexpr std::size_t kMaxFramePayload = 0xFFFF;
// The longest request: its payload, with the two address bytes, must fit the 16-bit length.
inline constexpr std::size_t kMaxRequestSize = kMaxFramePayload - kFrameAddressSize;
// The receive buffer: a received frame's payload must fit, so the longest answer is 4,094 bytes.
inline constexpr std::size_t kReceiveBufferSize = 4096;

inline constexpr uint16_t kControlDiagnosticMessage = 0x0001;
inline constexpr uint16_t kControlAcknowledge = 0x0002;
inline constexpr uint16_t kControlVehicleIdentification = 0x0011;

// Which way a frame went on the diagnostic connection: sent to the gateway, or received from it.
enum class TFrameDirection { Sent, Received };

// A frame: header with the payload's length and the control word, then the payload.
// The payload must not be longer than kMaxFramePayload.
TBuffer BuildFrame(uint16_t control, std::span<const uint8_t> payload);

// A diagnostic message frame from source to target carrying uds.
TBuffer BuildDiagnosticFrame(uint8_t source, uint8_t target, std::span<const uint8_t> uds);

// The 16-bit payload length of a received header (bytes 2 and 3).
uint16_t FramePayloadLength(const uint8_t* header);
uint16_t FrameControlWord(const uint8_t* header);
