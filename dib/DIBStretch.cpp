// StretchFrom: nearest-neighbour resampling in 16.16 fixed point.
#include <algorithm>
#include <vector>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBPixels.h"

namespace zelk {

namespace {

// 16.16 step from a target length to a source length.
struct TStep {
  int64_t Whole;
  int64_t Fraction;
};

TStep StepOf(int64_t sourceLength, int64_t targetLength) {
  const int64_t step = (sourceLength * 65536) / targetLength;
  return {step >> 16, step & 0xFFFF};
}

// Column n takes n * whole + Floor(n * fraction / 65536).
int64_t SourceColumn(int64_t column, const TStep& step) { return column * step.Whole + (column * step.Fraction) / 65536; }

// Row k takes k * whole + Ceil((k - 1) * fraction / 65536); row 0 takes row 0.
int64_t SourceRow(int64_t row, const TStep& step) {
  if (row == 0) return 0;
  return row * step.Whole + ((row - 1) * step.Fraction + 65535) / 65536;
}

}  // namespace

void TAbstractSuperDIB::StretchFrom(const TAbstractSuperDIB& source) {
  if (Bits() == nullptr || source.Bits() == nullptr) return;
  const int64_t sourceWidth = source.Width();
  const int64_t sourceHeight = source.Height();
  const TStep across = StepOf(sourceWidth, Width());
  const TStep down = StepOf(sourceHeight, Height());
  // The Ceil rule for rows can point one row past the source when
  // enlarging more than twice; such rows repeat the last source row.
  std::vector<int64_t> columns(Width());
  for (int64_t column = 0; column < Width(); ++column) {
    columns[static_cast<size_t>(column)] = std::min(SourceColumn(column, across), sourceWidth - 1);
  }
  // A bitmap stretched from itself is read in full before it is written.
  std::vector<uint8_t> copy;
  const uint8_t* sourceBits = source.Bits();
  if (&source == this) {
    copy.assign(sourceBits, sourceBits + PixelByteCount());
    sourceBits = copy.data();
  }
  for (int64_t row = 0; row < Height(); ++row) {
    const int64_t sourceRow = std::min(SourceRow(row, down), sourceHeight - 1);
    const uint8_t* sourceLine = sourceBits + PixelOffset(sourceWidth, 0, sourceRow);
    uint8_t* targetLine = Bits() + PixelOffset(Width(), 0, row);
    for (int64_t column = 0; column < Width(); ++column) {
      StorePixel(targetLine + column * 4, LoadPixel(sourceLine + columns[static_cast<size_t>(column)] * 4));
    }
  }
  Changed();
}

}  // namespace zelk
