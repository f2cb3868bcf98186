// The 80-bit extended float of component streams: a 64-bit mantissa with an
// explicit leading bit, then 16 bits of sign and 15-bit exponent (bias
// 16383), little-endian. Properties of the extended kind keep such values
// exactly (TExtended) from the stream to the property and back.
//
// Where the compiler's long double is this very format (x86 with GCC or
// Clang, MinGW), values go into and out of long double as bit copies, so
// every pattern survives, NaN payloads and the x87's unnormals included.
// Elsewhere long double is reached through double. The double conversions
// use integer arithmetic only and give the same result on every compiler.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <span>

namespace zelk {

using TFloat80Bytes = std::array<uint8_t, 10>;

// The value of an extended-kind property, as streams hold it.
struct TExtended {
  TFloat80Bytes Bytes{};
  bool operator==(const TExtended&) const = default;
};

inline constexpr bool kLongDoubleIsFloat80 = std::numeric_limits<long double>::digits == 64 &&
                                             std::numeric_limits<long double>::max_exponent == 16384 &&
                                             std::endian::native == std::endian::little;

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

// Exact: every 64-bit integer fits the mantissa.
TFloat80Bytes Int64ToFloat80(int64_t value);

// Bit copies where kLongDoubleIsFloat80, else through double.
TFloat80Bytes LongDoubleToFloat80(long double value);
long double Float80ToLongDouble(std::span<const uint8_t, 10> bytes);

// Zero of either sign (mantissa and exponent 0).
bool IsFloat80Zero(std::span<const uint8_t, 10> bytes);

// True when a double holds the value exactly, so that DoubleToFloat80 of
// Float80ToDouble gives the same bytes back.
bool IsDoubleExact(std::span<const uint8_t, 10> bytes);

}  // namespace zelk
