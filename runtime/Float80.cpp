#include "runtime/Float80.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zelk {

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;
constexpr uint16_t kExtendedMaxExponent = 0x7FFF;
constexpr uint64_t kExplicitBit = uint64_t{1} << 63;
constexpr uint64_t kDoubleFractionMask = (uint64_t{1} << 52) - 1;
constexpr uint64_t kDoubleQuietBit = uint64_t{1} << 51;
constexpr uint64_t kDoubleSignBit = uint64_t{1} << 63;
constexpr uint64_t kDoubleInfinity = uint64_t{0x7FF} << 52;

TFloat80Bytes Pack(uint64_t mantissa, uint16_t signAndExponent) {
  TFloat80Bytes bytes{};
  for (int i = 0; i < 8; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(mantissa >> (8 * i));
  bytes[8] = static_cast<uint8_t>(signAndExponent);
  bytes[9] = static_cast<uint8_t>(signAndExponent >> 8);
  return bytes;
}

// Shifts right by `shift` bits (1..64), rounding to nearest with ties to even.
uint64_t ShiftRightRounded(uint64_t value, int shift) {
  if (shift >= 65) return 0;  // below half of the last kept bit
  if (shift == 64) {
    const uint64_t half = kExplicitBit;
    return (value > half) ? 1 : 0;  // a tie rounds to the even 0
  }
  const uint64_t kept = value >> shift;
  const uint64_t rest = value & ((uint64_t{1} << shift) - 1);
  const uint64_t half = uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) return kept + 1;
  return kept;
}

double NotANumber(uint64_t sign, uint64_t mantissa) {
  const uint64_t payload = (mantissa >> 11) & kDoubleFractionMask;
  return std::bit_cast<double>(sign | kDoubleInfinity | kDoubleQuietBit | payload);
}

}  // namespace

TFloat80Bytes DoubleToFloat80(double value) {
  const auto bits = std::bit_cast<uint64_t>(value);
  const uint16_t sign = (bits & kDoubleSignBit) ? 0x8000 : 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & kDoubleFractionMask;

  if (exponent == 0x7FF) {
    if (fraction == 0) return Pack(kExplicitBit, sign | kExtendedMaxExponent);
    return Pack(kExplicitBit | (fraction << 11) | (kDoubleQuietBit << 11), sign | kExtendedMaxExponent);
  }
  if (exponent == 0) {
    if (fraction == 0) return Pack(0, sign);
    // A denormal double is fraction * 2^-1074; the extended range holds it
    // as a normal number.
    const int leadingBit = 63 - std::countl_zero(fraction);
    const uint64_t mantissa = fraction << (63 - leadingBit);
    const int unbiased = leadingBit - 1074;
    return Pack(mantissa, static_cast<uint16_t>(sign | (unbiased + kExtendedBias)));
  }
  const uint64_t mantissa = kExplicitBit | (fraction << 11);
  return Pack(mantissa, static_cast<uint16_t>(sign | (exponent - kDoubleBias + kExtendedBias)));
}

double Float80ToDouble(std::span<const uint8_t, 10> bytes) {
  uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | bytes[static_cast<size_t>(i)];
  const auto signAndExponent = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
  const uint64_t sign = (signAndExponent & 0x8000) ? kDoubleSignBit : 0;
  const int exponent = signAndExponent & kExtendedMaxExponent;

  if (exponent == kExtendedMaxExponent) {
    const bool infinity = mantissa == kExplicitBit;
    return infinity ? std::bit_cast<double>(sign | kDoubleInfinity) : NotANumber(sign, mantissa);
  }
  if (mantissa == 0) return std::bit_cast<double>(sign);

  // The value is mantissa * 2^(e - bias - 63), with e = 1 for denormals.
  // Normalise so that the leading bit is bit 63 (unnormals included).
  int unbiased = (exponent == 0 ? 1 : exponent) - kExtendedBias;
  const int leadingZeros = std::countl_zero(mantissa);
  mantissa <<= leadingZeros;
  unbiased -= leadingZeros;

  int doubleExponent = unbiased + kDoubleBias;
  if (doubleExponent >= 1) {
    uint64_t kept = ShiftRightRounded(mantissa, 11);  // 53 significant bits
    if (kept == (uint64_t{1} << 53)) {
      kept >>= 1;
      ++doubleExponent;
    }
    if (doubleExponent >= 0x7FF) return std::bit_cast<double>(sign | kDoubleInfinity);
    return std::bit_cast<double>(sign | (static_cast<uint64_t>(doubleExponent) << 52) | (kept & kDoubleFractionMask));
  }
  // Denormal result: fraction * 2^-1074. A carry into bit 52 yields the
  // smallest normal number, which the bit pattern expresses by itself.
  const int shift = 12 - doubleExponent;
  return std::bit_cast<double>(sign | ShiftRightRounded(mantissa, shift));
}

TFloat80Bytes Int64ToFloat80(int64_t value) {
  if (value == 0) return Pack(0, 0);
  const uint16_t sign = value < 0 ? 0x8000 : 0;
  // The magnitude of INT64_MIN is 2^63, which still fits 64 unsigned bits.
  const uint64_t magnitude = value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  const int leadingZeros = std::countl_zero(magnitude);
  return Pack(magnitude << leadingZeros, static_cast<uint16_t>(sign | (63 - leadingZeros + kExtendedBias)));
}

TFloat80Bytes LongDoubleToFloat80(long double value) {
  if constexpr (kLongDoubleIsFloat80) {
    TFloat80Bytes bytes;
    std::memcpy(bytes.data(), &value, bytes.size());
    return bytes;
  } else {
    return DoubleToFloat80(static_cast<double>(value));
  }
}

long double Float80ToLongDouble(std::span<const uint8_t, 10> bytes) {
  if constexpr (kLongDoubleIsFloat80) {
    long double value = 0.0L;  // the padding bytes beyond the ten stay zero
    std::memcpy(&value, bytes.data(), bytes.size());
    return value;
  } else {
    return Float80ToDouble(bytes);
  }
}

bool IsFloat80Zero(std::span<const uint8_t, 10> bytes) {
  return std::all_of(bytes.begin(), bytes.end() - 1, [](uint8_t byte) { return byte == 0; }) && (bytes[9] & 0x7F) == 0;
}

bool IsDoubleExact(std::span<const uint8_t, 10> bytes) {
  const TFloat80Bytes back = DoubleToFloat80(Float80ToDouble(bytes));
  return std::equal(back.begin(), back.end(), bytes.begin());
}

}  // namespace zelk
