// What a test program allocates on the heap. tests/support/AllocationCounting.cpp
// replaces the global allocation functions of the whole program that links
// it, so a suite that counts allocations is a program of its own (or all of
// its tests run under the counting functions).
#pragma once

#include <cstdint>

namespace zelk::tests {

// Blocks allocated with operator new and not yet deleted.
int64_t LiveAllocations();
// The bytes those blocks were asked for.
int64_t LiveAllocatedBytes();

// Counts the allocations this thread makes while it is open; allocations on
// other threads stay outside.
class TAllocationCount {
 public:
  TAllocationCount();
  ~TAllocationCount();
  TAllocationCount(const TAllocationCount&) = delete;
  TAllocationCount& operator=(const TAllocationCount&) = delete;

  // Closes the count and answers it.
  int Stop();
};

}  // namespace zelk::tests
