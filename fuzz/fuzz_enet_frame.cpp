// One ENET exchange with a gateway whose bytes come from the fuzzer, over a connection in memory
// that hands them out in pieces the fuzzer chooses too: EnetReadFrame reads one frame from them,
// and a whole EnetRequest runs on them afresh. When the bytes run out the gateway closes, so no
// read waits for more.
#include <cstdint>
#include <cstdlib>

#include "enet/EnetSession.h"
#include "enet/HeadUnitProtocol.h"
#include "tests/support/MemoryTransport.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// A session over a connection in memory holding the bytes, opened.
std::unique_ptr<TEnetSession> Feed(const uint8_t* data, size_t size, std::size_t piece) {
  auto transport = std::make_unique<TMemoryTransport>();
  transport->Queue(std::span(data, size));
  transport->Peer().closeWhenEmpty = true;
  transport->Peer().piece = piece;
  TEnetTimings timings;
  timings.responsePendingWait = std::chrono::milliseconds(0);  // a fuzzer has no time to wait
  auto session = std::make_unique<TEnetSession>(std::move(transport), timings);
  session->SetTarget("fuzzer", kEnetPort);
  session->EnetConnect();
  return session;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 256 * 1024) return 0;
  const std::size_t piece = 1 + data[0] % 16;
  ++data;
  --size;

  const TEnetAnswer frame = Feed(data, size, piece)->EnetReadFrame();
  Check(frame.uds.size() + kFrameAddressSize <= kReceiveBufferSize);
  Check(frame.Answered() || frame.uds.empty());

  const auto session = Feed(data, size, piece);
  const TEnetAnswer answer = session->EnetRequest(WriteEntryRequest(TBuffer{0x01, 0x02, 0x07, 0xE4}), kHeadUnitAddress);
  Check(answer.uds.size() + kFrameAddressSize <= kReceiveBufferSize);
  Check(!answer.Answered() || !IsResponsePending(answer.uds));
  Check(answer.Answered() || answer.uds.empty());
  return 0;
}
