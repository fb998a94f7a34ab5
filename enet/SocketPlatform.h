#pragma once
// The few differences between Winsock and POSIX sockets, in one place.

#include <string>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using TSocketHandle = SOCKET;
inline constexpr TSocketHandle kNoSocket = INVALID_SOCKET;
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
using TSocketHandle = int;
inline constexpr TSocketHandle kNoSocket = -1;
#endif

// Starts the socket library for the whole run (Windows Sockets 1.1; nothing to do elsewhere).
// Its result is not examined: a library that failed to start shows as failing connects.
void StartSocketLibrary();
void StopSocketLibrary();

void CloseSocketHandle(TSocketHandle s);

// Puts a socket into non-blocking mode: its calls return at once, and the caller waits for it
// with WaitForSocket.
void SetSocketNonBlocking(TSocketHandle s);

// Waits at most timeoutMs for s to become readable (or writable). Ready also when the socket
// has an error or the peer closed: the next call on it tells which. Interrupted waits count as
// not ready; the caller's loop asks again.
enum class TSocketWait { Ready, NotYet };
TSocketWait WaitForSocket(TSocketHandle s, bool forWriting, int timeoutMs);

// The pending error of a socket (SO_ERROR), 0 when there is none.
int PendingSocketError(TSocketHandle s);

// Whether an error of a non-blocking call only means "not yet": nothing to read, no room to send,
// or a connect still on its way.
bool WouldBlock(int error);

// The error of the last socket call and its text, as the system words it.
int LastSocketError();
std::string SocketErrorText(int error);

// send() flags: never raise SIGPIPE when the peer has gone; the failed send reports it instead.
#if defined(MSG_NOSIGNAL)
inline constexpr int kSendFlags = MSG_NOSIGNAL;
#else
inline constexpr int kSendFlags = 0;
#endif
