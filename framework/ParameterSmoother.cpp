#include "framework/ParameterSmoother.h"

#include <cmath>

namespace zelk {

namespace {

// One stage moving towards its target; a stage that holds no finite number
// (after a non-finite value came through) restarts at the target instead of
// staying a non-number for ever.
float Approach(float stage, long double target, double factor) {
  if (!std::isfinite(stage)) return static_cast<float>(target);
  return static_cast<float>(stage + (target - stage) * factor);
}

}  // namespace

float TParameterSmoother::Next(long double target, double factor) {
  const float first = Approach(FirstStage(), target, factor);
  first_.store(first, std::memory_order_relaxed);
  const float second = Approach(SecondStage(), first, factor);
  second_.store(second, std::memory_order_relaxed);
  return second;
}

void TParameterSmoother::Reset() {
  first_.store(0.0f, std::memory_order_relaxed);
  second_.store(0.0f, std::memory_order_relaxed);
}

}  // namespace zelk
