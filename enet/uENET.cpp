#include "uENET.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "EnetFrame.h"
#include "HexText.h"

TEnet Enet;
std::unique_ptr<TClientSocket> ClientSocket;

namespace {

TMessagePump MessagePump;
std::chrono::milliseconds ResponsePendingWait(kResponsePendingWaitMs);

// Short enough that events handled in the pump are not noticeably late, long enough that the
// wait does not keep a core busy.
constexpr auto kPumpInterval = std::chrono::milliseconds(10);

std::array<uint8_t, kReceiveBufferSize> ReceiveBuffer;

// Receives exactly size bytes into the receive buffer, in as many receives as TCP needs; each
// receive waits at most the receive time-out. False when the connection failed (it is closed).
bool ReceiveExactly(std::size_t size) {
  std::fill(ReceiveBuffer.begin(), ReceiveBuffer.end(), 0);
  std::size_t got = 0;
  while (got < size) {
    const int32_t n = ClientSocket->ReceiveBuffer(ReceiveBuffer.data() + got, static_cast<int32_t>(size - got));
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

void WaitProcessingMessages(std::chrono::milliseconds total) {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    if (MessagePump) MessagePump();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed >= total) return;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(total - elapsed, kPumpInterval));
  }
}

}  // namespace

void SetEnetMessagePump(TMessagePump pump) { MessagePump = std::move(pump); }

void SetResponsePendingWait(std::chrono::milliseconds wait) { ResponsePendingWait = wait; }

void EnetCreate() { ClientSocket = std::make_unique<TClientSocket>(); }

void EnetInit() {
  if (ClientSocket && ClientSocket->Connected()) ClientSocket->Disconnect();
  Enet.HOST.clear();
  Enet.PORT = kEnetPort;
  Enet.HUDetected = false;
  Enet.HUInfo = THUInfo{};
}

bool EnetConnect() {
  if (Enet.HOST.empty() || !ClientSocket) return false;
  ClientSocket->Connect(Enet.HOST, static_cast<int32_t>(Enet.PORT));
  return ClientSocket->Connected();
}

std::string EnetReadFrame() {
  if (!ClientSocket || !ReceiveExactly(kFrameHeaderSize)) return {};
  const std::size_t length = FramePayloadLength(ReceiveBuffer.data());
  if (length > kReceiveBufferSize) {
    // More than the receive buffer holds: the frame cannot be taken, and the bytes that follow
    // would not be a frame boundary either.
    ClientSocket->Disconnect();
    return {};
  }
  if (length == 0) return {};
  if (!ReceiveExactly(length)) return {};
  if (length <= kFrameAddressSize) return {};
  return std::string(reinterpret_cast<const char*>(ReceiveBuffer.data()) + kFrameAddressSize,
                     length - kFrameAddressSize);
}

std::string EnetRequest(const std::string& Request, const std::string& Target) {
  if (!ClientSocket) return {};
  if (!ClientSocket->Connected()) ClientSocket->Connect(Enet.HOST, static_cast<int32_t>(Enet.PORT));

  const TBuffer frame = BuildEnetRequestFrame(Request, Target);
  if (frame.empty()) return {};
  const int32_t size = static_cast<int32_t>(frame.size());
  if (ClientSocket->SendBuffer(frame.data(), size) != size) return {};

  EnetReadFrame();  // the gateway's acknowledgement; its content is not needed
  std::string answer = EnetReadFrame();
  std::string result = BytesToHexText(answer);
  while (IsResponsePending(answer)) {
    result.clear();
    WaitProcessingMessages(ResponsePendingWait);
    answer = EnetReadFrame();
    if (!IsResponsePending(answer)) result = BytesToHexText(answer);
  }
  return result;
}
