#include "tests/support/AllocationFailure.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> gFailingSize{0};  // 0: nothing armed
std::atomic<std::size_t> gFailures{0};

void* Allocate(std::size_t bytes) {
  const std::size_t failing = gFailingSize.load(std::memory_order_relaxed);
  if (failing != 0 && bytes == failing) {
    gFailures.fetch_add(1, std::memory_order_relaxed);
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(bytes ? bytes : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void FailAllocationsOfSize(std::size_t bytes) {
  gFailures = 0;
  gFailingSize = bytes;
}

void StopFailingAllocations() { gFailingSize = 0; }

std::size_t FailedAllocations() { return gFailures; }

void* operator new(std::size_t bytes) { return Allocate(bytes); }
void* operator new[](std::size_t bytes) { return Allocate(bytes); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
// The nothrow forms too (Qt's JSON parser uses them): memory from one allocator goes back to it.
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
  try {
    return Allocate(bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t bytes, const std::nothrow_t& nothrow) noexcept { return operator new(bytes, nothrow); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
