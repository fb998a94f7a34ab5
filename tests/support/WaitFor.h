#pragma once
// Waits until condition holds, for at most timeout (generous: the threads of a loaded CI machine
// may be slow). Returns whether it held.
#include <chrono>
#include <functional>
#include <thread>

inline bool WaitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}
