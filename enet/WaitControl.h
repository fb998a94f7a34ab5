#pragma once
// How the vehicle link waits without holding the program hostage.
//
// Every wait of an exchange or a write (a connect, each receive, the pauses the head unit needs,
// the response-pending wait) runs in short slices. Between two slices the message pump runs: the
// desktop program handles its window events there, so no click or key waits for the car; the CLI
// leaves it empty. A stop requested by the user (the "Stop" button, Ctrl-C) ends the wait at the
// next slice.

#include <atomic>
#include <chrono>
#include <functional>

using TMessagePump = std::function<void()>;

enum class TWaitOutcome { Ready, TimedOut, Stopped };

class TWaitControl {
 public:
  using Clock = std::chrono::steady_clock;
  // Short enough that a window event waits no more than this for its turn, long enough that a
  // wait does not keep a core busy.
  static constexpr std::chrono::milliseconds kSlice{20};

  void SetMessagePump(TMessagePump pump) { pump_ = std::move(pump); }
  void RunMessagePump() const {
    if (pump_) pump_();
  }

  // Safe from a signal handler and from another thread.
  void RequestStop() noexcept { stop_.store(true, std::memory_order_relaxed); }
  void ClearStop() noexcept { stop_.store(false, std::memory_order_relaxed); }
  bool StopRequested() const noexcept { return stop_.load(std::memory_order_relaxed); }

  // Waits until poll(slice) reports ready (poll itself may block for at most the slice it is given,
  // as a socket wait does), the limit has passed, or a stop is requested. The pump runs after every
  // slice. Without a limit it waits as long as poll takes.
  TWaitOutcome WaitUntil(const std::function<bool(std::chrono::milliseconds slice)>& poll,
                         std::chrono::milliseconds limit) const;
  TWaitOutcome WaitUntil(const std::function<bool(std::chrono::milliseconds slice)>& poll) const;

  // Waits the whole time (the messages are processed at least once); false when a stop ended it.
  bool Pause(std::chrono::milliseconds total) const;

 private:
  TWaitOutcome Wait(const std::function<bool(std::chrono::milliseconds)>& poll, const Clock::time_point* deadline) const;

  TMessagePump pump_;
  std::atomic<bool> stop_{false};
  static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler stores into the stop flag");
};
