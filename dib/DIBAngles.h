// Angle and circle helpers of the dial: whole degrees, clockwise on the
// screen from twelve o'clock, y growing downwards.
#pragma once

#include <cstdint>

#include "dib/DIBTypes.h"

namespace zelk {

// The point at radius from (centerX, centerY) in the direction angle:
// (Round(cx + radius * cos r), Round(cy + radius * sin r)), r = (angle - 90) deg.
TPoint PointOnCircle(int32_t centerX, int32_t centerY, int32_t radius, TAngle angle);

// Direction in whole degrees from point 1 to point 2; a point straight above
// gives 360 (bring it to 0 with NormalizeAngle), the same point 0.
int32_t AngleBetween(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// The angle brought into 0..359 by whole turns.
int32_t NormalizeAngle(int32_t angle);

}  // namespace zelk
