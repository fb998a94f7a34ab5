#pragma once
// A trace of the diagnostic connection as a pcap file that Wireshark and tshark open: the classic
// libpcap format (version 2.4, microseconds, little-endian), link type Ethernet. Tarvelo sees only
// the bytes of the frames, not the packets on the wire, so every frame is wrapped in made-up but
// consistent Ethernet, IPv4 and TCP headers: the connection's real addresses and ports, made-up MAC
// addresses, a made-up three-way handshake before the first frame, sequence and acknowledgement
// numbers that count every byte, segments of at most 1,460 bytes (as on an Ethernet with an MTU of
// 1,500), and correct IPv4 and TCP checksums. A frame whose ends differ from the previous one's (a
// new connection) starts a new handshake.
//
// TPcapTrace hands every packet to a sink as soon as it is made: the file sink writes and flushes
// it (a crash leaves a readable file), the memory sink keeps the bytes for saving later.

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "enet/ConnectionEnds.h"
#include "enet/EnetFrame.h"
#include "history/ServiceRecord.h"

inline constexpr uint32_t kPcapMagic = 0xA1B2C3D4;  // microsecond time stamps
inline constexpr uint32_t kPcapSnapLength = 262144;
inline constexpr uint32_t kLinkTypeEthernet = 1;
inline constexpr std::size_t kPcapFileHeaderSize = 24;
inline constexpr std::size_t kPcapRecordHeaderSize = 16;
inline constexpr std::size_t kEthernetHeaderSize = 14;
inline constexpr std::size_t kIPv4HeaderSize = 20;
inline constexpr std::size_t kTcpHeaderSize = 20;
inline constexpr std::size_t kMaxSegmentPayload = 1460;

// Made-up MAC addresses (locally administered) for this computer and for the gateway.
inline constexpr std::array<uint8_t, 6> kLocalMac = {0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
inline constexpr std::array<uint8_t, 6> kGatewayMac = {0x02, 0x00, 0x00, 0x00, 0x00, 0x02};

// TCP flags.
inline constexpr uint8_t kTcpFin = 0x01;
inline constexpr uint8_t kTcpSyn = 0x02;
inline constexpr uint8_t kTcpPsh = 0x08;
inline constexpr uint8_t kTcpAck = 0x10;

using TTraceClock = std::chrono::system_clock;

// --- Byte layouts, each a pure function ---

// The 24-byte file header: magic, version 2.4, time zone 0, accuracy 0, snap length, Ethernet.
TBuffer PcapFileHeader();

// The 16-byte header of one packet record: seconds and microseconds since 1970, and the length
// (stored and original, the same: nothing is cut).
TBuffer PcapRecordHeader(TTraceClock::time_point time, uint32_t packetLength);

// The one's complement sum of 16-bit big-endian words (RFC 1071), a last odd byte padded with a
// zero, folded and inverted; start carries a sum already made (the TCP pseudo header's).
uint16_t InternetChecksum(std::span<const uint8_t> bytes, uint32_t start = 0);

// Destination MAC, source MAC, type 0x0800 (IPv4).
TBuffer EthernetHeader(std::span<const uint8_t, 6> destination, std::span<const uint8_t, 6> source);

// 20 bytes: version 4, no options, total length 20 + payloadLength, the identification, don't
// fragment, TTL 64, protocol TCP, the header checksum, source and destination.
TBuffer IPv4Header(uint32_t source, uint32_t destination, uint16_t identification, std::size_t payloadLength);

struct TTcpSegment {
  TIPv4Endpoint source;
  TIPv4Endpoint destination;
  uint32_t sequence = 0;
  uint32_t acknowledgement = 0;
  uint8_t flags = 0;
  uint16_t window = 65535;
};

// The 20-byte TCP header (no options) and the payload, with the checksum over the IPv4 pseudo
// header, the header and the payload.
TBuffer TcpSegmentBytes(const TTcpSegment& segment, std::span<const uint8_t> payload);

// --- The trace ---

using TTraceSink = std::function<void(std::span<const uint8_t> bytes)>;

class TPcapTrace {
 public:
  // Hands the file header to the sink at once.
  explicit TPcapTrace(TTraceSink sink);

  // One whole frame of the connection between ends: sent from local to remote, or received.
  void Frame(const TConnectionEnds& ends, TFrameDirection direction, std::span<const uint8_t> frame,
             TTraceClock::time_point time = TTraceClock::now());

  // The sequence numbers the handshake starts with (the SYN's own number; data starts one later).
  static constexpr uint32_t kLocalInitialSequence = 0x10000000;
  static constexpr uint32_t kRemoteInitialSequence = 0x20000000;

 private:
  void Handshake(const TConnectionEnds& ends, TTraceClock::time_point time);
  void Packet(bool fromLocal, uint8_t flags, std::span<const uint8_t> payload, TTraceClock::time_point time);

  TTraceSink sink_;
  std::optional<TConnectionEnds> ends_;
  uint32_t localNext_ = 0;   // the next sequence number of each side
  uint32_t remoteNext_ = 0;
  uint16_t identification_ = 0;
};

// A sink that appends to bytes (which must outlive the trace).
TTraceSink MemoryTraceSink(TBuffer& bytes);

// A trace file: created (or emptied) at once, every write flushed. Throws ETarveloError
//   Cannot create file "<path>". <the system's error text>
class TPcapFile {
 public:
  explicit TPcapFile(const std::string& path);
  ~TPcapFile();
  TPcapFile(const TPcapFile&) = delete;
  TPcapFile& operator=(const TPcapFile&) = delete;
  TTraceSink Sink();

 private:
  std::FILE* file_ = nullptr;
};
