#pragma once
// A connection that lives in memory, in place of the TCP connection to the gateway, the way a
// queue connection stands in for the car in a UDS client's tests: what the session sends is kept,
// and what it receives comes from bytes queued beforehand or from a responder that answers each
// frame sent. When nothing is left to receive, a receive times out at once (no test waits through
// a real time-out) or, when told so, the car closes the connection.
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "enet/EnetTransport.h"
#include "history/ServiceRecord.h"

class TMemoryTransport : public TEnetTransport {
 public:
  // Answers one whole frame sent with the bytes the gateway sends back (acknowledgement, answer).
  using Responder = std::function<TBuffer(const TBuffer& frame)>;

  struct State {
    std::deque<uint8_t> incoming;
    TBuffer sent;                      // every byte sent, over all connections
    std::vector<TBuffer> frames;       // every whole frame sent
    Responder responder;
    bool closeWhenEmpty = false;       // a receive with nothing left: the car closed (else: time-out)
    bool refuseConnect = false;
    std::size_t piece = 0;             // deliver at most this many bytes per receive (0: as asked)
    int connects = 0;
    std::function<void()> onReceive;   // runs at each receive, before it looks for bytes
  };

  // The state is shared, so a test keeps a handle on it after the session took the transport.
  explicit TMemoryTransport(std::shared_ptr<State> state = std::make_shared<State>()) : state_(std::move(state)) {}
  State& Peer() { return *state_; }

  void Queue(std::span<const uint8_t> bytes) { state_->incoming.insert(state_->incoming.end(), bytes.begin(), bytes.end()); }

  void Connect(const std::string& Address, int32_t Port, const TWaitControl& wait) override;
  void Disconnect() override { connected_ = false; }
  bool Connected() const override { return connected_; }
  int32_t ReceiveBuffer(void* Buffer, int32_t BufferSize, const TWaitControl& wait,
                        std::chrono::milliseconds timeout) override;
  int32_t SendBuffer(const void* Buffer, int32_t BufferSize, const TWaitControl& wait) override;
  TLinkFailure LastFailure() const override { return failure_; }

 private:
  int32_t Fail(TLinkFailure failure, int32_t result);

  std::shared_ptr<State> state_;
  bool connected_ = false;
  TLinkFailure failure_ = TLinkFailure::None;
  TBuffer partialFrame_;  // bytes of a frame the session has not sent whole yet
};
