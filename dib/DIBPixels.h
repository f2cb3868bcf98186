// Loading and storing 4-byte pixels at any byte address, and the address of a
// pixel in a bottom-up picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "dib/DIBTypes.h"

namespace zelk {

inline TPixel LoadPixel(const uint8_t* address) {
  TPixel pixel;
  std::memcpy(&pixel, address, sizeof pixel);
  return pixel;
}

inline void StorePixel(uint8_t* address, TPixel pixel) { std::memcpy(address, &pixel, sizeof pixel); }

inline constexpr uint8_t AlphaOf(TPixel pixel) { return static_cast<uint8_t>(pixel >> 24); }
inline constexpr TPixel kColorBits = 0x00FFFFFFu;

// Byte offset of column x in memory row memoryRow of a picture `width` wide.
inline ptrdiff_t PixelOffset(int64_t width, int64_t x, int64_t memoryRow) {
  return static_cast<ptrdiff_t>((memoryRow * width + x) * 4);
}

}  // namespace zelk
