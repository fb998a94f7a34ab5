#pragma once
// TEnetSession: the diagnostic connection to the car's gateway and the exchanges over it (BMW's
// HSFZ framing, UDS requests from the tester F4). One session per window or CLI command: it owns
// the transport, the gateway's host and port, the receive buffer, the timings and the wait control
// (message pump and stop), so nothing of the connection is shared between them.
//
// Everything runs on the caller's thread. Every wait goes through the wait control: the message
// pump runs between short slices, and a stop ends the wait and gives the connection up.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "enet/EnetFrame.h"
#include "enet/EnetTransport.h"
#include "enet/WaitControl.h"

inline constexpr int kReceiveTimeoutMs = 5000;
inline constexpr int kResponsePendingWaitMs = 1000;
inline constexpr int kErasePauseMs = 200;
inline constexpr int kEntryPauseMs = 100;

// What the car needs, and what the session waits. Only tests and the fuzzers shorten them.
struct TEnetTimings {
  std::chrono::milliseconds receiveTimeout{kReceiveTimeoutMs};  // each receive, then the connection is closed
  std::chrono::milliseconds responsePendingWait{kResponsePendingWaitMs};  // after each response-pending answer
  std::chrono::milliseconds erasePause{kErasePauseMs};  // after the erase request of a write
  std::chrono::milliseconds entryPause{kEntryPauseMs};  // after each entry of a write
};

// Sees every whole frame of the connection: each request as it was sent, each frame received
// (acknowledgements, response-pending answers, answers) once it is in whole.
using TFrameObserver = std::function<void(TFrameDirection direction, std::span<const uint8_t> frame)>;

// Told each time the unit answers "response pending" (it asks for more time): how long ago the
// request was sent.
using TPendingObserver = std::function<void(std::chrono::milliseconds waited)>;

// Why a request got no answer.
enum class TNoAnswer {
  NotConnected,    // the connection could not be made (or was gone and could not be made again)
  TimedOut,        // nothing came within the receive time-out
  ClosedByCar,     // the car closed or reset the connection
  FrameTooLong,    // the answer announced more than the receive buffer holds; the connection was closed
  RequestTooLong,  // the request does not fit a frame; nothing was sent
  Stopped,         // the user stopped the exchange; the connection was given up
};

// "the car closed the connection", ... for the logs.
std::string NoAnswerText(TNoAnswer why);

// The UDS message of an answer, or why there is none.
struct TEnetAnswer {
  TBuffer uds;
  std::optional<TNoAnswer> missing;
  bool Answered() const { return !missing.has_value(); }
};

class TEnetSession {
 public:
  // A session over a TCP connection (TClientSocket), or over the transport given.
  explicit TEnetSession(TEnetTimings timings = {});
  TEnetSession(std::unique_ptr<TEnetTransport> transport, TEnetTimings timings = {});
  ~TEnetSession();
  TEnetSession(const TEnetSession&) = delete;
  TEnetSession& operator=(const TEnetSession&) = delete;

  // The gateway: 8-bit text, a dotted IPv4 address or a host name, as the user gave it; and its
  // TCP port, of which only the low 16 bits reach the socket.
  void SetTarget(std::string host, uint32_t port);
  const std::string& Host() const { return host_; }
  uint32_t Port() const { return port_; }

  // Resets the session: an open connection is closed, the host emptied, the port 6801.
  void EnetInit();

  // Connects to the host and port. An empty host returns false at once, without touching the
  // connection (an open one stays open).
  bool EnetConnect();

  // Sends one UDS request to target and returns the first answer that is not response-pending
  // (response-pending answers are waited out, each with the response-pending wait). Connects first
  // when the connection is not open; the connection stays open afterwards. Never throws.
  TEnetAnswer EnetRequest(std::span<const uint8_t> request, uint8_t target);

  // Reads one frame and returns its UDS message (without the header and the two address bytes).
  // A frame announcing more than 4,096 payload bytes fails the read and closes the connection.
  TEnetAnswer EnetReadFrame();

  // Waits the whole time, the message pump running; false when a stop ended it.
  bool Pause(std::chrono::milliseconds time) { return wait_.Pause(time); }

  bool Connected() const { return transport_->Connected(); }
  // This computer's and the gateway's address and port while connected over TCP, else nullopt.
  std::optional<TConnectionEnds> ConnectionEnds() const { return transport_->Ends(); }

  // Called once per whole frame sent or received, on the caller's thread, from then on; an empty
  // observer ends it. A frame that does not arrive whole (time-out, too long) is not seen.
  void SetFrameObserver(TFrameObserver observer) { frameObserver_ = std::move(observer); }
  // Called on the caller's thread for each response-pending answer from then on; empty: no longer.
  void SetPendingObserver(TPendingObserver observer) { pendingObserver_ = std::move(observer); }
  void Disconnect() { transport_->Disconnect(); }

  TWaitControl& Wait() { return wait_; }
  const TEnetTimings& Timings() const { return timings_; }

 private:
  // Receives exactly size bytes into the receive buffer, in as many receives as TCP needs.
  std::optional<TNoAnswer> ReceiveExactly(std::size_t size);
  TNoAnswer WhyNoAnswer() const;

  std::unique_ptr<TEnetTransport> transport_;
  TEnetTimings timings_;
  TWaitControl wait_;
  std::string host_;
  uint32_t port_ = kEnetPort;
  std::array<uint8_t, kReceiveBufferSize> receiveBuffer_{};
  TFrameObserver frameObserver_;
  TPendingObserver pendingObserver_;
};
