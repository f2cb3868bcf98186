#include "dib/DIBAngles.h"

#include <cmath>
#include <cstdlib>

#include "dib/DIBRounding.h"

namespace zelk {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

int32_t RoundToInt32(long double value) {
  const int64_t rounded = RoundToInt64(value);
  if (rounded > INT32_MAX) return INT32_MAX;
  if (rounded < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(rounded);
}

}  // namespace

TPoint PointOnCircle(int32_t centerX, int32_t centerY, int32_t radius, TAngle angle) {
  const long double radians = (static_cast<long double>(angle) - 90.0L) * kPi / 180.0L;
  return {RoundToInt32(centerX + radius * std::cos(radians)), RoundToInt32(centerY + radius * std::sin(radians))};
}

int32_t AngleBetween(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int64_t dx = int64_t{x2} - x1;
  const int64_t dy = int64_t{y1} - y2;  // positive when point 2 is above
  if (dx == 0 && dy == 0) return 0;
  int64_t fromVertical = 90;
  if (dy != 0) {
    const long double degrees =
        std::atan(static_cast<long double>(dx) / static_cast<long double>(dy)) * 180.0L / kPi;
    fromVertical = RoundToInt64(degrees);
  }
  const auto turn = static_cast<int32_t>(std::llabs(fromVertical));
  if (x2 >= x1 && y2 >= y1) return 180 - turn;
  if (x2 <= x1 && y2 >= y1) return 180 + turn;
  if (x2 <= x1 && y2 <= y1) return 360 - turn;
  return static_cast<int32_t>(fromVertical);
}

int32_t NormalizeAngle(int32_t angle) {
  const int32_t reduced = angle % 360;
  return reduced < 0 ? reduced + 360 : reduced;
}

}  // namespace zelk
