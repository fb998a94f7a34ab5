#include "tests/support/MemoryTransport.h"

#include <algorithm>

#include "enet/EnetFrame.h"

void TMemoryTransport::Connect(const std::string& Address, int32_t, const TWaitControl& wait) {
  connected_ = false;
  failure_ = TLinkFailure::NotConnected;
  if (Address.empty() || state_->refuseConnect) return;
  if (wait.StopRequested()) {
    failure_ = TLinkFailure::Stopped;
    return;
  }
  ++state_->connects;
  partialFrame_.clear();
  connected_ = true;
  failure_ = TLinkFailure::None;
}

int32_t TMemoryTransport::Fail(TLinkFailure failure, int32_t result) {
  failure_ = failure;
  connected_ = false;
  return result;
}

int32_t TMemoryTransport::ReceiveBuffer(void* Buffer, int32_t BufferSize, const TWaitControl& wait,
                                        std::chrono::milliseconds) {
  if (!connected_) return Fail(TLinkFailure::NotConnected, -1);
  if (state_->onReceive) state_->onReceive();
  wait.RunMessagePump();
  if (wait.StopRequested()) return Fail(TLinkFailure::Stopped, -1);
  std::deque<uint8_t>& in = state_->incoming;
  if (in.empty()) return state_->closeWhenEmpty ? Fail(TLinkFailure::ClosedByPeer, 0) : Fail(TLinkFailure::TimedOut, -1);
  std::size_t n = std::min<std::size_t>(in.size(), static_cast<std::size_t>(std::max(BufferSize, 0)));
  if (state_->piece) n = std::min(n, state_->piece);
  std::copy_n(in.begin(), n, static_cast<uint8_t*>(Buffer));
  in.erase(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(n));
  failure_ = TLinkFailure::None;
  return static_cast<int32_t>(n);
}

int32_t TMemoryTransport::SendBuffer(const void* Buffer, int32_t BufferSize, const TWaitControl& wait) {
  if (!connected_ || BufferSize < 0) return Fail(TLinkFailure::NotConnected, -1);
  if (wait.StopRequested()) return Fail(TLinkFailure::Stopped, -1);
  const auto* bytes = static_cast<const uint8_t*>(Buffer);
  state_->sent.insert(state_->sent.end(), bytes, bytes + BufferSize);
  partialFrame_.insert(partialFrame_.end(), bytes, bytes + BufferSize);
  // Whole frames go to the responder, as a gateway reads them.
  while (partialFrame_.size() >= kFrameHeaderSize) {
    const std::size_t size = kFrameHeaderSize + FramePayloadLength(partialFrame_.data());
    if (partialFrame_.size() < size) break;
    TBuffer frame(partialFrame_.begin(), partialFrame_.begin() + static_cast<std::ptrdiff_t>(size));
    partialFrame_.erase(partialFrame_.begin(), partialFrame_.begin() + static_cast<std::ptrdiff_t>(size));
    state_->frames.push_back(frame);
    if (state_->responder) Queue(state_->responder(frame));
  }
  failure_ = TLinkFailure::None;
  return BufferSize;
}
