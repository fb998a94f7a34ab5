#pragma once
// Memory that runs out on demand. A test binary that links AllocationFailure.cpp replaces the
// global operator new: while a failure is armed, every allocation of exactly the armed size throws
// std::bad_alloc, as it would when the system has no more memory. Other sizes go on as usual, so
// the test framework and Qt keep working around the one allocation under test.
#include <cstddef>

void FailAllocationsOfSize(std::size_t bytes);
void StopFailingAllocations();
std::size_t FailedAllocations();  // since the last FailAllocationsOfSize

// Arms the failure for the life of a scope.
class ScopedAllocationFailure {
 public:
  explicit ScopedAllocationFailure(std::size_t bytes) { FailAllocationsOfSize(bytes); }
  ~ScopedAllocationFailure() { StopFailingAllocations(); }
  ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
  ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;
};
