// The image record: a bitmap's size and pixels in one block, as handed to and
// taken from the stored form (DIBData.h). Width and Height as unsigned 16-bit
// little-endian values, then Width x Height x 4 pixel bytes exactly as they
// lie in memory (bottom row first, bytes blue, green, red, alpha).
#pragma once

#include <cstdint>
#include <span>

namespace zelk {

class TStream;

inline constexpr int64_t kImageRecordHeaderSize = 4;
inline constexpr char kImageRecordMismatchMessage[] =
    "Stored image data do not hold a picture of the size they state.";

struct TImageRecordSize {
  uint16_t Width = 0;
  uint16_t Height = 0;
};

// 4 + 4 x width x height, in 64 bits (up to 17 GB for 65535 x 65535).
constexpr int64_t ImageRecordLength(uint16_t width, uint16_t height) {
  return kImageRecordHeaderSize + int64_t{width} * height * 4;
}

void WriteImageRecord(TStream& dest, uint16_t width, uint16_t height, const uint8_t* pixels);

// The size a record states, after checking that the record holds exactly
// that many pixels and that neither dimension is 0 (no bitmap with pixels
// writes such a record). Raises EDIBCompressError otherwise.
TImageRecordSize CheckImageRecord(std::span<const uint8_t> record);

}  // namespace zelk
