// A bitmap for tests: its pixels live in a std::vector between two poisoned
// guard bands, so any stray read shows as wrong pixels and any stray write
// as a damaged guard.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "dib/AbstractSuperDIB.h"

namespace zelk::tests {

class TTestDIB : public TAbstractSuperDIB {
  ZELK_CLASS(TTestDIB, TAbstractSuperDIB)

  static constexpr size_t kGuardBytes = 64;
  static constexpr uint8_t kPoison = 0xA5;

  TTestDIB() = default;
  ~TTestDIB() override { ReleaseBits(); }

  bool GuardsIntact() const;
  int allocations = 0;

 protected:
  void AllocateBits() override;
  void FreeBits() override;

 private:
  std::vector<uint8_t> storage_;
};

using TTestDIBPtr = std::unique_ptr<TTestDIB, TFreeObject>;

TTestDIBPtr MakeDIB(uint16_t width, uint16_t height);
// Every pixel from the generator (all four bytes random).
TTestDIBPtr MakeRandomDIB(uint16_t width, uint16_t height, std::mt19937& random);
// Every pixel := pixel.
TTestDIBPtr MakeFilledDIB(uint16_t width, uint16_t height, TPixel pixel);

// All pixels, top row first, left to right.
std::vector<TPixel> PixelsOf(const TAbstractSuperDIB& dib);

inline TPixel Grey(uint8_t value, uint8_t alpha) {
  return TPixel{value} | TPixel{value} << 8 | TPixel{value} << 16 | TPixel{alpha} << 24;
}

}  // namespace zelk::tests
