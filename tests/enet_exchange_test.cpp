#include <gtest/gtest.h>

#include <chrono>

#include "HexText.h"
#include "ScriptedPeer.h"
#include "SimulatedCar.h"
#include "WaitFor.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TBuffer Hex(const char* text) { return HexTextToBytes(text); }

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

struct ExchangeCase {
  const char* name;
  CarSimFaults faults;
  std::string request;
  std::string answer;        // what EnetRequest returns
  TBuffer frameSent;         // the frame the gateway received
  milliseconds atLeast{0};   // response-pending waits
};

TEST(Exchange, AgainstTheSimulatedCar) {
  CarSimFaults onePending;
  onePending.pending = 1;
  CarSimFaults twoPending;
  twoPending.pending = 2;
  CarSimFaults requestOutOfRange;
  requestOutOfRange.nrc = {{0x31, 0x31}};
  CarSimFaults bytewise;
  bytewise.split = 1;
  const TBuffer erase = Hex("000000060001F4633101A080");
  const ExchangeCase cases[] = {
      {"erase request, the 12-byte frame", {}, "3101A080", "7101A080", erase},
      {"spaces and lower case", {}, "31 01 a0 80", "7101A080", erase},
      {"odd length", {}, "3101A08", "7F3113", Hex("000000050001F4633101A0")},
      {"non-hex character", {}, "31G1A080", "7F3112", Hex("000000060001F46331000000")},
      {"one response-pending answer", onePending, "3101A080", "7101A080", erase, milliseconds(1000)},
      {"two response-pending answers", twoPending, "3101A080", "7101A080", erase, milliseconds(2000)},
      {"negative answer 7F 31 31 comes back at once", requestOutOfRange, "3101A080", "7F3131", erase},
      {"frames in 1-byte pieces", bytewise, "1101", "5101", Hex("000000040001F4631101")},
  };
  for (const ExchangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedCar car(c.faults);
    const auto start = Clock::now();
    EXPECT_EQ(EnetRequest(c.request, "63"), c.answer);
    const auto took = Clock::now() - start;
    EXPECT_GE(took, c.atLeast);
    EXPECT_LT(took, c.atLeast + milliseconds(3000));
    const std::vector<TReceivedFrame> frames = car->ReceivedFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].raw, c.frameSent);
    EXPECT_TRUE(ClientSocket->Connected());  // the connection stays open after an exchange
  }
}

struct ScriptCase {
  const char* name;
  std::vector<ScriptStep> script;
  std::string answer;
  bool connectedAfter;
  milliseconds atLeast{0};
};

TEST(Exchange, AgainstScriptedGateways) {
  const TBuffer ack = AckFrame(Hex("3101A080"));
  const ScriptCase cases[] = {
      {"a 4-byte answer 7F xx 78 yy is no response-pending answer",
       {ReadFrame{}, SendBytes{ack}, SendBytes{AnswerFrame(Hex("7F317800"))}}, "7F317800", true},
      {"an answer of only the two address bytes is empty",
       {ReadFrame{}, SendBytes{ack}, SendBytes{AnswerFrame({})}}, "", true},
      {"pending, then the receive time-out",
       {ReadFrame{}, SendBytes{ack}, SendBytes{AnswerFrame(Hex("7F3178"))}}, "", false, milliseconds(6000)},
      {"an answer longer than the receive buffer fails and closes",  // payload 4,097 bytes
       {ReadFrame{}, SendBytes{ack}, SendBytes{AnswerFrame(TBuffer(4095, 0x71))}}, "", false},
      {"the longest answer that fits, 4,094 bytes",
       {ReadFrame{}, SendBytes{ack}, SendBytes{AnswerFrame(TBuffer(4094, 0x71))}}, Repeat("71", 4094), true},
      {"header cut short, connection closed", {ReadFrame{}, SendBytes{TBuffer{0, 0, 0}}, CloseConnection{}}, "", false},
      {"payload cut short, connection closed",
       {ReadFrame{}, SendBytes{ack}, SendBytes{TBuffer{0, 0, 0, 6, 0, 1, 0x63, 0xF4}}, CloseConnection{}}, "", false},
  };
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedPeer peer(c.script);
    if (!ClientSocket) EnetCreate();
    EnetInit();
    Enet.HOST = "127.0.0.1";
    Enet.PORT = peer.Port();
    const auto start = Clock::now();
    EXPECT_EQ(EnetRequest("3101A080", "63"), c.answer);
    EXPECT_GE(Clock::now() - start, c.atLeast);
    EXPECT_EQ(ClientSocket->Connected(), c.connectedAfter);
    EnetInit();
  }
}

TEST(Exchange, ReconnectsAfterAFailedExchange) {
  CarSimFaults closeAfterOne;
  closeAfterOne.closeAfter = 1;
  SimulatedCar car(closeAfterOne);
  EXPECT_EQ(EnetRequest("1101", "63"), "5101");
  EXPECT_EQ(EnetRequest("1101", "63"), "");  // the gateway closed the connection meanwhile
  EXPECT_FALSE(ClientSocket->Connected());
  EXPECT_EQ(EnetRequest("1101", "63"), "5101");
  EXPECT_EQ(car->Connections(), 2);  // the answer came, so the second connection was accepted
}

TEST(Exchange, NoGatewayGivesAnEmptyAnswerAtOnce) {
  if (!ClientSocket) EnetCreate();
  EnetInit();
  {
    SimulatedCar gone;  // take a free port, then let it go
    Enet.PORT = gone->TcpPort();
  }
  Enet.HOST = "127.0.0.1";
  EXPECT_EQ(EnetRequest("1101", "63"), "");
  Enet.HOST = "";
  EXPECT_EQ(EnetRequest("1101", "63"), "");
}

TEST(Exchange, PumpRunsDuringTheResponsePendingWait) {
  CarSimFaults onePending;
  onePending.pending = 1;
  SimulatedCar car(onePending);
  int calls = 0;
  SetEnetMessagePump([&] { ++calls; });
  EXPECT_EQ(EnetRequest("3101A080", "63"), "7101A080");
  SetEnetMessagePump({});
  EXPECT_GE(calls, 10);    // every few milliseconds for a second
  EXPECT_LE(calls, 1000);  // and not in a busy loop
}

TEST(Exchange, ResetInsideThePumpEndsTheExchangeEmpty) {
  CarSimFaults endless;
  endless.pending = kEndlessPending;
  endless.pendingIntervalMs = 200;
  SimulatedCar car(endless);
  int rounds = 0;
  SetEnetMessagePump([&] {
    if (++rounds == 150) EnetInit();  // as "DETECT" would, after about a round and a half
  });
  EXPECT_EQ(EnetRequest("3101A080", "63"), "");
  SetEnetMessagePump({});
  EXPECT_FALSE(ClientSocket->Connected());
}

TEST(ConnectionState, InitConnectAndEmptyHost) {
  SimulatedCar car;
  Enet.HUDetected = true;
  Enet.HUInfo.SNAM = "x";
  Enet.HUInfo.Auth = true;
  const std::string host = Enet.HOST;
  const uint32_t port = Enet.PORT;
  EnetInit();
  EXPECT_EQ(Enet.HOST, "");
  EXPECT_EQ(Enet.PORT, 6801u);
  EXPECT_FALSE(Enet.HUDetected);
  EXPECT_EQ(Enet.HUInfo.SNAM, "");
  EXPECT_FALSE(Enet.HUInfo.Auth);

  Enet.HOST = host;
  Enet.PORT = port;
  ASSERT_TRUE(EnetConnect());
  Enet.HOST = "";
  EXPECT_FALSE(EnetConnect());
  EXPECT_TRUE(ClientSocket->Connected());  // an empty host leaves the open connection alone
  EXPECT_TRUE(WaitFor([&] { return car->Connections() == 1; }));

  EnetInit();
  EXPECT_FALSE(ClientSocket->Connected());
  EnetInit();  // a disconnected client is left as it is
  EXPECT_FALSE(ClientSocket->Connected());
}

TEST(ConnectionState, ConnectByNameAndSecondConnectClosesTheFirst) {
  SimulatedCar car;
  Enet.HOST = "localhost";
  ASSERT_TRUE(EnetConnect());
  ASSERT_TRUE(EnetConnect());
  EXPECT_TRUE(WaitFor([&] { return car->Connections() == 2; }));
  EXPECT_EQ(EnetRequest("1101", "63"), "5101");
  Enet.HOST = "no-such-host.invalid";
  EXPECT_FALSE(EnetConnect());
}

}  // namespace
