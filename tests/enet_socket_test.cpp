#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "enet/ClientSocket.h"
#include "tests/support/LoopbackListener.h"
#include "tools/carsim/SocketIo.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

const TWaitControl kPlainWait;  // no pump, never stopped
constexpr milliseconds kFiveSeconds{5000};

using Listener = TLoopbackListener;  // the test accepts from it by hand

TEST(ClientSocket, NewClientHoldsNothing) {
  TClientSocket c;
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(c.Socket(), kNoSocket);
  char b[4];
  EXPECT_EQ(c.ReceiveBuffer(b, 4, kPlainWait, kFiveSeconds), -1);
  EXPECT_EQ(c.SendBuffer(b, 4, kPlainWait), -1);
}

TEST(ClientSocket, ConnectsByAddressAndByName) {
  Listener l;
  for (const char* host : {"127.0.0.1", "localhost"}) {
    SCOPED_TRACE(host);
    TClientSocket c;
    c.Connect(host, l.Port(), kPlainWait);
    EXPECT_TRUE(c.Connected());
    EXPECT_NE(c.Socket(), kNoSocket);
    const TSocketHandle peer = l.Accept();
    EXPECT_EQ(c.SendBuffer("abc", 3, kPlainWait), 3);
    uint8_t b[3];
    EXPECT_TRUE(ReceiveAll(peer, b, 3));
    EXPECT_EQ(std::string(b, b + 3), "abc");
    CloseSocketHandle(peer);
  }
}

TEST(ClientSocket, EmptyOrUnresolvableAddressMakesNoConnection) {
  for (const char* host : {"", "no-such-host.invalid"}) {
    SCOPED_TRACE(host);
    TClientSocket c;
    c.Connect(host, 6801, kPlainWait);
    EXPECT_FALSE(c.Connected());
    EXPECT_NE(c.Socket(), kNoSocket);  // the attempt's socket stays until the next Disconnect
    c.Disconnect();
    EXPECT_EQ(c.Socket(), kNoSocket);
  }
}

TEST(ClientSocket, RefusedConnectionLeavesItDisconnected) {
  uint16_t port;
  { port = Listener().Port(); }  // nobody listens there any more
  TClientSocket c;
  c.Connect("127.0.0.1", port, kPlainWait);
  EXPECT_FALSE(c.Connected());
}

TEST(ClientSocket, OnlyTheLow16BitsOfThePortCount) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", 0x10000 + l.Port(), kPlainWait);
  EXPECT_TRUE(c.Connected());
}

TEST(ClientSocket, SecondConnectClosesTheFirst) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", l.Port(), kPlainWait);
  const TSocketHandle first = l.Accept();
  c.Connect("127.0.0.1", l.Port(), kPlainWait);
  const TSocketHandle second = l.Accept();
  EXPECT_TRUE(c.Connected());
  char b;
  EXPECT_EQ(recv(first, &b, 1, 0), 0);  // the first connection was closed
  CloseSocketHandle(first);
  CloseSocketHandle(second);
}

TEST(ClientSocket, PeerClosingOrAZeroByteReceiveDisconnects) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", l.Port(), kPlainWait);
  CloseSocketHandle(l.Accept());
  char b[8];
  EXPECT_EQ(c.ReceiveBuffer(b, 8, kPlainWait, kFiveSeconds), 0);
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(c.LastFailure(), TLinkFailure::ClosedByPeer);
  EXPECT_EQ(c.ReceiveBuffer(b, 8, kPlainWait, kFiveSeconds), -1);
  EXPECT_EQ(c.SendBuffer(b, 8, kPlainWait), -1);

  c.Connect("127.0.0.1", l.Port(), kPlainWait);
  const TSocketHandle peer = l.Accept();
  EXPECT_EQ(c.ReceiveBuffer(b, 0, kPlainWait, kFiveSeconds), 0);
  EXPECT_FALSE(c.Connected());
  CloseSocketHandle(peer);
}

TEST(ClientSocket, SendErrorDisconnects) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", l.Port(), kPlainWait);
  const TSocketHandle peer = l.Accept();
  ResetOnClose(peer);
  CloseSocketHandle(peer);  // reset
  std::this_thread::sleep_for(milliseconds(50));
  const std::string data(1000, 'x');
  int32_t result = 0;
  for (int i = 0; i < 10 && result >= 0; ++i) result = c.SendBuffer(data.data(), static_cast<int32_t>(data.size()), kPlainWait);
  EXPECT_EQ(result, -1);
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(c.LastFailure(), TLinkFailure::ClosedByPeer);
}

TEST(ClientSocket, ReceiveGivesUpAfterItsTimeOutAndThePumpRunsMeanwhile) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", l.Port(), kPlainWait);
  const TSocketHandle peer = l.Accept();
  TWaitControl wait;
  int pumped = 0;
  wait.SetMessagePump([&] { ++pumped; });
  const auto start = Clock::now();
  char b[6];
  EXPECT_LT(c.ReceiveBuffer(b, 6, wait, milliseconds(300)), 0);
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, milliseconds(300));
  EXPECT_LT(waited, std::chrono::seconds(10));
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(c.LastFailure(), TLinkFailure::TimedOut);
  // In slices: often enough that a window event never waits long, not in a busy loop.
  EXPECT_GE(pumped, 5);
  EXPECT_LE(pumped, 300 / TWaitControl::kSlice.count() + 5);
  CloseSocketHandle(peer);
}

TEST(ClientSocket, AStopFromThePumpEndsAReceiveAndGivesTheConnectionUp) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", l.Port(), kPlainWait);
  const TSocketHandle peer = l.Accept();
  TWaitControl wait;
  int pumped = 0;
  wait.SetMessagePump([&] {
    if (++pumped == 3) wait.RequestStop();  // as the "Stop" button does, from a window event
  });
  const auto start = Clock::now();
  char b[6];
  EXPECT_EQ(c.ReceiveBuffer(b, 6, wait, std::chrono::minutes(1)), -1);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(c.LastFailure(), TLinkFailure::Stopped);
  EXPECT_FALSE(c.Connected());
  char gone;
  EXPECT_EQ(recv(peer, &gone, 1, 0), 0);  // the car sees the connection closed
  CloseSocketHandle(peer);

  // A stopped wait stays stopped until the stop is cleared.
  c.Connect("127.0.0.1", l.Port(), wait);
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(c.LastFailure(), TLinkFailure::Stopped);
  wait.ClearStop();
  wait.SetMessagePump({});
  c.Connect("127.0.0.1", l.Port(), wait);
  EXPECT_TRUE(c.Connected());
  CloseSocketHandle(l.Accept());
}

}  // namespace
