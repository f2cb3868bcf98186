// 80-bit floats written out byte by byte, as resources store them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/Float80.h"

namespace zelk::tests {

// The mantissa (with its explicit integer bit) low byte first, then the
// sign bit and the 15-bit exponent.
inline TFloat80Bytes Extended(uint64_t mantissa, uint16_t signAndExponent) {
  TFloat80Bytes bytes{};
  for (int i = 0; i < 8; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(mantissa >> (8 * i));
  bytes[8] = static_cast<uint8_t>(signAndExponent);
  bytes[9] = static_cast<uint8_t>(signAndExponent >> 8);
  return bytes;
}

}  // namespace zelk::tests
