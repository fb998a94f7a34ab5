#include "enet/EnetSession.h"

#include <algorithm>

#include "enet/ClientSocket.h"
#include "enet/HeadUnitProtocol.h"

std::string NoAnswerText(TNoAnswer why) {
  switch (why) {
    case TNoAnswer::NotConnected: return "no connection to the car";
    case TNoAnswer::TimedOut: return "the car did not answer in time";
    case TNoAnswer::ClosedByCar: return "the car closed the connection";
    case TNoAnswer::FrameTooLong: return "the answer was longer than 4,096 bytes";
    case TNoAnswer::RequestTooLong: return "the request was too long to send";
    case TNoAnswer::Stopped: return "stopped by the user";
  }
  return "no answer";
}

TEnetSession::TEnetSession(TEnetTimings timings) : TEnetSession(std::make_unique<TClientSocket>(), timings) {}

TEnetSession::TEnetSession(std::unique_ptr<TEnetTransport> transport, TEnetTimings timings)
    : transport_(std::move(transport)), timings_(timings) {}

TEnetSession::~TEnetSession() = default;

void TEnetSession::SetTarget(std::string host, uint32_t port) {
  host_ = std::move(host);
  port_ = port;
}

void TEnetSession::EnetInit() {
  if (transport_->Connected()) transport_->Disconnect();
  host_.clear();
  port_ = kEnetPort;
}

bool TEnetSession::EnetConnect() {
  if (host_.empty()) return false;
  transport_->Connect(host_, static_cast<int32_t>(port_), wait_);
  return transport_->Connected();
}

TNoAnswer TEnetSession::WhyNoAnswer() const {
  switch (transport_->LastFailure()) {
    case TLinkFailure::TimedOut: return TNoAnswer::TimedOut;
    case TLinkFailure::ClosedByPeer: return TNoAnswer::ClosedByCar;
    case TLinkFailure::Stopped: return TNoAnswer::Stopped;
    case TLinkFailure::NotConnected:
    case TLinkFailure::None: break;
  }
  return TNoAnswer::NotConnected;
}

std::optional<TNoAnswer> TEnetSession::ReceiveExactly(std::size_t size) {
  std::fill(receiveBuffer_.begin(), receiveBuffer_.end(), 0);
  std::size_t got = 0;
  while (got < size) {
    const int32_t n = transport_->ReceiveBuffer(receiveBuffer_.data() + got, static_cast<int32_t>(size - got), wait_,
                                                timings_.receiveTimeout);
    if (n <= 0) return WhyNoAnswer();
    got += static_cast<std::size_t>(n);
  }
  return std::nullopt;
}

TEnetAnswer TEnetSession::EnetReadFrame() {
  if (const auto failed = ReceiveExactly(kFrameHeaderSize)) return {{}, failed};
  const std::size_t length = FramePayloadLength(receiveBuffer_.data());
  // The payload is received into the same buffer: the observer gets the header from here.
  std::array<uint8_t, kFrameHeaderSize> header;
  std::copy_n(receiveBuffer_.begin(), kFrameHeaderSize, header.begin());
  const auto observe = [&](std::size_t payloadLength) {
    if (!frameObserver_) return;
    TBuffer frame(header.begin(), header.end());
    frame.insert(frame.end(), receiveBuffer_.begin(), receiveBuffer_.begin() + static_cast<std::ptrdiff_t>(payloadLength));
    frameObserver_(TFrameDirection::Received, frame);
  };
  if (length > kReceiveBufferSize) {
    // More than the receive buffer holds: the frame cannot be taken, and the bytes that follow
    // would not be a frame boundary either.
    transport_->Disconnect();
    return {{}, TNoAnswer::FrameTooLong};
  }
  if (length == 0) {
    observe(0);
    return {};
  }
  if (const auto failed = ReceiveExactly(length)) return {{}, failed};
  observe(length);
  if (length <= kFrameAddressSize) return {};
  return {TBuffer(receiveBuffer_.begin() + kFrameAddressSize, receiveBuffer_.begin() + static_cast<std::ptrdiff_t>(length)),
          std::nullopt};
}

TEnetAnswer TEnetSession::EnetRequest(std::span<const uint8_t> request, uint8_t target) {
  if (request.size() > kMaxRequestSize) return {{}, TNoAnswer::RequestTooLong};
  if (!transport_->Connected()) transport_->Connect(host_, static_cast<int32_t>(port_), wait_);
  if (!transport_->Connected()) return {{}, WhyNoAnswer()};

  const TBuffer frame = BuildDiagnosticFrame(kTesterAddress, target, request);
  const int32_t size = static_cast<int32_t>(frame.size());
  if (transport_->SendBuffer(frame.data(), size, wait_) != size) return {{}, WhyNoAnswer()};
  if (frameObserver_) frameObserver_(TFrameDirection::Sent, frame);
  const auto sentAt = std::chrono::steady_clock::now();

  // The gateway's acknowledgement; only that it came matters.
  if (const TEnetAnswer ack = EnetReadFrame(); !ack.Answered()) return ack;
  TEnetAnswer answer = EnetReadFrame();
  while (answer.Answered() && IsResponsePending(answer.uds)) {
    if (pendingObserver_) {
      pendingObserver_(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sentAt));
    }
    if (!Pause(timings_.responsePendingWait)) {
      transport_->Disconnect();  // the exchange is given up; its answer would confuse the next one
      return {{}, TNoAnswer::Stopped};
    }
    answer = EnetReadFrame();
  }
  return answer;
}
