// Two-stage smoother of parameter values: each new value moves the first
// stage towards it by the smoothing factor, and the second stage towards the
// first. A factor of 1 passes values through unchanged; smaller factors
// approach a step change gradually over successive values.
//
// The host may set a parameter from any of its threads, so the two stages
// are atomics: concurrent updates never tear a stage, though two updates
// racing on one parameter may each see the other's intermediate state.
#pragma once

#include <atomic>

namespace zelk {

class TParameterSmoother {
 public:
  // Feeds a new target value and answers the smoothed value. The stages are
  // computed in extended precision and kept as 32-bit floats.
  float Next(long double target, double factor);
  void Reset();

  float FirstStage() const { return first_.load(std::memory_order_relaxed); }
  float SecondStage() const { return second_.load(std::memory_order_relaxed); }

 private:
  std::atomic<float> first_{0.0f};
  std::atomic<float> second_{0.0f};
};

}  // namespace zelk
