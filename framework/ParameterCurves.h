// Value curves of a parameter: how a position 0..1 on the host's
// normalized scale maps to a position 0..1 within the parameter's range
// [Min, Max], and back.
//
// Each curve is a pair of pure functions, exact inverses of each other for
// every valid curve factor, so that a value set by the host reads back as
// the normalized value the host set:
//
//   ctLinear       range position = normalized
//   ctLogarithmic  normalized = ln(f·CF + 1) / ln(CF + 1)
//   ctExponential  normalized = ((CF + 1)^f − 1) / CF
//
// A curve factor for which a curve is undefined (0, −1 or below, not finite)
// makes that curve linear, which is its limit as the factor goes to 0.
// Intermediate values are computed in extended precision.
#pragma once

#include <cstdint>

#include "runtime/TypeInfo.h"

namespace zelk {

enum TCurveType : uint8_t { ctLinear, ctLogarithmic, ctExponential };
ZELK_ENUM_NAMES(TCurveType, "ctLinear", "ctLogarithmic", "ctExponential")

// The shape of a parameter's curve.
struct TCurveShape {
  TCurveType Curve = ctLinear;
  double Factor = 1.0;
};

// Position 0..1 within the range → normalized position. Not clamped: a
// position outside 0..1 gives a value outside 0..1 (or a non-number).
long double CurveToNormalized(TCurveShape shape, long double rangePosition);
// Normalized position → position within the range. Not clamped.
long double CurveFromNormalized(TCurveShape shape, long double normalized);

// The parameter's range [Min, Max] together with its curve.
struct TParameterRange {
  double Min = 0.0;
  double Max = 1.0;
  TCurveShape Shape;
};

// Value in parameter units → normalized value, clamped to 0..1; a value that
// maps to no number gives 0. Min equal to Max maps values above Min to 1 and
// all others to 0.
float ValueToNormalized(const TParameterRange& range, double value);
// Normalized value → value in parameter units. Not clamped: a normalized
// value outside 0..1 gives a value outside the range.
long double NormalizedToValue(const TParameterRange& range, double normalized);

}  // namespace zelk
