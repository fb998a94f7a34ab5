#include "enet/WaitControl.h"

#include <algorithm>
#include <thread>

TWaitOutcome TWaitControl::Wait(const std::function<bool(std::chrono::milliseconds)>& poll,
                                const Clock::time_point* deadline) const {
  for (;;) {
    if (StopRequested()) return TWaitOutcome::Stopped;
    std::chrono::milliseconds slice = kSlice;
    if (deadline) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
      slice = std::clamp(left, std::chrono::milliseconds(0), kSlice);
    }
    const bool ready = poll(slice);
    // What the pump does (a click on "Stop") counts before the outcome does.
    RunMessagePump();
    if (StopRequested()) return TWaitOutcome::Stopped;
    if (ready) return TWaitOutcome::Ready;
    if (deadline && Clock::now() >= *deadline) {
      // The pump may have taken long (a dialog the user kept open): what arrived meanwhile counts.
      return poll(std::chrono::milliseconds(0)) ? TWaitOutcome::Ready : TWaitOutcome::TimedOut;
    }
  }
}

TWaitOutcome TWaitControl::WaitUntil(const std::function<bool(std::chrono::milliseconds)>& poll,
                                     std::chrono::milliseconds limit) const {
  const Clock::time_point deadline = Clock::now() + limit;
  return Wait(poll, &deadline);
}

TWaitOutcome TWaitControl::WaitUntil(const std::function<bool(std::chrono::milliseconds)>& poll) const {
  return Wait(poll, nullptr);
}

bool TWaitControl::Pause(std::chrono::milliseconds total) const {
  const auto sleep = [](std::chrono::milliseconds slice) {
    std::this_thread::sleep_for(slice);
    return false;
  };
  return WaitUntil(sleep, total) != TWaitOutcome::Stopped;
}
