#include "dib/DIBRotationTables.h"

#include <cmath>

#include "dib/DIBRounding.h"

namespace zelk {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

int32_t Fixed256(long double value) { return static_cast<int32_t>(RoundHalfEven(value * 256.0L)); }

TRotationTables BuildTables() {
  TRotationTables tables;
  for (int angle = 0; angle < 360; ++angle) {
    const long double radians = angle * kPi / 180.0L;
    const auto index = static_cast<size_t>(angle);
    tables.Sine[index] = Fixed256(std::sin(radians));
    tables.Cosine[index] = Fixed256(std::cos(radians));
    tables.ShiftedSine[index] = Fixed256(std::sin(radians + kPi / 2.0L));
    tables.ShiftedCosine[index] = Fixed256(std::cos(radians + kPi / 2.0L));
  }
  return tables;
}

}  // namespace

// A function-local static is built exactly once, on the first call, whether
// that is the library start or an early draw.
const TRotationTables& RotationTables() {
  static const TRotationTables tables = BuildTables();
  return tables;
}

void InitRotationTables() { (void)RotationTables(); }

}  // namespace zelk
