#pragma once
// The UDP port of vehicle discovery: a plain UDP socket on a local port the system chooses, with
// broadcast sending allowed. Opening and sending raise ETarveloError with the system's text;
// received datagrams are read without blocking.

#include <optional>
#include <string>

#include "enet/SocketPlatform.h"

struct TDatagram {
  std::string data;           // every byte of the datagram, in order
  std::string sourceAddress;  // the sender's IPv4 address, dotted
  int sourcePort = 0;
};

class TUdpPort {
 public:
  TUdpPort() = default;
  ~TUdpPort();
  TUdpPort(const TUdpPort&) = delete;
  TUdpPort& operator=(const TUdpPort&) = delete;

  // true opens the port (a no-op when open), false closes it.
  bool Active() const { return socket_ != kNoSocket; }
  void SetActive(bool active);

  void SetRemoteHost(const std::string& host) { remoteHost_ = host; }
  void SetRemotePort(int port) { remotePort_ = port; }

  // Sends one datagram of exactly these bytes to RemoteHost on RemotePort (the port must be open).
  void SendDatagram(const void* data, int length);

  // The next datagram waiting at the port, or nullopt when none is (or the port is closed).
  std::optional<TDatagram> ReadDatagram();

  TSocketHandle Handle() const { return socket_; }
  int LocalPort() const;

 private:
  TSocketHandle socket_ = kNoSocket;
  std::string remoteHost_;
  int remotePort_ = 0;
};
