#pragma once
// TClientSocket: one IPv4 TCP connection to the car's diagnostic gateway.
//
// The socket is non-blocking underneath: every wait (the connect, a receive, a send the system
// cannot take yet) goes through the caller's TWaitControl in short slices, so the program's windows
// go on and the user can stop it. Nothing here throws or shows a message; a failure leaves
// Connected false (or makes a receive or send return 0 or less) and LastFailure says why.

#include <cstdint>
#include <string>

#include "enet/EnetTransport.h"
#include "enet/SocketPlatform.h"

class TClientSocket : public TEnetTransport {
 public:
  TClientSocket() = default;
  ~TClientSocket() override;  // disconnects
  TClientSocket(const TClientSocket&) = delete;
  TClientSocket& operator=(const TClientSocket&) = delete;

  // An empty address or a name that does not resolve makes no connection; the socket made for the
  // attempt stays in Socket until the next Disconnect.
  void Connect(const std::string& Address, int32_t Port, const TWaitControl& wait) override;

  // Clears Connected, shuts the socket down and closes it. Afterwards the client holds no socket.
  void Disconnect() override;

  int32_t ReceiveBuffer(void* Buffer, int32_t BufferSize, const TWaitControl& wait,
                        std::chrono::milliseconds timeout) override;
  int32_t SendBuffer(const void* Buffer, int32_t BufferSize, const TWaitControl& wait) override;

  bool Connected() const override { return FConnected; }
  TLinkFailure LastFailure() const override { return FFailure; }
  std::optional<TConnectionEnds> Ends() const override;  // getsockname and getpeername
  TSocketHandle Socket() const { return FSocket; }

 private:
  int32_t Fail(TLinkFailure failure, int32_t result);  // disconnects, remembers why

  std::string FAddress;  // the host the last Connect was given
  bool FConnected = false;
  TSocketHandle FSocket = kNoSocket;
  TLinkFailure FFailure = TLinkFailure::None;
};
