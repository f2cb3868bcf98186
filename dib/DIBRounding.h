// Rounding of the bitmap engine: to the nearest integer, halves to the even
// neighbour, independent of the processor's current rounding mode.
#pragma once

#include <cmath>
#include <cstdint>

namespace zelk {

inline long double RoundHalfEven(long double value) {
  const long double lower = std::floor(value);
  const long double fraction = value - lower;
  if (fraction > 0.5L) return lower + 1.0L;
  if (fraction < 0.5L) return lower;
  return std::fmod(lower, 2.0L) == 0.0L ? lower : lower + 1.0L;
}

// RoundHalfEven saturated to the 64-bit range; NaN gives 0.
inline int64_t RoundToInt64(long double value) {
  if (std::isnan(value)) return 0;
  const long double rounded = RoundHalfEven(value);
  if (rounded >= 9.2e18L) return INT64_MAX;
  if (rounded <= -9.2e18L) return INT64_MIN;
  return static_cast<int64_t>(rounded);
}

}  // namespace zelk
