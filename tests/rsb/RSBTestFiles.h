// Hand-built RSB files and a memory bitmap that counts its allocations, for
// the image format tests.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tests/support/LittleEndian.h"

#include "dib/MemoryDIB.h"

namespace zelk::tests {

struct TRSBFileParts {
  uint32_t Version = 1;
  uint32_t Width = 1;
  uint32_t Height = 1;
  uint32_t RedBits = 5;
  uint32_t GreenBits = 6;
  uint32_t BlueBits = 5;
  uint32_t AlphaBits = 0;
  // 16-bit pixels, rows from the top, each left to right.
  std::vector<uint16_t> Pixels;
};

inline std::vector<uint8_t> BuildRSB(const TRSBFileParts& parts) {
  std::vector<uint8_t> bytes;
  for (uint32_t field : {parts.Version, parts.Width, parts.Height, parts.RedBits, parts.GreenBits, parts.BlueBits,
                         parts.AlphaBits}) {
    AppendLittleEndian(bytes, field, 4);
  }
  for (uint16_t pixel : parts.Pixels) AppendLittleEndian(bytes, pixel, 2);
  return bytes;
}

inline constexpr uint32_t BGRA(uint8_t blue, uint8_t green, uint8_t red, uint8_t alpha) {
  return uint32_t{blue} | uint32_t{green} << 8 | uint32_t{red} << 16 | uint32_t{alpha} << 24;
}

// A memory bitmap that tells whether a load obtained pixel memory.
class TCountingDIB : public TMemoryDIB {
 public:
  int allocations = 0;

 protected:
  void AllocateBits() override {
    ++allocations;
    TMemoryDIB::AllocateBits();
  }
};

using TCountingDIBPtr = std::unique_ptr<TCountingDIB, TFreeObject>;

inline TCountingDIBPtr MakeCountingDIB(uint16_t width, uint16_t height, uint32_t fill) {
  TCountingDIBPtr dib(New<TCountingDIB>());
  dib->SetSize(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) dib->SetPixel(x, y, fill);
  }
  dib->allocations = 0;
  return dib;
}

}  // namespace zelk::tests
