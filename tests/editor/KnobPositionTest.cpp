// The knob shows the parameter: whole degrees, halves to even, 359 at most.
#include <gtest/gtest.h>

#include <limits>

#include "effect/KnobPosition.h"

namespace zelk::tests {
namespace {

TEST(KnobPosition, ParameterValuesRoundToTheNearestDegreeHalvesToEven) {
  const struct {
    float Degrees;
    int32_t Position;
  } cases[] = {
      {0.0f, 0},     {0.49f, 0},    {0.5f, 0},     {0.51f, 1},    {1.5f, 2},     {2.5f, 2},
      {90.0f, 90},   {180.4f, 180}, {180.5f, 180}, {181.5f, 182}, {358.5f, 358}, {358.51f, 359},
      {359.0f, 359}, {359.5f, 359}, {360.0f, 359},
      // Outside the parameter's range, and NaN: the nearer end.
      {-0.4f, 0},    {-5.0f, 0},    {400.0f, 359}, {std::numeric_limits<float>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(KnobPositionForAngle(c.Degrees), c.Position) << c.Degrees;
}

TEST(KnobPosition, EveryKnobPositionShowsItself) {
  for (int32_t position = 0; position <= kKnobLastPosition; ++position) {
    EXPECT_EQ(KnobPositionForAngle(static_cast<float>(position)), position);
  }
}

}  // namespace
}  // namespace zelk::tests
