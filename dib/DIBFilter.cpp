// ApplyFilter: a 3 x 3 convolution of B, G and R in signed 16-bit arithmetic,
// laid over the picture with the filter's opacity.
#include <algorithm>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBPixels.h"
#include "dib/DIBScratch.h"

namespace zelk {

namespace {

int32_t DivisorOf(const TDIBFilter& filter) {
  if (filter.Divisor > 0) return filter.Divisor;
  int32_t sum = 0;
  for (int16_t weight : filter.Weights) sum += weight;
  return sum;
}

// One channel of one pixel: the weighted sum wraps like 16-bit arithmetic;
// the division runs on the 16-bit sum with the full divisor (a divisor
// outside the 16-bit range would otherwise divide by a truncated value).
uint8_t FilterChannel(const uint8_t* neighbours[9], int channel, const TDIBFilter& filter, int16_t offset,
                      int32_t divisor) {
  int32_t sum = offset;
  for (int index = 0; index < 9; ++index) sum += int32_t{filter.Weights[index]} * neighbours[index][channel];
  int32_t value = static_cast<int16_t>(static_cast<uint16_t>(sum));
  if (divisor != 0) value /= divisor;
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

void TAbstractSuperDIB::ApplyFilter(const TDIBFilter& filter) {
  if (Bits() == nullptr) return;
  TScratchDIBPtr filtered = MakeScratchDIB(Width(), Height());
  const int32_t divisor = DivisorOf(filter);
  for (int32_t y = 1; y + 1 < Height(); ++y) {
    for (int32_t x = 1; x + 1 < Width(); ++x) {
      // Rows counted from the top: the top row of the neighbourhood first.
      const uint8_t* neighbours[9];
      for (int row = 0; row < 3; ++row) {
        const uint8_t* line = ScanLine(y - 1 + row);
        for (int column = 0; column < 3; ++column) neighbours[row * 3 + column] = line + (x - 1 + column) * 4;
      }
      const uint8_t* centre = neighbours[4];
      const uint8_t blue = FilterChannel(neighbours, 0, filter, filter.BlueOffset, divisor);
      const uint8_t green = FilterChannel(neighbours, 1, filter, filter.GreenOffset, divisor);
      const uint8_t red = FilterChannel(neighbours, 2, filter, filter.RedOffset, divisor);
      filtered->SetPixel(x, y, TPixel{blue} | TPixel{green} << 8 | TPixel{red} << 16 | TPixel{centre[3]} << 24);
    }
  }
  filtered->SetOpacity(filter.Opacity);
  filtered->Draw(0, 0, Width(), Height(), *this, 0, 0);
}

}  // namespace zelk
