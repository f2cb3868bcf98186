// The dial's arithmetic, free of any window: the pointer angle for a
// position, the position for a mouse point (circular and linear), the
// pointer's rectangle, the hit zone of a press, one step toward a pressed
// point and the preferred size. All divisions truncate toward zero; the
// intermediate products are 64-bit, so extreme Min/Max pairs cannot overflow.
#pragma once

#include <cstdint>

#include "runtime/TypeInfo.h"
#include "runtime/Types.h"

namespace zelk {

enum class TDIBDialMouseControlStyle : uint8_t { mcsCircular, mcsLinear };
ZELK_ENUM_NAMES(TDIBDialMouseControlStyle, "mcsCircular", "mcsLinear")

enum class TDIBDialMouseLinearSensitivity : uint8_t { mlsVertical, mlsHorizontal, mlsBoth };
ZELK_ENUM_NAMES(TDIBDialMouseLinearSensitivity, "mlsVertical", "mlsHorizontal", "mlsBoth")

// What a left press does.
enum class TDIBDialHitZone : uint8_t { hzDrag, hzSmallStepDown, hzSmallStepUp, hzPageStepDown, hzPageStepUp };

// The swept scale: Min points to Start, Max to Start + Range (degrees).
struct TDIBDialScale {
  int32_t Min = 0;
  int32_t Max = 100;
  int32_t Start = 0;
  int32_t Range = 360;
};

// NormalizeAngle(Start + (Position - Min) * 360 div (Max - Min) * Range div 360).
// A scale with Max = Min (possible only after loading) points to Start.
int32_t DialPointerAngle(const TDIBDialScale& scale, int32_t position);

// The position for a direction angle (0..360) seen from the centre: the
// part of the circle outside Range maps to Max.
int32_t DialCircularPosition(const TDIBDialScale& scale, int32_t angle);

// The mouse movement (dx right, dy up) in positions, not truncated.
long double DialLinearSteps(int32_t dx, int32_t dy, TDIBDialMouseLinearSensitivity sensitivity,
                            long double horizontalPixelsPerPosition, long double verticalPixelsPerPosition);

// The turn from one direction angle to another, -180..179 degrees:
// positive clockwise, the shorter way round.
int32_t DialAngleStep(int32_t fromAngle, int32_t toAngle);

// Start position plus the mouse movement (dx right, dy up) in positions,
// summed in floating point and truncated once. Not clamped to Min..Max
// (the Position write does that), only to the 32-bit range.
int32_t DialLinearPosition(int32_t startPosition, int32_t dx, int32_t dy, TDIBDialMouseLinearSensitivity sensitivity,
                           long double horizontalPixelsPerPosition, long double verticalPixelsPerPosition);

// The pointer frame's box: centred on the point at the pointer radius from
// (centerX, centerY) in the direction angle, its size that of one frame
// rotated by angle (when rotate) rounded up to even sides. Right and Bottom
// are the last covered pixel. radius <= 0 derives the radius from the
// control size: min(width, height) + radius - pointerHeight.
struct TDIBDialPointerGeometry {
  int32_t ControlWidth = 0;
  int32_t ControlHeight = 0;
  int32_t PointerWidth = 0;  // the whole strip
  int32_t PointerHeight = 0;
  int32_t NumGlyphs = 1;
  int32_t Radius = -1;
  bool Rotate = false;
};
TRect DialPointerRect(const TDIBDialPointerGeometry& geometry, int32_t angle);

// The zone of a left press at (x, y) of a circular dial: a drag inside the
// pointer rectangle (right and bottom edges excluded), otherwise a small or
// page step toward target (the press's position), page when the distance
// exceeds (Max - Min) div 4.
TDIBDialHitZone DialHitZone(const TRect& pointerRect, int32_t x, int32_t y, const TDIBDialScale& scale,
                            int32_t position, int32_t target);

// The position after one step of zone from position toward target, never
// passing target. A drag zone leaves the position.
int32_t DialStep(TDIBDialHitZone zone, int32_t position, int32_t target, int32_t smallChange, int32_t pageSize);

// The size a dial asks for: the main picture's, grown so that a pointer at
// radius > 0 fits (radius + the pointer's larger side div 2). No pointer or
// radius <= 0: the main picture's size.
struct TDIBDialSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TDIBDialSize&) const = default;
};
TDIBDialSize DialPreferredSize(int32_t mainWidth, int32_t mainHeight, bool hasPointer, int32_t pointerWidth,
                               int32_t pointerHeight, int32_t radius);

}  // namespace zelk
