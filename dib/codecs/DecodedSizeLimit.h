// How many pixels a compressed picture file may claim for its size in bytes.
// Deflate and JPEG entropy coding reach a few thousand pixels per byte on
// flat pictures; a header that claims far more than that is hostile, and is
// refused before the pixel buffer is allocated. Pictures up to the allowance
// are always accepted.
#pragma once

#include <cstdint>

namespace zelk {

inline constexpr uint64_t kMaxPixelsPerFileByte = 8300;
inline constexpr uint64_t kPixelAllowance = uint64_t{1} << 24;

constexpr bool PlausiblePixelCount(uint64_t width, uint64_t height, uint64_t fileSize) {
  return width * height <= fileSize * kMaxPixelsPerFileByte + kPixelAllowance;
}

}  // namespace zelk
