#include "framework/ParameterValues.h"

#include <algorithm>

namespace zelk {

void TParameterValues::Resize(int32_t count) {
  count = std::max(count, int32_t{0});
  if (count == count_) return;
  auto resized = std::make_unique<std::atomic<float>[]>(static_cast<size_t>(count));
  for (int32_t index = 0; index < count; ++index) resized[index].store(Get(index), std::memory_order_relaxed);
  values_ = std::move(resized);
  count_ = count;
}

float TParameterValues::Get(int32_t index) const {
  return Contains(index) ? values_[index].load(std::memory_order_relaxed) : 0.0f;
}

void TParameterValues::Set(int32_t index, float value) {
  if (Contains(index)) values_[index].store(value, std::memory_order_relaxed);
}

}  // namespace zelk
