#include "framework/ParameterUpdaters.h"

#include <algorithm>

namespace zelk {

bool TParameterUpdaters::Enter() {
  const std::thread::id self = std::this_thread::get_id();
  // Only this thread ever writes its own id, so the check cannot race with
  // another entry of the same thread.
  for (const auto& slot : threads_) {
    if (slot.load(std::memory_order_acquire) == self) return false;
  }
  for (auto& slot : threads_) {
    std::thread::id free;
    if (slot.compare_exchange_strong(free, self, std::memory_order_acq_rel)) return true;
  }
  return false;
}

void TParameterUpdaters::Leave() {
  const std::thread::id self = std::this_thread::get_id();
  for (auto& slot : threads_) {
    if (slot.load(std::memory_order_relaxed) == self) {
      slot.store(std::thread::id(), std::memory_order_release);
      return;
    }
  }
}

bool TParameterUpdaters::Any() const {
  return std::any_of(threads_.begin(), threads_.end(),
                     [](const auto& slot) { return slot.load(std::memory_order_relaxed) != std::thread::id(); });
}

}  // namespace zelk
