#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "uENETSocket.h"

namespace {

// A listening loopback socket the test accepts from by hand.
class Listener {
 public:
  Listener() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd_, 4);
    socklen_t n = sizeof a;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n);
    port_ = ntohs(a.sin_port);
  }
  ~Listener() { close(fd_); }
  uint16_t Port() const { return port_; }
  int Accept() { return accept(fd_, nullptr, nullptr); }

 private:
  int fd_;
  uint16_t port_;
};

TEST(ClientSocket, NewClientHoldsNothing) {
  TClientSocket c;
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(c.Socket(), kNoSocket);
  EXPECT_EQ(c.Tag(), 0);
  char b[4];
  EXPECT_EQ(c.ReceiveBuffer(b, 4), -1);
  EXPECT_EQ(c.SendBuffer(b, 4), -1);
}

TEST(ClientSocket, ConnectsByAddressAndByName) {
  Listener l;
  for (const char* host : {"127.0.0.1", "localhost"}) {
    SCOPED_TRACE(host);
    TClientSocket c;
    c.Connect(host, l.Port());
    EXPECT_TRUE(c.Connected());
    EXPECT_NE(c.Socket(), kNoSocket);
    const int peer = l.Accept();
    EXPECT_EQ(c.SendBuffer("abc", 3), 3);
    char b[3];
    EXPECT_EQ(recv(peer, b, 3, MSG_WAITALL), 3);
    close(peer);
  }
}

TEST(ClientSocket, EmptyOrUnresolvableAddressMakesNoConnection) {
  for (const char* host : {"", "no-such-host.invalid"}) {
    SCOPED_TRACE(host);
    TClientSocket c;
    c.Connect(host, 6801);
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
  c.Connect("127.0.0.1", port);
  EXPECT_FALSE(c.Connected());
}

TEST(ClientSocket, OnlyTheLow16BitsOfThePortCount) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", 0x10000 + l.Port());
  EXPECT_TRUE(c.Connected());
}

TEST(ClientSocket, SecondConnectClosesTheFirst) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", l.Port());
  const int first = l.Accept();
  c.Connect("127.0.0.1", l.Port());
  const int second = l.Accept();
  EXPECT_TRUE(c.Connected());
  char b;
  EXPECT_EQ(recv(first, &b, 1, 0), 0);  // the first connection was closed
  close(first);
  close(second);
}

TEST(ClientSocket, PeerClosingOrAZeroByteReceiveDisconnects) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", l.Port());
  close(l.Accept());
  char b[8];
  EXPECT_EQ(c.ReceiveBuffer(b, 8), 0);
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(c.ReceiveBuffer(b, 8), -1);
  EXPECT_EQ(c.SendBuffer(b, 8), -1);

  c.Connect("127.0.0.1", l.Port());
  const int peer = l.Accept();
  EXPECT_EQ(c.ReceiveBuffer(b, 0), 0);
  EXPECT_FALSE(c.Connected());
  close(peer);
}

TEST(ClientSocket, SendErrorDisconnects) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", l.Port());
  const int peer = l.Accept();
  const linger hard{1, 0};
  setsockopt(peer, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  close(peer);  // reset
  usleep(50 * 1000);
  const std::string data(1000, 'x');
  int32_t result = 0;
  for (int i = 0; i < 10 && result >= 0; ++i) result = c.SendBuffer(data.data(), static_cast<int32_t>(data.size()));
  EXPECT_EQ(result, -1);
  EXPECT_FALSE(c.Connected());
}

TEST(ClientSocket, ReceiveGivesUpAfterFiveSeconds) {
  Listener l;
  TClientSocket c;
  c.Connect("127.0.0.1", l.Port());
  const int peer = l.Accept();
  const auto start = std::chrono::steady_clock::now();
  char b[6];
  EXPECT_LT(c.ReceiveBuffer(b, 6), 0);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(4900));
  EXPECT_LT(waited, std::chrono::seconds(30));
  EXPECT_FALSE(c.Connected());
  close(peer);
}

}  // namespace
