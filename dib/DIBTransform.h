// Rotation and scaling of a whole picture about its centre, nearest-neighbour
// by truncation, in 1/256 pixel fixed point.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dib/DIBTypes.h"

namespace zelk {

class TAbstractSuperDIB;

struct TBoxSize {
  int32_t Width = 0;
  int32_t Height = 0;

  bool operator==(const TBoxSize&) const = default;
};

// The box that holds a width x height picture after scaling (percent) and
// rotation, each side rounded up to an even number (extended precision, so
// that a rounded angle of 90 or 180 degrees lifts an exact side above
// itself). Sides saturate at 0x7FFFFFFE; non-finite scales give 0 x 0.
TBoxSize RotatedSize(uint16_t width, uint16_t height, TAngle angle, long double scaleX, long double scaleY);

// Per-pixel steps of the transform in 1/256 source pixel, with the source
// geometry. Valid is false when the scaled size is 0 or not finite.
struct TTransformSteps {
  bool Valid = false;
  int64_t K1 = 0, K2 = 0, K3 = 0, K4 = 0;
};
TTransformSteps ComputeTransformSteps(uint16_t sourceWidth, uint16_t sourceHeight, TAngle angle, long double scaleX,
                                      long double scaleY);

// Writes the part (left, memoryRow, width x rows) of a boxWidth x boxHeight
// transformed box into target rows (stride in bytes, the rows in increasing
// memory-row order). Box coordinates are memory coordinates (rows counted
// from the bottom). Pixels no source pixel covers get fill.
void TransformRows(const TAbstractSuperDIB& source, const TTransformSteps& steps, int32_t boxWidth,
                   int32_t boxHeight, int32_t left, int32_t memoryRow, int32_t width, int32_t rows, TPixel fill,
                   uint8_t* target, ptrdiff_t targetStride);

}  // namespace zelk
