#include "enet/PcapTrace.h"

#include <cerrno>
#include <system_error>

#include "history/FileIo.h"
#include "history/TarveloError.h"

namespace {

constexpr uint16_t kPcapVersionMajor = 2;
constexpr uint16_t kPcapVersionMinor = 4;
constexpr uint16_t kEtherTypeIPv4 = 0x0800;
constexpr uint8_t kIPv4VersionAndLength = 0x45;  // version 4, 5 words
constexpr uint16_t kDontFragment = 0x4000;
constexpr uint8_t kTimeToLive = 64;
constexpr uint8_t kProtocolTcp = 6;
constexpr uint8_t kTcpDataOffset = 0x50;  // 5 words, no options

// pcap headers are written little-endian, as a little-endian machine writes them; readers tell by
// the magic number.
void PutLittle16(TBuffer& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutLittle32(TBuffer& out, uint32_t v) {
  PutLittle16(out, static_cast<uint16_t>(v));
  PutLittle16(out, static_cast<uint16_t>(v >> 16));
}

// Network headers are big-endian.
void PutBig16(TBuffer& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutBig32(TBuffer& out, uint32_t v) {
  PutBig16(out, static_cast<uint16_t>(v >> 16));
  PutBig16(out, static_cast<uint16_t>(v));
}

// The sum of the IPv4 pseudo header that the TCP checksum covers.
uint32_t PseudoHeaderSum(uint32_t source, uint32_t destination, std::size_t tcpLength) {
  return (source >> 16) + (source & 0xFFFF) + (destination >> 16) + (destination & 0xFFFF) + kProtocolTcp +
         static_cast<uint32_t>(tcpLength);
}

}  // namespace

TBuffer PcapFileHeader() {
  TBuffer h;
  PutLittle32(h, kPcapMagic);
  PutLittle16(h, kPcapVersionMajor);
  PutLittle16(h, kPcapVersionMinor);
  PutLittle32(h, 0);  // time zone: UTC
  PutLittle32(h, 0);  // accuracy of the time stamps
  PutLittle32(h, kPcapSnapLength);
  PutLittle32(h, kLinkTypeEthernet);
  return h;
}

TBuffer PcapRecordHeader(TTraceClock::time_point time, uint32_t packetLength) {
  const auto since = std::chrono::duration_cast<std::chrono::microseconds>(time.time_since_epoch()).count();
  TBuffer h;
  PutLittle32(h, static_cast<uint32_t>(since / 1000000));
  PutLittle32(h, static_cast<uint32_t>(since % 1000000));
  PutLittle32(h, packetLength);
  PutLittle32(h, packetLength);
  return h;
}

uint16_t InternetChecksum(std::span<const uint8_t> bytes, uint32_t start) {
  uint64_t sum = start;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    sum += static_cast<uint32_t>(bytes[i]) << 8;
    if (i + 1 < bytes.size()) sum += bytes[i + 1];
  }
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum);
}

TBuffer EthernetHeader(std::span<const uint8_t, 6> destination, std::span<const uint8_t, 6> source) {
  TBuffer h;
  for (uint8_t b : destination) h.push_back(b);
  for (uint8_t b : source) h.push_back(b);
  PutBig16(h, kEtherTypeIPv4);
  return h;
}

TBuffer IPv4Header(uint32_t source, uint32_t destination, uint16_t identification, std::size_t payloadLength) {
  TBuffer h;
  h.push_back(kIPv4VersionAndLength);
  h.push_back(0);  // DSCP, ECN
  PutBig16(h, static_cast<uint16_t>(kIPv4HeaderSize + payloadLength));
  PutBig16(h, identification);
  PutBig16(h, kDontFragment);
  h.push_back(kTimeToLive);
  h.push_back(kProtocolTcp);
  PutBig16(h, 0);  // the checksum, below
  PutBig32(h, source);
  PutBig32(h, destination);
  const uint16_t checksum = InternetChecksum(h);
  h[10] = static_cast<uint8_t>(checksum >> 8);
  h[11] = static_cast<uint8_t>(checksum);
  return h;
}

TBuffer TcpSegmentBytes(const TTcpSegment& s, std::span<const uint8_t> payload) {
  TBuffer t;
  PutBig16(t, s.source.port);
  PutBig16(t, s.destination.port);
  PutBig32(t, s.sequence);
  PutBig32(t, s.acknowledgement);
  t.push_back(kTcpDataOffset);
  t.push_back(s.flags);
  PutBig16(t, s.window);
  PutBig16(t, 0);  // the checksum, below
  PutBig16(t, 0);  // urgent pointer
  t.insert(t.end(), payload.begin(), payload.end());
  const uint16_t checksum = InternetChecksum(t, PseudoHeaderSum(s.source.address, s.destination.address, t.size()));
  t[16] = static_cast<uint8_t>(checksum >> 8);
  t[17] = static_cast<uint8_t>(checksum);
  return t;
}

TPcapTrace::TPcapTrace(TTraceSink sink) : sink_(std::move(sink)) { sink_(PcapFileHeader()); }

void TPcapTrace::Packet(bool fromLocal, uint8_t flags, std::span<const uint8_t> payload, TTraceClock::time_point time) {
  const TIPv4Endpoint& from = fromLocal ? ends_->local : ends_->remote;
  const TIPv4Endpoint& to = fromLocal ? ends_->remote : ends_->local;
  uint32_t& sequence = fromLocal ? localNext_ : remoteNext_;
  TTcpSegment segment{from, to, sequence, 0, flags};
  if (flags & kTcpAck) segment.acknowledgement = fromLocal ? remoteNext_ : localNext_;
  const TBuffer tcp = TcpSegmentBytes(segment, payload);
  TBuffer packet = EthernetHeader(fromLocal ? kGatewayMac : kLocalMac, fromLocal ? kLocalMac : kGatewayMac);
  const TBuffer ip = IPv4Header(from.address, to.address, identification_++, tcp.size());
  packet.insert(packet.end(), ip.begin(), ip.end());
  packet.insert(packet.end(), tcp.begin(), tcp.end());
  TBuffer record = PcapRecordHeader(time, static_cast<uint32_t>(packet.size()));
  record.insert(record.end(), packet.begin(), packet.end());
  // A SYN or a FIN counts as one byte of the sequence.
  sequence += static_cast<uint32_t>(payload.size()) + ((flags & (kTcpSyn | kTcpFin)) ? 1 : 0);
  sink_(record);
}

void TPcapTrace::Handshake(const TConnectionEnds& ends, TTraceClock::time_point time) {
  ends_ = ends;
  localNext_ = kLocalInitialSequence;
  remoteNext_ = kRemoteInitialSequence;
  Packet(true, kTcpSyn, {}, time);
  Packet(false, kTcpSyn | kTcpAck, {}, time);
  Packet(true, kTcpAck, {}, time);
}

void TPcapTrace::Frame(const TConnectionEnds& ends, TFrameDirection direction, std::span<const uint8_t> frame,
                       TTraceClock::time_point time) {
  if (!ends_ || *ends_ != ends) Handshake(ends, time);
  const bool fromLocal = direction == TFrameDirection::Sent;
  do {
    const std::span<const uint8_t> piece = frame.first(std::min(frame.size(), kMaxSegmentPayload));
    frame = frame.subspan(piece.size());
    Packet(fromLocal, static_cast<uint8_t>(kTcpAck | (frame.empty() ? kTcpPsh : 0)), piece, time);
  } while (!frame.empty());
}

TTraceSink MemoryTraceSink(TBuffer& bytes) {
  return [&bytes](std::span<const uint8_t> more) { bytes.insert(bytes.end(), more.begin(), more.end()); };
}

TPcapFile::TPcapFile(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
  if (!file_) {
    throw CannotCreateFileError(path, std::error_code(errno, std::generic_category()).message());
  }
}

TPcapFile::~TPcapFile() {
  if (file_) std::fclose(file_);
}

TTraceSink TPcapFile::Sink() {
  return [this](std::span<const uint8_t> bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::fflush(file_);
  };
}
