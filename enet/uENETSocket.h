#pragma once
// TClientSocket: one blocking IPv4 TCP connection to the car's diagnostic gateway.
//
// Nothing here throws or shows a message. A failure leaves Connected false (or makes a receive
// or send return 0 or less), and the caller tests it.

#include <cstdint>
#include <string>

#include "SocketPlatform.h"

// Every receive waits at most this long; then the connection is closed.
inline constexpr int kReceiveTimeoutMs = 5000;

class TClientSocket {
 public:
  TClientSocket() = default;
  virtual ~TClientSocket();  // Destroy: disconnects
  TClientSocket(const TClientSocket&) = delete;
  TClientSocket& operator=(const TClientSocket&) = delete;

  // Disconnects, then connects to Address (dotted IPv4 text or a host name, resolved to its
  // first IPv4 address) on the low 16 bits of Port. The outcome is read from Connected. An empty
  // address or a name that does not resolve makes no connection; the socket made for the attempt
  // stays in Socket until the next Disconnect.
  void Connect(const std::string& Address, int32_t Port);

  // Takes over a socket that is already connected (one end of a socket pair, in tests and in the
  // fuzzer): disconnects first, then owns s, with the receive time-out Connect sets, and is connected.
  void AdoptConnectedSocket(TSocketHandle s);

  // Clears Connected, shuts the socket down and closes it. Afterwards the client holds no socket.
  void Disconnect();

  // One receive of at most BufferSize bytes. Returns the count received; 0 or less (peer closed,
  // the receive time-out ran out, an error) disconnects first. -1 when no socket is held.
  int32_t ReceiveBuffer(void* Buffer, int32_t BufferSize);

  // One send of BufferSize bytes. Returns the count sent, or -1 on error, which disconnects first;
  // a short count does not. -1 when no socket is held.
  int32_t SendBuffer(const void* Buffer, int32_t BufferSize);

  bool Connected() const { return FConnected; }
  TSocketHandle Socket() const { return FSocket; }
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t tag) { FTag = tag; }

 private:
  std::string FAddress;
  int32_t FTag = 0;
  bool FConnected = false;
  TSocketHandle FSocket = kNoSocket;
};
