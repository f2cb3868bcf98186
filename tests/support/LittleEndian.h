// Appends integers to a byte buffer in little-endian order, for tests that
// build file and stream bytes by hand.
#pragma once

#include <cstdint>
#include <vector>

namespace zelk::tests {

inline void AppendLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace zelk::tests
