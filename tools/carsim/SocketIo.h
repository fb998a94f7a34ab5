#pragma once
// Blocking sockets for the simulated car and the test gateways, on POSIX and Winsock alike: whole
// reads and writes, accepting, waiting for several sockets, and a wake-up that ends such a wait.
#include <cstddef>
#include <cstdint>
#include <string>

#include "enet/SocketPlatform.h"

#ifndef _WIN32
#include <poll.h>
#endif

// Receives exactly size bytes; false when the peer closed or the socket failed first, or when the
// socket `stop` (when given) turned readable: another thread wants the receive to end. (Shutting
// the socket down from another thread ends a blocking receive on POSIX, not on Windows.)
bool ReceiveAll(TSocketHandle s, uint8_t* data, std::size_t size, TSocketHandle stop = kNoSocket);

// Sends all size bytes (never raising SIGPIPE); false when the socket failed first.
bool SendAll(TSocketHandle s, const uint8_t* data, std::size_t size);

// A socket of the given type (SOCK_STREAM, SOCK_DGRAM) that child processes do not inherit.
TSocketHandle OpenSocket(int type);

// The next connection of a listening socket (not inherited either); kNoSocket when none came.
TSocketHandle AcceptConnection(TSocketHandle listener);

// Ends both directions of a connection: a thread blocked in a receive on it returns.
void ShutdownSocket(TSocketHandle s);

// Closing the socket then resets the connection (RST) instead of closing it in order.
void ResetOnClose(TSocketHandle s);

// The text of the last socket call's error, as the system words it.
std::string LastSocketErrorText();

// Waits until one of the sockets is readable (or timeoutMs passed; -1: no limit). The entries'
// revents say which; POLLIN as on POSIX.
#ifdef _WIN32
using TSocketPoll = WSAPOLLFD;
#else
using TSocketPoll = pollfd;
#endif
int PollSockets(TSocketPoll* sockets, std::size_t count, int timeoutMs);

// A socket that a wait on several sockets includes, so that another thread can end the wait:
// Signal makes it readable. A pipe on POSIX; on Windows, where only sockets can be waited for
// together, a UDP socket on loopback that sends itself a byte.
class TWakeUp {
 public:
  TWakeUp();  // throws std::runtime_error when it cannot be made
  ~TWakeUp();
  TWakeUp(const TWakeUp&) = delete;
  TWakeUp& operator=(const TWakeUp&) = delete;
  TSocketHandle Handle() const { return readEnd_; }
  void Signal();

 private:
  TSocketHandle readEnd_ = kNoSocket;
#ifndef _WIN32
  int writeEnd_ = -1;
#endif
};
