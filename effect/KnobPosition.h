// Where the editor's knob stands for a value of the "Angle" parameter. The
// knob's positions are whole degrees 0 to 359; the parameter runs to 360.
#pragma once

#include <cmath>
#include <cstdint>

namespace zelk {

inline constexpr int32_t kKnobLastPosition = 359;

// degrees rounded to the nearest whole degree, halves to the even one, and
// kept within 0..359: 360 (the same direction as 0 for the sound's full
// turn, but the parameter's end) shows as 359, the nearest the knob reaches.
// Values outside the parameter's range and NaN show at the nearer end.
inline int32_t KnobPositionForAngle(float degrees) {
  if (!(degrees > 0.0f)) return 0;
  if (degrees >= static_cast<float>(kKnobLastPosition)) return kKnobLastPosition;
  const double value = degrees;
  const double lower = std::floor(value);
  const double fraction = value - lower;
  double rounded = lower;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) rounded = lower + 1.0;
  return static_cast<int32_t>(rounded);
}

}  // namespace zelk
