// One diagnostic exchange: the frames that go out, the answers that come back, the waits for
// response-pending answers, and why an exchange got no answer. Against the simulated car on
// loopback, and against a connection in memory that answers at once or times out at once.
#include <gtest/gtest.h>

#include <chrono>

#include "enet/HeadUnitProtocol.h"
#include "enet/HexText.h"
#include "tests/support/MemoryTransport.h"
#include "tests/support/ScriptedPeer.h"
#include "tests/support/SimulatedCar.h"
#include "tests/support/WaitFor.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TBuffer Hex(const char* text) { return HexTextToBytes(text); }

const TBuffer kErase = EraseHistoryRequest();
const TBuffer kEraseFrame = Hex("000000060001F4633101A080");

struct CarCase {
  const char* name;
  TCarSimFaults faults;
  TBuffer request;
  TBuffer answer;
  TBuffer frameSent;  // the frame the gateway received
  int pendingWaits = 0;
};

TEST(Exchange, AgainstTheSimulatedCar) {
  TCarSimFaults onePending;
  onePending.pending = 1;
  TCarSimFaults twoPending;
  twoPending.pending = 2;
  TCarSimFaults requestOutOfRange;
  requestOutOfRange.nrc = {{0x31, 0x31}};
  TCarSimFaults bytewise;
  bytewise.split = 1;
  const CarCase cases[] = {
      {"erase request, the 12-byte frame", {}, kErase, Hex("7101A080"), kEraseFrame},
      {"one response-pending answer", onePending, kErase, Hex("7101A080"), kEraseFrame, 1},
      {"two response-pending answers", twoPending, kErase, Hex("7101A080"), kEraseFrame, 2},
      {"a negative answer 7F 31 31 comes back at once", requestOutOfRange, kErase, Hex("7F3131"), kEraseFrame},
      {"frames in 1-byte pieces", bytewise, ResetRequest(), Hex("5101"), Hex("000000040001F4631101")},
      {"an entry to another unit", {}, Hex("2201"), Hex("7F2211"), Hex("000000040001F4122201")},
  };
  TEnetTimings timings;
  timings.responsePendingWait = milliseconds(100);
  for (const CarCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedCar car(c.faults);
    const auto session = car.Session(timings);
    const uint8_t target = c.frameSent[7];
    const auto start = Clock::now();
    const TEnetAnswer answer = session->EnetRequest(c.request, target);
    const auto took = Clock::now() - start;
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(answer.uds, c.answer);
    EXPECT_GE(took, c.pendingWaits * timings.responsePendingWait);
    const std::vector<TReceivedFrame> frames = car->ReceivedFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].raw, c.frameSent);
    EXPECT_TRUE(session->Connected());  // the connection stays open after an exchange
  }
}

struct MemoryCase {
  const char* name;
  TBuffer gatewaySends;          // everything the gateway sends after the request
  bool closesAfterwards;         // then closes the connection (else goes silent)
  std::optional<TBuffer> answer;
  std::optional<TNoAnswer> missing;
  bool connectedAfter;
};

TBuffer Concat(std::initializer_list<TBuffer> parts) {
  TBuffer all;
  for (const TBuffer& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(Exchange, AnswersAndWhyThereIsNone) {
  const TBuffer ack = AckFrame(kErase);
  const MemoryCase cases[] = {
      {"the answer", Concat({ack, AnswerFrame(Hex("7101A080"))}), false, Hex("7101A080"), {}, true},
      {"a 4-byte answer 7F xx 78 yy is no response-pending answer", Concat({ack, AnswerFrame(Hex("7F317800"))}), false,
       Hex("7F317800"), {}, true},
      {"an answer of only the two address bytes is empty", Concat({ack, AnswerFrame({})}), false, TBuffer{}, {}, true},
      {"the longest answer that fits, 4,094 bytes", Concat({ack, AnswerFrame(TBuffer(4094, 0x71))}), false,
       TBuffer(4094, 0x71), {}, true},
      {"nothing at all", {}, false, {}, TNoAnswer::TimedOut, false},
      {"the acknowledgement only", ack, false, {}, TNoAnswer::TimedOut, false},
      {"pending, then nothing", Concat({ack, AnswerFrame(Hex("7F3178"))}), false, {}, TNoAnswer::TimedOut, false},
      {"an answer longer than the receive buffer",  // payload 4,097 bytes
       Concat({ack, AnswerFrame(TBuffer(4095, 0x71))}), false, {}, TNoAnswer::FrameTooLong, false},
      {"a header cut short, then closed", TBuffer{0, 0, 0}, true, {}, TNoAnswer::ClosedByCar, false},
      {"a payload cut short, then closed", Concat({ack, TBuffer{0, 0, 0, 6, 0, 1, 0x63, 0xF4}}), true, {},
       TNoAnswer::ClosedByCar, false},
  };
  for (const MemoryCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto transport = std::make_unique<TMemoryTransport>();
    TMemoryTransport::State& car = transport->Peer();
    car.piece = 5;  // TCP may cut the bytes anywhere
    car.closeWhenEmpty = c.closesAfterwards;
    const TBuffer sends = c.gatewaySends;
    car.responder = [sends](const TBuffer&) { return sends; };
    TEnetSession session(std::move(transport), QuickTimings());
    session.SetTarget("car", kEnetPort);
    const TEnetAnswer answer = session.EnetRequest(kErase, kHeadUnitAddress);
    EXPECT_EQ(car.frames, std::vector<TBuffer>{kEraseFrame});
    EXPECT_EQ(answer.missing, c.missing);
    if (c.answer) {
      EXPECT_EQ(answer.uds, *c.answer);
    }
    EXPECT_EQ(session.Connected(), c.connectedAfter);
  }
}

TEST(Exchange, WhatIsNeverSent) {
  auto transport = std::make_unique<TMemoryTransport>();
  TMemoryTransport::State& car = transport->Peer();
  TEnetSession session(std::move(transport), QuickTimings());

  session.SetTarget("", kEnetPort);
  EXPECT_EQ(session.EnetRequest(kErase, kHeadUnitAddress).missing, TNoAnswer::NotConnected);
  session.SetTarget("car", kEnetPort);
  car.refuseConnect = true;
  EXPECT_EQ(session.EnetRequest(kErase, kHeadUnitAddress).missing, TNoAnswer::NotConnected);
  car.refuseConnect = false;
  // The 16-bit length field counts the two address bytes: 65,533 request bytes at most.
  EXPECT_EQ(session.EnetRequest(TBuffer(kMaxRequestSize + 1, 0x31), kHeadUnitAddress).missing,
            TNoAnswer::RequestTooLong);
  EXPECT_TRUE(car.sent.empty());

  car.responder = [](const TBuffer&) { return TBuffer{}; };
  session.EnetRequest(TBuffer(kMaxRequestSize, 0x31), kHeadUnitAddress);
  ASSERT_EQ(car.frames.size(), 1u);
  EXPECT_EQ(car.frames[0].size(), kFrameHeaderSize + 65535);
  EXPECT_EQ(FramePayloadLength(car.frames[0].data()), 65535);
}

TEST(Exchange, ReconnectsAfterAFailedExchange) {
  TCarSimFaults closeAfterOne;
  closeAfterOne.closeAfter = 1;
  SimulatedCar car(closeAfterOne);
  const auto session = car.Session();
  EXPECT_EQ(session->EnetRequest(ResetRequest(), kHeadUnitAddress).uds, Hex("5101"));
  // The gateway closed the connection meanwhile.
  EXPECT_EQ(session->EnetRequest(ResetRequest(), kHeadUnitAddress).missing, TNoAnswer::ClosedByCar);
  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(session->EnetRequest(ResetRequest(), kHeadUnitAddress).uds, Hex("5101"));
  EXPECT_EQ(car->Connections(), 2);
}

TEST(Exchange, NoGatewayMeansNoConnectionAtOnce) {
  uint16_t closedPort;
  {
    SimulatedCar gone;  // take a free port, then let it go
    closedPort = gone.Port();
  }
  TEnetSession session(QuickTimings());
  for (const char* host : {"127.0.0.1", ""}) {
    SCOPED_TRACE(host);
    session.SetTarget(host, closedPort);
    const auto start = Clock::now();
    EXPECT_EQ(session.EnetRequest(ResetRequest(), kHeadUnitAddress).missing, TNoAnswer::NotConnected);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  }
}

TEST(Exchange, ThePumpRunsDuringTheResponsePendingWait) {
  TCarSimFaults onePending;
  onePending.pending = 1;
  SimulatedCar car(onePending);
  TEnetTimings timings;
  timings.responsePendingWait = milliseconds(200);
  const auto session = car.Session(timings);
  int calls = 0;
  session->Wait().SetMessagePump([&] { ++calls; });
  EXPECT_EQ(session->EnetRequest(kErase, kHeadUnitAddress).uds, Hex("7101A080"));
  EXPECT_GE(calls, 5);    // every slice of the wait
  EXPECT_LE(calls, 100);  // and not in a busy loop
}

// The user stops an exchange that would never end: the car keeps saying "response pending".
TEST(Exchange, AStopEndsAnEndlessResponsePendingWait) {
  TCarSimFaults endless;
  endless.pending = kEndlessPending;
  endless.pendingIntervalMs = 50;
  SimulatedCar car(endless);
  TEnetTimings timings;
  timings.responsePendingWait = milliseconds(100);
  const auto session = car.Session(timings);
  int rounds = 0;
  session->Wait().SetMessagePump([&] {
    if (++rounds == 30) session->Wait().RequestStop();
  });
  const auto start = Clock::now();
  EXPECT_EQ(session->EnetRequest(kErase, kHeadUnitAddress).missing, TNoAnswer::Stopped);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  EXPECT_FALSE(session->Connected());  // the exchange is given up with its connection
  EXPECT_TRUE(WaitFor([&] { return car->Connections() == 1; }));
}

TEST(ConnectionState, InitConnectAndEmptyHost) {
  SimulatedCar car;
  const auto session = car.Session();
  session->EnetInit();
  EXPECT_EQ(session->Host(), "");
  EXPECT_EQ(session->Port(), 6801u);

  session->SetTarget("127.0.0.1", car.Port());
  ASSERT_TRUE(session->EnetConnect());
  session->SetTarget("", car.Port());
  EXPECT_FALSE(session->EnetConnect());
  EXPECT_TRUE(session->Connected());  // an empty host leaves the open connection alone
  EXPECT_TRUE(WaitFor([&] { return car->Connections() == 1; }));

  session->EnetInit();
  EXPECT_FALSE(session->Connected());
  session->EnetInit();  // a disconnected session is left as it is
  EXPECT_FALSE(session->Connected());
}

TEST(ConnectionState, ConnectByNameAndSecondConnectClosesTheFirst) {
  SimulatedCar car;
  const auto session = car.Session();
  session->SetTarget("localhost", car.Port());
  ASSERT_TRUE(session->EnetConnect());
  ASSERT_TRUE(session->EnetConnect());
  EXPECT_TRUE(WaitFor([&] { return car->Connections() == 2; }));
  EXPECT_EQ(session->EnetRequest(ResetRequest(), kHeadUnitAddress).uds, Hex("5101"));
  session->SetTarget("no-such-host.invalid", car.Port());
  EXPECT_FALSE(session->EnetConnect());
}

}  // namespace
