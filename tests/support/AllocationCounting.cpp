// Replaces the global allocation functions with counting ones. Every block
// carries its size in front, so that the bytes held can be counted; the
// header keeps malloc's alignment.
#include "tests/support/AllocationCounting.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kHeader = 16;
static_assert(kHeader >= sizeof(std::size_t) && kHeader % alignof(std::max_align_t) == 0);

std::atomic<int64_t> liveBlocks{0};
std::atomic<int64_t> liveBytes{0};
thread_local bool countingThisThread = false;
thread_local int countedThisThread = 0;

void* Allocate(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  liveBlocks.fetch_add(1, std::memory_order_relaxed);
  liveBytes.fetch_add(static_cast<int64_t>(size), std::memory_order_relaxed);
  if (countingThisThread) ++countedThisThread;
  return block + kHeader;
}

void* AllocateOrNull(std::size_t size) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}

void Release(void* memory) noexcept {
  if (memory == nullptr) return;
  auto* block = static_cast<unsigned char*>(memory) - kHeader;
  liveBlocks.fetch_sub(1, std::memory_order_relaxed);
  liveBytes.fetch_sub(static_cast<int64_t>(*reinterpret_cast<std::size_t*>(block)), std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void operator delete(void* memory) noexcept { Release(memory); }
void operator delete[](void* memory) noexcept { Release(memory); }
void operator delete(void* memory, std::size_t) noexcept { Release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { Release(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { Release(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { Release(memory); }

namespace zelk::tests {

int64_t LiveAllocations() { return liveBlocks.load(std::memory_order_relaxed); }
int64_t LiveAllocatedBytes() { return liveBytes.load(std::memory_order_relaxed); }

TAllocationCount::TAllocationCount() {
  countedThisThread = 0;
  countingThisThread = true;
}

TAllocationCount::~TAllocationCount() { countingThisThread = false; }

int TAllocationCount::Stop() {
  countingThisThread = false;
  return countedThisThread;
}

}  // namespace zelk::tests
