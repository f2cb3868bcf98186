#include "tests/dib/TestDIB.h"

#include <algorithm>

#include "runtime/ClassBuilder.h"

namespace zelk::tests {

const TClassInfo& TTestDIB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestDIB>("TTestDIB").Build();
  return info;
}

void TTestDIB::AllocateBits() {
  storage_.assign(PixelBufferSize() + 2 * kGuardBytes, kPoison);
  SetBitsPointer(storage_.data() + kGuardBytes);
  ++allocations;
}

void TTestDIB::FreeBits() {
  SetBitsPointer(nullptr);
  storage_.clear();
}

bool TTestDIB::GuardsIntact() const {
  if (storage_.empty()) return true;
  const auto isPoison = [](uint8_t byte) { return byte == kPoison; };
  return std::all_of(storage_.begin(), storage_.begin() + kGuardBytes, isPoison) &&
         std::all_of(storage_.end() - kGuardBytes, storage_.end(), isPoison);
}

TTestDIBPtr MakeDIB(uint16_t width, uint16_t height) {
  return TTestDIBPtr(TAbstractSuperDIB::CreateSize<TTestDIB>(width, height));
}

TTestDIBPtr MakeRandomDIB(uint16_t width, uint16_t height, std::mt19937& random) {
  TTestDIBPtr dib = MakeDIB(width, height);
  for (int32_t y = 0; y < dib->Height(); ++y) {
    for (int32_t x = 0; x < dib->Width(); ++x) dib->SetPixel(x, y, static_cast<TPixel>(random()));
  }
  return dib;
}

TTestDIBPtr MakeFilledDIB(uint16_t width, uint16_t height, TPixel pixel) {
  TTestDIBPtr dib = MakeDIB(width, height);
  for (int32_t y = 0; y < dib->Height(); ++y) {
    for (int32_t x = 0; x < dib->Width(); ++x) dib->SetPixel(x, y, pixel);
  }
  return dib;
}

std::vector<TPixel> PixelsOf(const TAbstractSuperDIB& dib) {
  std::vector<TPixel> pixels;
  for (int32_t y = 0; y < dib.Height(); ++y) {
    for (int32_t x = 0; x < dib.Width(); ++x) pixels.push_back(dib.Pixel(x, y));
  }
  return pixels;
}

}  // namespace zelk::tests
