#include "dib/DIBDrawnArea.h"

#include <algorithm>
#include <cmath>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBPixels.h"
#include "dib/DIBTransform.h"

namespace zelk {

namespace {

// Grows bounds by the pixels of one frame's row that pass the test.
template <class Shows>
void AddRow(const uint8_t* row, int32_t width, int32_t y, TRect& bounds, Shows shows) {
  int32_t first = 0;
  while (first < width && !shows(LoadPixel(row + first * 4))) ++first;
  if (first == width) return;
  int32_t last = width - 1;
  while (!shows(LoadPixel(row + last * 4))) --last;
  bounds = UnionRect(bounds, {first, y, last + 1, y + 1});
}

template <class Shows>
TRect BoundsOf(const TAbstractSuperDIB& strip, int32_t frameCount, int32_t frameWidth, Shows shows) {
  TRect bounds;
  for (int32_t y = 0; y < strip.Height(); ++y) {
    const uint8_t* row = strip.ScanLine(y);
    for (int32_t frame = 0; frame < frameCount; ++frame) {
      AddRow(row + static_cast<ptrdiff_t>(frame) * frameWidth * 4, frameWidth, y, bounds, shows);
    }
  }
  return bounds;
}

// The integer steps map box offsets (column, memory row from the box centre)
// to source offsets in 1/256 pixel exactly; a source pixel index is the
// offset divided by 256 towards zero, so a source range [first, last]
// (relative to the centre) needs offsets within [(first - 1) * 256,
// (last + 1) * 256]. The box offsets of that parallelogram's corners, one
// pixel wider for the rounding of this inverse, bound every box pixel that
// can read the range.
struct TSpanOf {
  long double Low;
  long double High;
};

TRect RotatedBounds(const TFrameDraw& draw, const TTransformSteps& steps, int32_t boxWidth, int32_t boxHeight,
                    const TRect& visible) {
  const long double determinant =
      static_cast<long double>(steps.K1) * steps.K4 - static_cast<long double>(steps.K3) * steps.K2;
  const TRect box{0, 0, boxWidth, boxHeight};
  if (determinant == 0.0L) return box;
  const int32_t halfWidth = draw.Width / 2;
  const int32_t halfHeight = draw.Height / 2;
  // Source memory rows run from the bottom.
  const TSpanOf across{256.0L * (visible.Left - halfWidth - 1), 256.0L * (visible.Right - halfWidth)};
  const TSpanOf down{256.0L * (draw.Height - visible.Bottom - halfHeight - 1),
                     256.0L * (draw.Height - visible.Top - halfHeight)};
  long double lowColumn = INFINITY, highColumn = -INFINITY, lowRow = INFINITY, highRow = -INFINITY;
  for (const long double x : {across.Low, across.High}) {
    for (const long double y : {down.Low, down.High}) {
      const long double column = (steps.K4 * x - steps.K3 * y) / determinant;
      const long double row = (steps.K1 * y - steps.K2 * x) / determinant;
      lowColumn = std::min(lowColumn, column);
      highColumn = std::max(highColumn, column);
      lowRow = std::min(lowRow, row);
      highRow = std::max(highRow, row);
    }
  }
  const auto first = [](long double value, int32_t centre) {
    return static_cast<int32_t>(std::clamp(std::floor(value) - 1 + centre, -1.0L, 1.0L * 0x7FFFFFF0));
  };
  const auto last = [](long double value, int32_t centre) {
    return static_cast<int32_t>(std::clamp(std::ceil(value) + 1 + centre, -1.0L, 1.0L * 0x7FFFFFF0));
  };
  const int32_t left = first(lowColumn, boxWidth / 2);
  const int32_t right = last(highColumn, boxWidth / 2) + 1;
  // Box memory row m is row boxHeight - 1 - m from the top.
  const int32_t lowMemoryRow = first(lowRow, boxHeight / 2);
  const int32_t highMemoryRow = last(highRow, boxHeight / 2);
  return IntersectRect(box, {left, boxHeight - 1 - highMemoryRow, right, boxHeight - lowMemoryRow});
}

}  // namespace

TVisiblePixels VisibleFramePixels(const TAbstractSuperDIB& strip, int32_t frameCount) {
  if (frameCount < 1 || strip.Bits() == nullptr) return {};
  const int32_t frameWidth = strip.Width() / frameCount;
  if (frameWidth < 1) return {};
  if (strip.Masked()) {
    return {BoundsOf(strip, frameCount, frameWidth, [](TPixel pixel) { return (pixel >> 24) != 0; }), false};
  }
  if (strip.Transparent()) {
    const TPixel key = strip.TransparentColorValue() & kColorBits;
    return {BoundsOf(strip, frameCount, frameWidth, [key](TPixel pixel) { return (pixel & kColorBits) != key; }),
            false};
  }
  return {{0, 0, frameWidth, strip.Height()}, true};
}

TRect DrawnArea(const TFrameDraw& draw, const TVisiblePixels& visible) {
  if (visible.Bounds.IsEmpty() || draw.Width < 1 || draw.Height < 1) return {};
  if (draw.Angle == 0 && draw.ScaleX == 100.0L && draw.ScaleY == 100.0L) return visible.Bounds.Offset(draw.X, draw.Y);
  TBoxSize box{draw.Width, draw.Height};
  if (draw.AutoSize) box = RotatedSize(draw.Width, draw.Height, draw.Angle, draw.ScaleX, draw.ScaleY);
  box = {std::min(box.Width, 65535), std::min(box.Height, 65535)};
  if (box.Width < 1 || box.Height < 1) return {};
  const TTransformSteps steps = ComputeTransformSteps(draw.Width, draw.Height, draw.Angle, draw.ScaleX, draw.ScaleY);
  if (!steps.Valid) return {};
  const TRect inBox = visible.Everywhere ? TRect{0, 0, box.Width, box.Height}
                                         : RotatedBounds(draw, steps, box.Width, box.Height, visible.Bounds);
  return inBox.Offset(draw.X, draw.Y);
}

}  // namespace zelk
