#pragma once
// The connection state and the diagnostic exchange with a control unit behind the gateway.
//
// Everything runs on the caller's thread and blocks it. The one place where other work runs during
// an exchange is the response-pending wait, which calls the message pump (see SetEnetMessagePump).

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "uENETSocket.h"

struct THUInfo {
  std::string HWEL, BOLO, SVER, SNAM, SNUM, _CPS, _SWT, IPv4;
  bool Auth = false;
};

struct TEnet {
  std::string HOST;   // gateway: dotted IPv4 text or a host name; empty after a reset
  uint32_t PORT = 0;  // 6801 after a reset; only the low 16 bits reach the socket
  bool HUDetected = false;
  THUInfo HUInfo;
};

extern TEnet Enet;
extern std::unique_ptr<TClientSocket> ClientSocket;  // absent until EnetCreate

// How long a response-pending answer is waited out before the next read.
inline constexpr int kResponsePendingWaitMs = 1000;

// The car wants kResponsePendingWaitMs; only the fuzzer and tests shorten the wait.
void SetResponsePendingWait(std::chrono::milliseconds wait);

// Creates ClientSocket (once, when the connection window is created).
void EnetCreate();

// Resets the connection state: an open connection is closed, HOST emptied, PORT 6801, the head
// unit's record cleared.
void EnetInit();

// Connects ClientSocket to HOST on PORT. An empty HOST returns false at once, without touching
// the client (an open connection stays open).
bool EnetConnect();

// Sends one UDS request (hex text, either case, spaces ignored) to Target (hex text, "63") and
// returns the answer as upper-case hex text: the first answer that is not response-pending.
// Empty when the exchange failed: no connection, a short send, a failed or timed-out read.
// Connects first when the client is not connected. Never throws.
std::string EnetRequest(const std::string& Request, const std::string& Target);

// Reads one frame and returns its UDS message as raw bytes (without the header and the two
// address bytes). Empty when the read failed; a frame announcing more than 4,096 payload bytes
// fails the read and closes the connection.
std::string EnetReadFrame();

// The message pump that the response-pending wait calls: at least once, then every few
// milliseconds until the wait is over. The CLI leaves it empty; the desktop program processes
// window events in it.
using TMessagePump = std::function<void()>;
void SetEnetMessagePump(TMessagePump pump);
