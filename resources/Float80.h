// The 80-bit extended float of component streams: a 64-bit mantissa with an
// explicit leading bit, then 16 bits of sign and 15-bit exponent (bias
// 16383), little-endian. Converted with integer arithmetic only, so the
// result is the same on every compiler, whatever its long double is.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zelk {

using TFloat80Bytes = std::array<uint8_t, 10>;

// Exact: every double is representable. Zero keeps its sign, denormals are
// normalised, infinities stay infinite, NaNs stay quiet NaNs with their
// payload's high bits.
TFloat80Bytes DoubleToFloat80(double value);

// Rounds the 64-bit mantissa to 53 bits, to nearest with ties to even;
// values beyond the double range become infinite, values below it become
// denormals or zero (also rounded to nearest even). Pseudo-infinities,
// pseudo-NaNs and NaNs give a quiet NaN; unnormals and denormals are read by
// their value.
double Float80ToDouble(std::span<const uint8_t, 10> bytes);

}  // namespace zelk
