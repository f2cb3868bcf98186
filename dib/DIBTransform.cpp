#include "dib/DIBTransform.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBPixels.h"
#include "dib/DIBRotationTables.h"
#include "dib/DIBRounding.h"

namespace zelk {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr int32_t kMaxBoxSide = 0x7FFFFFFE;

// Steps beyond this many 1/256 pixels leave the source after one pixel
// anyway; bounding them keeps every position sum inside 64 bits.
constexpr int64_t kMaxStep = int64_t{1} << 42;

// Ceil of a box side, made even, saturated.
int32_t EvenSide(long double extent) {
  if (!(extent >= 0.0L)) return 0;
  const long double side = std::ceil(extent);
  if (side >= static_cast<long double>(kMaxBoxSide)) return kMaxBoxSide;
  const auto whole = static_cast<int32_t>(side);
  return (whole % 2 != 0) ? whole + 1 : whole;
}

int64_t StepOf(int64_t tableProduct, long double scaledSide) {
  const long double step = RoundHalfEven(static_cast<long double>(tableProduct) / scaledSide);
  return static_cast<int64_t>(std::clamp(step, static_cast<long double>(-kMaxStep), static_cast<long double>(kMaxStep)));
}

}  // namespace

TBoxSize RotatedSize(uint16_t width, uint16_t height, TAngle angle, long double scaleX, long double scaleY) {
  if (!std::isfinite(scaleX) || !std::isfinite(scaleY)) return {};
  // The angle and the scaled sides are held as 64-bit doubles; the
  // trigonometry and the sums run in extended precision, where the tiny
  // sine or cosine of a rounded right angle still lifts a side above a whole
  // number.
  const double radians = static_cast<double>(-static_cast<long double>(angle) * kPi / 180.0L);
  const double scaledWidth = static_cast<double>(width * scaleX / 100.0L);
  const double scaledHeight = static_cast<double>(height * scaleY / 100.0L);
  const long double sine = std::sin(static_cast<long double>(radians));
  const long double cosine = std::cos(static_cast<long double>(radians));
  const long double boxWidth = std::fabs(cosine * scaledWidth) + std::fabs(sine * scaledHeight);
  const long double boxHeight = std::fabs(sine * scaledWidth) + std::fabs(cosine * scaledHeight);
  return {EvenSide(boxWidth), EvenSide(boxHeight)};
}

TTransformSteps ComputeTransformSteps(uint16_t sourceWidth, uint16_t sourceHeight, TAngle angle, long double scaleX,
                                      long double scaleY) {
  const long double scaledWidth = sourceWidth * (scaleX / 100.0L);
  const long double scaledHeight = sourceHeight * (scaleY / 100.0L);
  if (scaledWidth == 0.0L || scaledHeight == 0.0L || !std::isfinite(scaledWidth) || !std::isfinite(scaledHeight)) {
    return {};
  }
  const TRotationTables& tables = RotationTables();
  const size_t index = angle % 360;
  TTransformSteps steps;
  steps.Valid = true;
  steps.K1 = StepOf(int64_t{tables.Cosine[index]} * sourceWidth, scaledWidth);
  steps.K2 = StepOf(int64_t{tables.Sine[index]} * sourceHeight, scaledHeight);
  steps.K3 = StepOf(int64_t{tables.ShiftedCosine[index]} * sourceWidth, scaledWidth);
  steps.K4 = StepOf(int64_t{tables.ShiftedSine[index]} * sourceHeight, scaledHeight);
  return steps;
}

namespace {

// The columns [first, last) of a row where a position a + step * i stays
// strictly within (-limit, limit), in 1/256 pixel, for i in [0, count).
struct TSpan {
  int64_t First;
  int64_t Last;
};

// Smallest i >= 0 with a + step * i > bound (step > 0).
int64_t FirstAbove(int64_t start, int64_t step, int64_t bound) {
  if (start > bound) return 0;
  return (bound - start) / step + 1;
}

TSpan InsideSpan(int64_t start, int64_t step, int64_t limit, int64_t count) {
  if (step == 0) return (start > -limit && start < limit) ? TSpan{0, count} : TSpan{0, 0};
  if (step < 0) {
    // Mirror: a + step * i inside (-limit, limit) <=> -a + (-step) * i inside.
    start = -start;
    step = -step;
  }
  const int64_t first = FirstAbove(start, step, -limit);      // first i with position > -limit
  const int64_t last = FirstAbove(start, step, limit - 1);    // first i with position >= limit
  return {std::min(first, count), std::min(std::max(last, first), count)};
}

}  // namespace

void TransformRows(const TAbstractSuperDIB& source, const TTransformSteps& steps, int32_t boxWidth,
                   int32_t boxHeight, int32_t left, int32_t memoryRow, int32_t width, int32_t rows, TPixel fill,
                   uint8_t* target, ptrdiff_t targetStride) {
  const int64_t sourceWidth = source.Width();
  const int64_t halfWidth = sourceWidth / 2;
  const int64_t halfHeight = source.Height() / 2;
  // |position| < half * 256 is the same as -half < position / 256 < half with
  // the division cutting towards zero.
  const int64_t columnLimit = halfWidth * 256;
  const int64_t rowLimit = halfHeight * 256;
  const uint8_t* sourceBits = source.Bits();
  const int64_t firstColumnOffset = int64_t{left} - boxWidth / 2;
  for (int32_t row = 0; row < rows; ++row) {
    uint8_t* line = target + targetStride * row;
    const int64_t rowOffset = int64_t{memoryRow} + row - boxHeight / 2;
    const int64_t startX = steps.K1 * firstColumnOffset + steps.K3 * rowOffset;
    const int64_t startY = steps.K2 * firstColumnOffset + steps.K4 * rowOffset;
    const TSpan alongX = InsideSpan(startX, steps.K1, columnLimit, width);
    const TSpan alongY = InsideSpan(startY, steps.K2, rowLimit, width);
    const int64_t first = std::max(alongX.First, alongY.First);
    const int64_t last = std::max(first, std::min(alongX.Last, alongY.Last));
    for (int64_t column = 0; column < first; ++column) StorePixel(line + column * 4, fill);
    int64_t positionX = startX + steps.K1 * first;
    int64_t positionY = startY + steps.K2 * first;
    for (int64_t column = first; column < last; ++column) {
      const int64_t sourceColumn = halfWidth + positionX / 256;
      const int64_t sourceRow = halfHeight + positionY / 256;
      StorePixel(line + column * 4, LoadPixel(sourceBits + (sourceRow * sourceWidth + sourceColumn) * 4));
      positionX += steps.K1;
      positionY += steps.K2;
    }
    for (int64_t column = last; column < width; ++column) StorePixel(line + column * 4, fill);
  }
}

}  // namespace zelk
