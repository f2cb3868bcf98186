#include "controls/DIBDialGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dib/DIBAngles.h"
#include "dib/DIBTransform.h"

namespace zelk {

namespace {

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

uint16_t ToPictureSide(int32_t side) { return static_cast<uint16_t>(std::clamp(side, 0, 0xFFFF)); }

}  // namespace

int32_t DialPointerAngle(const TDIBDialScale& scale, int32_t position) {
  const int64_t span = int64_t{scale.Max} - scale.Min;
  if (span == 0) return NormalizeAngle(scale.Start);
  const int64_t turn = (int64_t{position} - scale.Min) * 360 / span;
  const int64_t swept = turn * scale.Range / 360;
  return NormalizeAngle(static_cast<int32_t>((scale.Start + swept) % 360));
}

int32_t DialCircularPosition(const TDIBDialScale& scale, int32_t angle) {
  if (scale.Range <= 0) return scale.Min;
  const int64_t offset = NormalizeAngle(angle - scale.Start);
  const int64_t position = scale.Min + offset * (int64_t{scale.Max} - scale.Min + 1) / scale.Range;
  return static_cast<int32_t>(std::clamp<int64_t>(position, scale.Min, std::max(scale.Min, scale.Max)));
}

long double DialLinearSteps(int32_t dx, int32_t dy, TDIBDialMouseLinearSensitivity sensitivity,
                            long double horizontalPixelsPerPosition, long double verticalPixelsPerPosition) {
  using enum TDIBDialMouseLinearSensitivity;
  long double steps = 0;
  if (sensitivity == mlsVertical || sensitivity == mlsBoth) steps = dy / verticalPixelsPerPosition;
  if (sensitivity == mlsHorizontal || sensitivity == mlsBoth) steps += dx / horizontalPixelsPerPosition;
  return steps;
}

int32_t DialAngleStep(int32_t fromAngle, int32_t toAngle) {
  const int32_t step = NormalizeAngle(toAngle - fromAngle);
  return step >= 180 ? step - 360 : step;
}

int32_t DialLinearPosition(int32_t startPosition, int32_t dx, int32_t dy, TDIBDialMouseLinearSensitivity sensitivity,
                           long double horizontalPixelsPerPosition, long double verticalPixelsPerPosition) {
  const long double steps =
      DialLinearSteps(dx, dy, sensitivity, horizontalPixelsPerPosition, verticalPixelsPerPosition);
  const long double target = startPosition + std::trunc(steps);
  if (!(target > std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (!(target < std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(target);
}

TRect DialPointerRect(const TDIBDialPointerGeometry& geometry, int32_t angle) {
  const int32_t normalized = NormalizeAngle(angle);
  const int64_t radius = geometry.Radius > 0 ? geometry.Radius
                                             : int64_t{std::min(geometry.ControlWidth, geometry.ControlHeight)} +
                                                   geometry.Radius - geometry.PointerHeight;
  const TPoint centre = PointOnCircle(geometry.ControlWidth / 2, geometry.ControlHeight / 2, Saturate(radius),
                                      static_cast<TAngle>(normalized));
  const int32_t frameWidth = geometry.PointerWidth / std::max(geometry.NumGlyphs, 1);
  const TBoxSize box = RotatedSize(ToPictureSide(frameWidth), ToPictureSide(geometry.PointerHeight),
                                   static_cast<TAngle>(geometry.Rotate ? normalized : 0), 100.0L, 100.0L);
  const int64_t left = int64_t{centre.X} - box.Width / 2;
  const int64_t top = int64_t{centre.Y} - box.Height / 2;
  return {Saturate(left), Saturate(top), Saturate(left + box.Width - 1), Saturate(top + box.Height - 1)};
}

TDIBDialHitZone DialHitZone(const TRect& pointerRect, int32_t x, int32_t y, const TDIBDialScale& scale,
                            int32_t position, int32_t target) {
  using enum TDIBDialHitZone;
  if (pointerRect.Left <= x && x < pointerRect.Right && pointerRect.Top <= y && y < pointerRect.Bottom) return hzDrag;
  const int64_t distance = int64_t{target} - position;
  const bool page = std::llabs(distance) > (int64_t{scale.Max} - scale.Min) / 4;
  if (distance < 0) return page ? hzPageStepDown : hzSmallStepDown;
  return page ? hzPageStepUp : hzSmallStepUp;
}

int32_t DialStep(TDIBDialHitZone zone, int32_t position, int32_t target, int32_t smallChange, int32_t pageSize) {
  using enum TDIBDialHitZone;
  switch (zone) {
    case hzSmallStepDown:
      return Saturate(std::max(int64_t{position} - smallChange, int64_t{target}));
    case hzSmallStepUp:
      return Saturate(std::min(int64_t{position} + smallChange, int64_t{target}));
    case hzPageStepDown:
      return Saturate(std::max(int64_t{position} - pageSize, int64_t{target}));
    case hzPageStepUp:
      return Saturate(std::min(int64_t{position} + pageSize, int64_t{target}));
    case hzDrag:
      break;
  }
  return position;
}

TDIBDialSize DialPreferredSize(int32_t mainWidth, int32_t mainHeight, bool hasPointer, int32_t pointerWidth,
                               int32_t pointerHeight, int32_t radius) {
  TDIBDialSize size{mainWidth, mainHeight};
  if (!hasPointer || radius <= 0) return size;
  const int64_t reach = int64_t{radius} + std::max(pointerWidth, pointerHeight) / 2;
  const int32_t needed = Saturate(std::max<int64_t>(std::min(mainWidth, mainHeight), reach));
  size.Width = std::max(size.Width, needed);
  size.Height = std::max(size.Height, needed);
  return size;
}

}  // namespace zelk
