#include "enet/SessionTrace.h"

TSessionTrace::TSessionTrace(TEnetSession& session, TTraceSink sink) : session_(session), trace_(std::move(sink)) {
  session_.SetFrameObserver([this](TFrameDirection direction, std::span<const uint8_t> frame) {
    // A frame is seen while its connection is open, so the ends are there; a connection without
    // addresses (one in memory) leaves nothing to trace.
    if (const std::optional<TConnectionEnds> ends = session_.ConnectionEnds()) trace_.Frame(*ends, direction, frame);
  });
}

TSessionTrace::~TSessionTrace() { session_.SetFrameObserver({}); }
