#include "framework/ParameterCurves.h"

#include <cmath>
#include <limits>

namespace zelk {

namespace {

// A factor for which ln(CF + 1) and the division by CF are defined.
bool IsUsableFactor(double factor) { return std::isfinite(factor) && factor > -1.0 && factor != 0.0; }

TCurveType EffectiveCurve(TCurveShape shape) { return IsUsableFactor(shape.Factor) ? shape.Curve : ctLinear; }

long double LogarithmicToNormalized(long double factor, long double position) {
  return std::log(position * factor + 1.0L) / std::log(factor + 1.0L);
}

long double LogarithmicFromNormalized(long double factor, long double normalized) {
  return (std::pow(factor + 1.0L, normalized) - 1.0L) / factor;
}

long double ExponentialToNormalized(long double factor, long double position) {
  return (std::pow(factor + 1.0L, position) - 1.0L) / factor;
}

long double ExponentialFromNormalized(long double factor, long double normalized) {
  return std::log(factor * normalized + 1.0L) / std::log(factor + 1.0L);
}

// (value − Min) / (Max − Min), spelled out for an empty range so that no
// division by zero is needed: above Min is +∞, below is −∞, at Min no number.
long double RangePosition(const TParameterRange& range, double value) {
  const long double offset = static_cast<long double>(value) - range.Min;
  const long double span = static_cast<long double>(range.Max) - range.Min;
  if (span != 0.0L) return offset / span;
  if (offset > 0.0L) return std::numeric_limits<long double>::infinity();
  if (offset < 0.0L) return -std::numeric_limits<long double>::infinity();
  return std::numeric_limits<long double>::quiet_NaN();
}

float ClampToUnit(long double normalized) {
  if (!(normalized > 0.0L)) return 0.0f;  // also a non-number
  if (normalized > 1.0L) return 1.0f;
  return static_cast<float>(normalized);
}

}  // namespace

long double CurveToNormalized(TCurveShape shape, long double rangePosition) {
  switch (EffectiveCurve(shape)) {
    case ctLogarithmic:
      return LogarithmicToNormalized(shape.Factor, rangePosition);
    case ctExponential:
      return ExponentialToNormalized(shape.Factor, rangePosition);
    case ctLinear:
    default:
      return rangePosition;
  }
}

long double CurveFromNormalized(TCurveShape shape, long double normalized) {
  switch (EffectiveCurve(shape)) {
    case ctLogarithmic:
      return LogarithmicFromNormalized(shape.Factor, normalized);
    case ctExponential:
      return ExponentialFromNormalized(shape.Factor, normalized);
    case ctLinear:
    default:
      return normalized;
  }
}

float ValueToNormalized(const TParameterRange& range, double value) {
  return ClampToUnit(CurveToNormalized(range.Shape, RangePosition(range, value)));
}

long double NormalizedToValue(const TParameterRange& range, double normalized) {
  const long double position = CurveFromNormalized(range.Shape, normalized);
  return (static_cast<long double>(range.Max) - range.Min) * position + range.Min;
}

}  // namespace zelk
