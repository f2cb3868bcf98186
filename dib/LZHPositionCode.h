// Prefix code for the upper 6 bits of a match position. Short codes go to
// near positions: 3 bits for u = 0, 4 for 1-3, 5 for 4-11, 6 for 12-23,
// 7 for 24-47 and 8 for 48-63. The code is canonical: each code is the
// previous one plus one, shifted left by one bit whenever the length grows.
#pragma once

#include <array>
#include <cstdint>

#include "dib/LZHConstants.h"

namespace zelk::lzh {

struct TPositionCodeTables {
  // Encoding: code bits of each upper part, left-aligned in 8 bits.
  std::array<uint8_t, kPositionHighCount> Code{};
  std::array<uint8_t, kPositionHighCount> Length{};
  // Decoding, indexed by the next 8 bits of the stream: the upper part whose
  // code is their prefix, and that code's length.
  std::array<uint8_t, 256> DecodedHigh{};
  std::array<uint8_t, 256> DecodedLength{};
};

constexpr int PositionCodeLength(int high) {
  if (high < 1) return 3;
  if (high < 4) return 4;
  if (high < 12) return 5;
  if (high < 24) return 6;
  if (high < 48) return 7;
  return 8;
}

constexpr TPositionCodeTables MakePositionCodeTables() {
  TPositionCodeTables tables;
  int code = 0;
  int length = PositionCodeLength(0);
  for (int high = 0; high < kPositionHighCount; ++high) {
    if (high > 0) {
      ++code;
      for (; length < PositionCodeLength(high); ++length) code <<= 1;
    }
    const int shift = 8 - length;
    tables.Code[high] = static_cast<uint8_t>(code << shift);
    tables.Length[high] = static_cast<uint8_t>(length);
    // Every 8-bit pattern that starts with this code decodes to it.
    for (int tail = 0; tail < (1 << shift); ++tail) {
      tables.DecodedHigh[(code << shift) | tail] = static_cast<uint8_t>(high);
      tables.DecodedLength[(code << shift) | tail] = static_cast<uint8_t>(length);
    }
  }
  return tables;
}

inline constexpr TPositionCodeTables kPositionCodes = MakePositionCodeTables();

}  // namespace zelk::lzh
