// Vehicle discovery. Everything that sends runs inside a private network namespace that main()
// (NetnsGtestMain.cpp) enters before anything else (unshare, loopback up): no datagram ever reaches
// a real network. Under Wine the namespace is made around the test (scripts/windows/private-network.sh)
// and main() checks that it is there.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#ifdef _WIN32
#include <mswsock.h>
#else
#include <unistd.h>
#endif

#include "enet/Discovery.h"
#include "history/CodePage.h"
#include "history/TarveloError.h"
#include "tests/support/NetworkNamespace.h"
#include "tools/carsim/SocketIo.h"

namespace {

uint32_t Ip(const char* dotted) {
  in_addr a{};
  inet_pton(AF_INET, dotted, &a);
  return a.s_addr;
}

struct InterfaceCase {
  const char *address, *mask, *net, *directed;
};

TEST(InterfaceList, AddressArithmetic) {
  const InterfaceCase cases[] = {
      {"192.168.1.20", "255.255.255.0", "192.168.1.0", "192.168.1.255"},
      {"169.254.3.7", "255.255.0.0", "169.254.0.0", "169.254.255.255"},
      {"127.0.0.1", "255.0.0.0", "127.0.0.0", "127.255.255.255"},
      {"10.1.2.3", "255.255.255.255", "10.1.2.3", "10.1.2.3"},
      {"10.1.2.3", "0.0.0.0", "0.0.0.0", "255.255.255.255"},
  };
  for (const InterfaceCase& c : cases) {
    SCOPED_TRACE(c.address);
    const tNetworkInterface i = DescribeInterface("HOST", Ip(c.address), Ip(c.mask), Ip("0.0.0.0"), kFlagUp | kFlagBroadcast);
    EXPECT_EQ(i.AddrIP, c.address);
    EXPECT_EQ(i.SubnetMask, c.mask);
    EXPECT_EQ(i.AddrNet, c.net);
    EXPECT_EQ(i.AddrDirectedBroadcast, c.directed);
    EXPECT_EQ(i.AddrLimitedBroadcast, "0.0.0.0");
    EXPECT_EQ(i.ComputerName, "HOST");
  }
  const tNetworkInterface loopback = DescribeInterface("", Ip("127.0.0.1"), Ip("255.0.0.0"), Ip("255.255.255.255"), kFlagUp | kFlagLoopback);
  EXPECT_TRUE(loopback.IsInterfaceUp);
  EXPECT_FALSE(loopback.BroadcastSupport);
  EXPECT_TRUE(loopback.IsLoopback);
  EXPECT_EQ(loopback.AddrLimitedBroadcast, "255.255.255.255");
  EXPECT_FALSE(DescribeInterface("", 0, 0, 0, 0).IsInterfaceUp);
}

std::string Datagram(const std::string& text) { return std::string("\x00\x00\x00\x32\x00\x11", 6) + text; }

struct AnswerCase {
  const char* name;
  std::string datagram;
  bool accepted;
  std::string vin;
};

TEST(DiscoveryAnswer, Rules) {
  const AnswerCase cases[] = {
      {"the gateway's answer", Datagram("DIAGADR10BMWMAC001A37C0FFEEBMWVINWBA8E9C57GK123456"), true, "WBA8E9C57GK123456"},
      {"longer than the VIN", Datagram("DIAGADR10BMWVINWBA8E9C57GK123456XYZ"), true, "WBA8E9C57GK123456"},
      {"DIAGADR10 at the very start", "DIAGADR10BMWVINWBA8E9C57GK123456", false, "WBA8E9C57GK123456"},
      {"DIAGADR10 at the second character", "xDIAGADR10", true, "(VIN not reported)"},
      {"another diagnostic address", Datagram("DIAGADR40BMWVINWBA8E9C57GK123456"), false, "WBA8E9C57GK123456"},
      {"no keyword", Datagram("HELLO"), false, "(VIN not reported)"},
      {"no BMWVIN", Datagram("DIAGADR10BMWMAC001A37C0FFEE"), true, "(VIN not reported)"},
      {"VIN cut short", Datagram("DIAGADR10BMWVINWBA8E9"), true, "WBA8E9"},
      {"BMWVIN at the very end", Datagram("DIAGADR10BMWVIN"), true, ""},
      {"the first BMWVIN counts", Datagram("DIAGADR10BMWVINAAAAAAAAAAAAAAAAABMWVINBBBBBBBBBBBBBBBBB"), true, "AAAAAAAAAAAAAAAAA"},
      {"bytes above 0x7F", Datagram("DIAGADR10BMWVINWBA\xE9\xFC" "E9C57GK1234"), true, "WBA\xC3\xA9\xC3\xBC" "E9C57GK1234"},
      {"zero bytes inside", Datagram(std::string("DIAGADR10BMWVINWBA\0\0E9C57GK123456", 32)), true, "WBA??E9C57GK12345"},
      {"zero bytes before the keyword", Datagram(std::string("\0\0DIAGADR10BMWVINWBA8E9C57GK123456", 34)), true, "WBA8E9C57GK123456"},
      {"empty", "", false, "(VIN not reported)"},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsGatewayAnswer(c.datagram), c.accepted);
    EXPECT_EQ(VinText(c.datagram), c.vin);
  }
}

TEST(DiscoverySession, TakesTheFirstGatewayOrEveryGatewayOnce) {
  const TDatagram first{Datagram("DIAGADR10BMWVINWBA8E9C57GK123456"), "169.254.1.2", 6811};
  const TDatagram second{Datagram("DIAGADR10BMWVINWBA00000000000002"), "169.254.1.3", 6811};
  const TDatagram other{Datagram("DIAGADR40BMWVINWBA00000000000003"), "169.254.1.4", 6811};

  TDiscoverySession firstOnly;  // never started: no datagram goes anywhere
  EXPECT_FALSE(firstOnly.Accept(other));
  const std::optional<TGatewayAnswer> taken = firstOnly.Accept(first);
  ASSERT_TRUE(taken);
  EXPECT_EQ(FoundLines(*taken), (std::vector<std::string>{"Found WBA8E9C57GK123456", "* IP: 169.254.1.2", ""}));
  EXPECT_FALSE(firstOnly.Accept(second));

  TDiscoverySession all({}, TDiscoverySession::Mode::AllGateways);
  EXPECT_EQ(all.Accept(first), (TGatewayAnswer{"WBA8E9C57GK123456", "169.254.1.2"}));
  EXPECT_FALSE(all.Accept(first));  // the same gateway again
  EXPECT_EQ(all.Accept(second), (TGatewayAnswer{"WBA00000000000002", "169.254.1.3"}));
  EXPECT_FALSE(all.Accept(other));
}

// A UDP socket on port 6811 of the namespace that counts what arrives and where it was sent to.
class Listener6811 {
 public:
  Listener6811() {
    fd_ = OpenSocket(SOCK_DGRAM);
    const int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    setsockopt(fd_, IPPROTO_IP, IP_PKTINFO, reinterpret_cast<const char*>(&on), sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(6811);
    bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  }
  ~Listener6811() { CloseSocketHandle(fd_); }
  bool Bound() const { return bound_; }

  struct Received {
    std::string bytes;
    std::string destination;
  };
  std::vector<Received> Drain(int waitMs = 500) {
    std::vector<Received> all;
    TSocketPoll p{fd_, POLLIN, 0};
    while (PollSockets(&p, 1, waitMs) > 0) {
      std::optional<Received> r = ReceiveWithDestination();
      if (!r) break;
      all.push_back(*r);
      waitMs = 100;
    }
    return all;
  }

 private:
#ifdef _WIN32
  std::optional<Received> ReceiveWithDestination() {
    LPFN_WSARECVMSG receiveMessage = nullptr;
    GUID id = WSAID_WSARECVMSG;
    DWORD bytes = 0;
    if (WSAIoctl(fd_, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &receiveMessage, sizeof receiveMessage, &bytes,
                 nullptr, nullptr) != 0) {
      return std::nullopt;
    }
    char data[256];
    char control[256];
    WSABUF io{sizeof data, data};
    WSAMSG m{};
    m.lpBuffers = &io;
    m.dwBufferCount = 1;
    m.Control = {sizeof control, control};
    DWORD n = 0;
    if (receiveMessage(fd_, &m, &n, nullptr, nullptr) != 0) return std::nullopt;
    Received r{std::string(data, n), ""};
    for (WSACMSGHDR* c = WSA_CMSG_FIRSTHDR(&m); c; c = WSA_CMSG_NXTHDR(&m, c)) {
      if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
        char text[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &reinterpret_cast<IN_PKTINFO*>(WSA_CMSG_DATA(c))->ipi_addr, text, sizeof text);
        r.destination = text;
      }
    }
    return r;
  }
#else
  std::optional<Received> ReceiveWithDestination() {
    char data[256];
    char control[256];
    iovec io{data, sizeof data};
    msghdr m{};
    m.msg_iov = &io;
    m.msg_iovlen = 1;
    m.msg_control = control;
    m.msg_controllen = sizeof control;
    const ssize_t n = recvmsg(fd_, &m, 0);
    if (n < 0) return std::nullopt;
    Received r{std::string(data, static_cast<std::size_t>(n)), ""};
    for (cmsghdr* c = CMSG_FIRSTHDR(&m); c; c = CMSG_NXTHDR(&m, c)) {
      if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
        char text[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &reinterpret_cast<in_pktinfo*>(CMSG_DATA(c))->ipi_addr, text, sizeof text);
        r.destination = text;
      }
    }
    return r;
  }
#endif

  TSocketHandle fd_;
  bool bound_ = false;
};

tNetworkInterface WithDirectedBroadcast(const char* address) {
  tNetworkInterface i;
  i.AddrDirectedBroadcast = address;
  return i;
}

TEST(Discovery, OneRequestPerInterfaceInListOrderLoopbackIncluded) {
  REQUIRE_PRIVATE_NETWORK();
  Listener6811 listener;
  ASSERT_TRUE(listener.Bound());
  TUdpPort port;
  const tNetworkInterfaceList three = {WithDirectedBroadcast("127.0.0.3"), WithDirectedBroadcast("127.255.255.255"),
                                       WithDirectedBroadcast("127.0.0.1")};
  SendVehicleIdentification(port, [&](tNetworkInterfaceList& list) {
    list = three;
    return true;
  });
  EXPECT_TRUE(port.Active());
  const std::vector<Listener6811::Received> got = listener.Drain();
  ASSERT_EQ(got.size(), 3u);
  const std::string request("\x00\x00\x00\x00\x00\x11", 6);
  const char* order[] = {"127.0.0.3", "127.255.255.255", "127.0.0.1"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(got[i].bytes, request);
    EXPECT_EQ(got[i].destination, order[i]);
  }

  // Again over the same open port, on the same local port.
  const int localPort = port.LocalPort();
  SendVehicleIdentification(port, [&](tNetworkInterfaceList& list) {
    list = {three[0]};
    return true;
  });
  EXPECT_EQ(port.LocalPort(), localPort);
  EXPECT_EQ(listener.Drain().size(), 1u);
}

TEST(Discovery, NoInterfacesOrNoSocketSendNothing) {
  REQUIRE_PRIVATE_NETWORK();
  Listener6811 listener;
  TUdpPort port;
  SendVehicleIdentification(port, [](tNetworkInterfaceList& list) {
    list.clear();
    return false;
  });
  EXPECT_TRUE(port.Active());  // the port stays open
  SendVehicleIdentification(port, [](tNetworkInterfaceList& list) {
    list.clear();
    return true;
  });
  EXPECT_TRUE(listener.Drain(200).empty());
}

TEST(Discovery, ASendThatFailsRaisesTheSystemTextAndStopsThere) {
  REQUIRE_PRIVATE_NETWORK();
  Listener6811 listener;
  TUdpPort port;
  try {
    SendVehicleIdentification(port, [](tNetworkInterfaceList& list) {
      list = {WithDirectedBroadcast("10.9.8.255"), WithDirectedBroadcast("127.255.255.255")};
      return true;
    });
    ADD_FAILURE() << "sent";
  } catch (const ETarveloError& e) {
#ifdef _WIN32
    EXPECT_EQ(std::string(e.what()), "Cannot send to 10.9.8.255:6811. " + SocketErrorText(WSAENETUNREACH));
#else
    EXPECT_EQ(std::string(e.what()), "Cannot send to 10.9.8.255:6811. Network is unreachable");
#endif
  }
  EXPECT_TRUE(listener.Drain(200).empty());  // the interface after the failing one got nothing
}

TEST(UdpPort, ReadsDatagramsWithTheirSenderAndClosesOnRequest) {
  REQUIRE_PRIVATE_NETWORK();
  TUdpPort port;
  EXPECT_FALSE(port.ReadDatagram());
  port.SetActive(true);
  EXPECT_FALSE(port.ReadDatagram());
  TUdpPort sender;
  sender.SetActive(true);
  sender.SetRemoteHost("127.0.0.1");
  sender.SetRemotePort(port.LocalPort());
  const std::string bytes("A\x00\xFF" "B", 4);
  sender.SendDatagram(bytes.data(), 4);
  std::optional<TDatagram> got;
  for (int i = 0; i < 100 && !got; ++i) {
    got = port.ReadDatagram();
    if (!got) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(got);
  EXPECT_EQ(got->data, bytes);
  EXPECT_EQ(got->sourceAddress, "127.0.0.1");
  EXPECT_EQ(got->sourcePort, sender.LocalPort());
  port.SetActive(false);
  EXPECT_FALSE(port.Active());
  EXPECT_THROW(port.SendDatagram("x", 1), ETarveloError);
}

TEST(InterfaceList, TheNamespaceListsItsLoopback) {
  REQUIRE_PRIVATE_NETWORK();
  tNetworkInterfaceList list(3);  // old elements go
  ASSERT_TRUE(EnumInterfaces(list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].AddrIP, "127.0.0.1");
  EXPECT_EQ(list[0].SubnetMask, "255.0.0.0");
  EXPECT_EQ(list[0].AddrNet, "127.0.0.0");
  EXPECT_EQ(list[0].AddrDirectedBroadcast, "127.255.255.255");
  EXPECT_TRUE(list[0].IsLoopback);
  EXPECT_TRUE(list[0].IsInterfaceUp);
#ifdef _WIN32
  // The computer's NetBIOS name, which Windows also puts into the environment.
  const char* host = std::getenv("COMPUTERNAME");
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(list[0].ComputerName, std::string(host).substr(0, 15));
#else
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  EXPECT_EQ(list[0].ComputerName, std::string(host).substr(0, 15));
#endif
}

TEST(InterfaceList, ThirteenFitAFourteenthEmptiesTheList) {
  REQUIRE_PRIVATE_NETWORK();
#ifdef _WIN32
  GTEST_SKIP() << "adds addresses to loopback with the Linux ip command, which a Windows program cannot run";
#endif
  for (int i = 2; i <= 13; ++i) ASSERT_TRUE(RunIp("addr add 127.0.1." + std::to_string(i) + "/8 dev lo"));
  tNetworkInterfaceList list;
  EXPECT_TRUE(EnumInterfaces(list));
  EXPECT_EQ(list.size(), 13u);
  ASSERT_TRUE(RunIp("addr add 127.0.1.14/8 dev lo"));
  EXPECT_TRUE(EnumInterfaces(list));
  EXPECT_TRUE(list.empty());
  for (int i = 2; i <= 14; ++i) RunIp("addr del 127.0.1." + std::to_string(i) + "/8 dev lo");
}

}  // namespace
