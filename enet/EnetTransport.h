#pragma once
// The connection an ENET session talks over. TClientSocket is the real one, a TCP connection to the
// car's gateway; tests and fuzzers put a connection of their own in its place.
//
// The calls keep the shape of a blocking socket (a connect, one receive of up to n bytes, one send)
// but wait through the session's TWaitControl, so a wait can be stopped and never holds the
// program's windows.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "enet/ConnectionEnds.h"
#include "enet/WaitControl.h"

// Why the last receive, send or connect gave nothing.
enum class TLinkFailure {
  None,
  NotConnected,     // no connection to use (none was made, or the connect failed)
  TimedOut,         // nothing arrived within the receive time-out
  ClosedByPeer,     // the car closed (or reset) the connection
  Stopped,          // the user stopped the wait; the connection was given up
};

class TEnetTransport {
 public:
  virtual ~TEnetTransport() = default;

  // Disconnects, then connects to Address (dotted IPv4 text or a host name) on the low 16 bits of
  // Port. The outcome is read from Connected(). The connect has no time limit of its own (the
  // system gives up when it does) but a stop ends it.
  virtual void Connect(const std::string& Address, int32_t Port, const TWaitControl& wait) = 0;

  // Clears Connected and closes the connection.
  virtual void Disconnect() = 0;
  virtual bool Connected() const = 0;

  // One receive of at most BufferSize bytes, waiting at most timeout for the first of them.
  // Returns the count received; 0 or less (peer closed, time-out, error, stop) disconnects first,
  // and LastFailure says why. -1 when not connected.
  virtual int32_t ReceiveBuffer(void* Buffer, int32_t BufferSize, const TWaitControl& wait,
                                std::chrono::milliseconds timeout) = 0;

  // Sends all BufferSize bytes. Returns BufferSize, or -1 (disconnected first, LastFailure says why).
  virtual int32_t SendBuffer(const void* Buffer, int32_t BufferSize, const TWaitControl& wait) = 0;

  virtual TLinkFailure LastFailure() const = 0;

  // The connection's two ends while connected; nullopt otherwise, and for a connection without
  // addresses (one in memory), which is why this one has a body.
  virtual std::optional<TConnectionEnds> Ends() const { return std::nullopt; }
};
