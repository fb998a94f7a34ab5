#include <gtest/gtest.h>

#include <filesystem>

#include "enet/EnetSession.h"
#include "enet/HeadUnitProtocol.h"
#include "enet/HexText.h"
#include "enet/PcapTrace.h"
#include "enet/SessionTrace.h"
#include "history/TarveloError.h"
#include "tests/support/MemoryTransport.h"
#include "tests/support/SimulatedCar.h"
#include "tests/support/TempDir.h"

namespace {

TBuffer Hex(const char* text) { return HexTextToBytes(text); }

TTraceClock::time_point At(int64_t seconds, int64_t microseconds) {
  return TTraceClock::time_point(std::chrono::duration_cast<TTraceClock::duration>(
      std::chrono::seconds(seconds) + std::chrono::microseconds(microseconds)));
}

constexpr uint32_t kAddress20 = 0xC0A80014;  // 192.168.0.20, only as bytes in a header
constexpr uint32_t kAddress10 = 0xC0A8000A;
constexpr uint32_t kLoopback = 0x7F000001;

TEST(PcapLayout, FileAndRecordHeaders) {
  EXPECT_EQ(PcapFileHeader(), Hex("D4C3B2A1 0200 0400 00000000 00000000 00000400 01000000"));
  EXPECT_EQ(PcapRecordHeader(At(1700000000, 123456), 66), Hex("00F15365 40E20100 42000000 42000000"));
  EXPECT_EQ(PcapRecordHeader(At(0, 0), 0), TBuffer(16, 0));
}

TEST(PcapLayout, InternetChecksum) {
  struct Case {
    TBuffer bytes;
    uint32_t start;
    uint16_t sum;
  };
  const std::vector<Case> cases = {
      {Hex("0001F203F4F5F6F7"), 0, 0x220D},  // the example of RFC 1071
      {Hex("01"), 0, 0xFEFF},                // an odd byte is the high half of a word
      {{}, 0, 0xFFFF},
      {Hex("FFFF"), 0, 0x0000},
      {Hex("0001"), 0xFFFF, 0xFFFE},         // the carry folds back in
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(BytesToHexText(c.bytes));
    EXPECT_EQ(InternetChecksum(c.bytes, c.start), c.sum);
  }
}

TEST(PcapLayout, EthernetIPv4AndTcpHeaders) {
  EXPECT_EQ(EthernetHeader(kGatewayMac, kLocalMac), Hex("020000000002 020000000001 0800"));
  EXPECT_EQ(IPv4Header(kLoopback, kLoopback, 0, 40), Hex("4500003C 00004000 40063CBA 7F000001 7F000001"));
  EXPECT_EQ(IPv4Header(kAddress20, kAddress10, 7, 30), Hex("45000032 00074000 4006B950 C0A80014 C0A8000A"));
  const TTcpSegment segment{{kAddress20, 50000}, {kAddress10, 6801}, 0x10000001, 0x20000001, kTcpPsh | kTcpAck};
  const TBuffer tcp = TcpSegmentBytes(segment, Hex("00000004 0001 F463 1101"));
  EXPECT_EQ(tcp, Hex("C3501A91 10000001 20000001 5018FFFF 1B060000 00000004 0001F463 1101"));
  // Both checksums verify: the sum over what they cover, the checksum included, is zero.
  EXPECT_EQ(InternetChecksum(IPv4Header(kAddress20, kAddress10, 7, 30)), 0);
  const uint32_t pseudo = 0xC0A8 + 0x0014 + 0xC0A8 + 0x000A + 6 + static_cast<uint32_t>(tcp.size());
  EXPECT_EQ(InternetChecksum(tcp, pseudo), 0);
}

// One packet of a trace, read back.
struct TracedPacket {
  uint32_t seconds, microseconds;
  TBuffer ethernet;
  uint32_t source, destination;
  uint16_t sourcePort, destinationPort;
  uint32_t sequence, acknowledgement;
  uint8_t flags;
  TBuffer payload;
};

uint32_t Little32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

std::vector<TracedPacket> ReadTrace(const TBuffer& bytes) {
  EXPECT_EQ(TBuffer(bytes.begin(), bytes.begin() + 24), PcapFileHeader());
  std::vector<TracedPacket> packets;
  std::size_t at = kPcapFileHeaderSize;
  while (at < bytes.size()) {
    const uint8_t* r = &bytes[at];
    const uint32_t length = Little32(r + 8);
    EXPECT_EQ(Little32(r + 12), length);
    const uint8_t* p = r + kPcapRecordHeaderSize;
    const uint8_t* ip = p + kEthernetHeaderSize;
    const uint8_t* tcp = ip + kIPv4HeaderSize;
    EXPECT_EQ(InternetChecksum(std::span(ip, kIPv4HeaderSize)), 0);
    const std::size_t tcpLength = length - kEthernetHeaderSize - kIPv4HeaderSize;
    const uint32_t source = LoadBigEndian32(ip + 12), destination = LoadBigEndian32(ip + 16);
    const uint32_t pseudo = (source >> 16) + (source & 0xFFFF) + (destination >> 16) + (destination & 0xFFFF) + 6 +
                            static_cast<uint32_t>(tcpLength);
    EXPECT_EQ(InternetChecksum(std::span(tcp, tcpLength), pseudo), 0);
    packets.push_back({Little32(r), Little32(r + 4), TBuffer(p, p + kEthernetHeaderSize), source, destination,
                       LoadBigEndian16(tcp), LoadBigEndian16(tcp + 2), LoadBigEndian32(tcp + 4), LoadBigEndian32(tcp + 8),
                       tcp[13], TBuffer(tcp + kTcpHeaderSize, tcp + tcpLength)});
    at += kPcapRecordHeaderSize + length;
  }
  EXPECT_EQ(at, bytes.size());
  return packets;
}

TEST(PcapTrace, HandshakeThenEveryFrameWithConsistentNumbers) {
  const TConnectionEnds ends{{kAddress20, 50000}, {kAddress10, 6801}};
  const TConnectionEnds again{{kAddress20, 50001}, {kAddress10, 6801}};
  const TBuffer request = BuildDiagnosticFrame(0xF4, 0x63, Hex("3101A080"));
  const TBuffer ack = BuildFrame(kControlAcknowledge, Hex("F4633101A080"));
  const TBuffer answer = BuildDiagnosticFrame(0x63, 0xF4, Hex("7101A080"));
  const TBuffer big = BuildDiagnosticFrame(0xF4, 0x63, TBuffer(2994, 0xAB));  // 3,000 bytes
  TBuffer bytes;
  {
    TPcapTrace trace(MemoryTraceSink(bytes));
    EXPECT_EQ(bytes, PcapFileHeader());
    trace.Frame(ends, TFrameDirection::Sent, request, At(1700000000, 1));
    trace.Frame(ends, TFrameDirection::Received, ack, At(1700000000, 2));
    trace.Frame(ends, TFrameDirection::Received, answer, At(1700000000, 3));
    trace.Frame(ends, TFrameDirection::Sent, big, At(1700000001, 0));
    trace.Frame(again, TFrameDirection::Sent, request, At(1700000002, 0));
  }
  const uint32_t l = TPcapTrace::kLocalInitialSequence, g = TPcapTrace::kRemoteInitialSequence;
  const uint8_t kPshAck = kTcpPsh | kTcpAck;
  struct Expected {
    bool fromLocal;
    uint16_t localPort;
    uint32_t sequence, acknowledgement;
    uint8_t flags;
    TBuffer payload;
    uint32_t seconds, microseconds;
  };
  const std::vector<Expected> expected = {
      {true, 50000, l, 0, kTcpSyn, {}, 1700000000, 1},
      {false, 50000, g, l + 1, kTcpSyn | kTcpAck, {}, 1700000000, 1},
      {true, 50000, l + 1, g + 1, kTcpAck, {}, 1700000000, 1},
      {true, 50000, l + 1, g + 1, kPshAck, request, 1700000000, 1},
      {false, 50000, g + 1, l + 13, kPshAck, ack, 1700000000, 2},
      {false, 50000, g + 13, l + 13, kPshAck, answer, 1700000000, 3},
      {true, 50000, l + 13, g + 25, kTcpAck, TBuffer(big.begin(), big.begin() + 1460), 1700000001, 0},
      {true, 50000, l + 1473, g + 25, kTcpAck, TBuffer(big.begin() + 1460, big.begin() + 2920), 1700000001, 0},
      {true, 50000, l + 2933, g + 25, kPshAck, TBuffer(big.begin() + 2920, big.end()), 1700000001, 0},
      {true, 50001, l, 0, kTcpSyn, {}, 1700000002, 0},  // a new connection: a new handshake
      {false, 50001, g, l + 1, kTcpSyn | kTcpAck, {}, 1700000002, 0},
      {true, 50001, l + 1, g + 1, kTcpAck, {}, 1700000002, 0},
      {true, 50001, l + 1, g + 1, kPshAck, request, 1700000002, 0},
  };
  const std::vector<TracedPacket> packets = ReadTrace(bytes);
  ASSERT_EQ(packets.size(), expected.size());
  for (std::size_t i = 0; i < packets.size(); ++i) {
    SCOPED_TRACE("packet " + std::to_string(i + 1));
    const TracedPacket& p = packets[i];
    const Expected& e = expected[i];
    EXPECT_EQ(p.source, e.fromLocal ? kAddress20 : kAddress10);
    EXPECT_EQ(p.destination, e.fromLocal ? kAddress10 : kAddress20);
    EXPECT_EQ(p.sourcePort, e.fromLocal ? e.localPort : 6801);
    EXPECT_EQ(p.destinationPort, e.fromLocal ? 6801 : e.localPort);
    EXPECT_EQ(p.ethernet, e.fromLocal ? Hex("020000000002 020000000001 0800") : Hex("020000000001 020000000002 0800"));
    EXPECT_EQ(p.sequence, e.sequence);
    EXPECT_EQ(p.acknowledgement, e.acknowledgement);
    EXPECT_EQ(p.flags, e.flags);
    EXPECT_EQ(p.payload, e.payload);
    EXPECT_EQ(p.seconds, e.seconds);
    EXPECT_EQ(p.microseconds, e.microseconds);
  }
}

TEST(PcapTrace, AFileHoldsEveryPacketAsSoonAsItIsMade) {
  TempDir dir;
  const std::string path = dir.File("trace.pcap");
  const auto size = [&] { return std::filesystem::exists(path) ? std::filesystem::file_size(path) : std::uintmax_t{0}; };
  {
    TPcapFile file(path);
    TPcapTrace trace(file.Sink());
    EXPECT_EQ(size(), kPcapFileHeaderSize);
    trace.Frame({{kLoopback, 40000}, {kLoopback, 6801}}, TFrameDirection::Sent, BuildDiagnosticFrame(0xF4, 0x63, Hex("1101")));
    // Three handshake packets of 54 bytes and one of 64, each with its record header; the file
    // is still open.
    EXPECT_EQ(size(), kPcapFileHeaderSize + 3 * (16 + 54) + (16 + 64));
  }
  try {
    TPcapFile nowhere("/nonexistent/dir/x.pcap");
    ADD_FAILURE() << "created";
  } catch (const ETarveloError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"/nonexistent/dir/x.pcap\". No such file or directory");
  }
}

TEST(FrameObserver, SeesTheRequestTheAcknowledgementEveryPendingAnswerAndTheAnswer) {
  TCarSimFaults faults;
  faults.pending = 2;
  SimulatedCar car(faults);
  const auto session = car.Session();
  std::vector<std::pair<TFrameDirection, TBuffer>> frames;
  std::vector<std::optional<TConnectionEnds>> ends;
  session->SetFrameObserver([&](TFrameDirection direction, std::span<const uint8_t> frame) {
    frames.emplace_back(direction, TBuffer(frame.begin(), frame.end()));
    ends.push_back(session->ConnectionEnds());
  });
  EXPECT_EQ(session->ConnectionEnds(), std::nullopt);
  const TEnetAnswer answer = session->EnetRequest(EraseHistoryRequest(), kHeadUnitAddress);
  EXPECT_EQ(answer.uds, Hex("7101A080"));
  const std::vector<std::pair<TFrameDirection, TBuffer>> expected = {
      {TFrameDirection::Sent, Hex("00000006 0001 F463 3101A080")},
      {TFrameDirection::Received, Hex("00000006 0002 F463 3101A080")},
      {TFrameDirection::Received, Hex("00000005 0001 63F4 7F3178")},
      {TFrameDirection::Received, Hex("00000005 0001 63F4 7F3178")},
      {TFrameDirection::Received, Hex("00000006 0001 63F4 7101A080")},
  };
  EXPECT_EQ(frames, expected);
  ASSERT_TRUE(session->ConnectionEnds());
  const TConnectionEnds e = *session->ConnectionEnds();
  EXPECT_EQ(e.local.address, kLoopback);
  EXPECT_NE(e.local.port, 0);
  EXPECT_EQ(e.remote, (TIPv4Endpoint{kLoopback, car.Port()}));
  EXPECT_EQ(EndpointText(e.remote), "127.0.0.1:" + car.PortText());
  for (const auto& seen : ends) EXPECT_EQ(seen, e);
  session->Disconnect();
  EXPECT_EQ(session->ConnectionEnds(), std::nullopt);

  session->SetFrameObserver({});  // no observer: nothing is called
  EXPECT_TRUE(session->EnetRequest(ResetRequest(), kHeadUnitAddress).Answered());
  EXPECT_EQ(frames.size(), expected.size());
}

TEST(SessionTrace, KeepsTheFramesOfEveryConnectionInMemoryWhileItLives) {
  SimulatedCar car;
  const auto session = car.Session();
  TBuffer bytes;
  std::vector<uint16_t> localPorts;
  {
    TSessionTrace trace(*session, MemoryTraceSink(bytes));
    EXPECT_TRUE(session->EnetRequest(EraseHistoryRequest(), kHeadUnitAddress).Answered());
    localPorts.push_back(session->ConnectionEnds()->local.port);
    session->Disconnect();  // the next request connects again, from another port
    EXPECT_TRUE(session->EnetRequest(ResetRequest(), kHeadUnitAddress).Answered());
    localPorts.push_back(session->ConnectionEnds()->local.port);
  }
  const std::size_t traced = bytes.size();
  EXPECT_TRUE(session->EnetRequest(ResetRequest(), kHeadUnitAddress).Answered());  // after the trace: not traced
  EXPECT_EQ(bytes.size(), traced);

  std::vector<std::string> seen;  // "port > port: payload" of every packet
  for (const TracedPacket& p : ReadTrace(bytes)) {
    EXPECT_EQ(p.source, kLoopback);
    EXPECT_EQ(p.destination, kLoopback);
    seen.push_back(std::to_string(p.sourcePort) + ">" + std::to_string(p.destinationPort) + " " +
                   BytesToHexText(p.payload));
  }
  const std::string l1 = std::to_string(localPorts[0]), l2 = std::to_string(localPorts[1]), g = car.PortText();
  EXPECT_EQ(seen, (std::vector<std::string>{
                      l1 + ">" + g + " ", g + ">" + l1 + " ", l1 + ">" + g + " ",  // handshake
                      l1 + ">" + g + " 000000060001F4633101A080", g + ">" + l1 + " 000000060002F4633101A080",
                      g + ">" + l1 + " 00000006000163F47101A080",
                      l2 + ">" + g + " ", g + ">" + l2 + " ", l2 + ">" + g + " ",  // the new connection's
                      l2 + ">" + g + " 000000040001F4631101", g + ">" + l2 + " 000000040002F4631101",
                      g + ">" + l2 + " 00000004000163F45101"}));
}

TEST(FrameObserver, AFrameThatDoesNotArriveWholeIsNotSeenAndAConnectionInMemoryHasNoEnds) {
  auto transport = std::make_unique<TMemoryTransport>();
  TMemoryTransport* peer = transport.get();
  TEnetSession session(std::move(transport), QuickTimings());
  session.SetTarget("gateway", kEnetPort);
  std::vector<TBuffer> received;
  session.SetFrameObserver([&](TFrameDirection direction, std::span<const uint8_t> frame) {
    if (direction == TFrameDirection::Received) received.emplace_back(frame.begin(), frame.end());
  });
  peer->Queue(Hex("00000006 0002 F463 3101A080 00000006 0001 63"));  // the answer is cut short
  EXPECT_FALSE(session.EnetRequest(EraseHistoryRequest(), kHeadUnitAddress).Answered());
  EXPECT_EQ(received, std::vector<TBuffer>{Hex("00000006 0002 F463 3101A080")});
  EXPECT_EQ(session.ConnectionEnds(), std::nullopt);
}

}  // namespace
