#include <gtest/gtest.h>

#include <climits>

#include "controls/DIBDialGeometry.h"
#include "dib/DIBAngles.h"

namespace zelk::tests {
namespace {

constexpr TDIBDialScale kPercentScale{0, 100, 0, 360};
constexpr TDIBDialScale kProductScale{0, 359, 0, 359};

struct AngleCase {
  TDIBDialScale Scale;
  int32_t Position;
  int32_t Angle;
};

TEST(DialPointerAngle, MinPointsToStartAndMaxToStartPlusRange) {
  const AngleCase cases[] = {
      {kPercentScale, 25, 90},          {kPercentScale, 100, 0},        {kPercentScale, 0, 0},
      {kProductScale, 180, 179},        {kProductScale, 359, 359},      {kProductScale, 0, 0},
      {{0, 100, 225, 270}, 0, 225},     {{0, 100, 225, 270}, 100, 135}, {{0, 100, 225, 270}, 50, 0},
      {{-50, 50, 90, 180}, -50, 90},    {{-50, 50, 90, 180}, 50, 270},  {{20, 120, 0, 1}, 120, 1},
  };
  for (const AngleCase& c : cases) {
    EXPECT_EQ(DialPointerAngle(c.Scale, c.Position), c.Angle)
        << c.Scale.Min << ".." << c.Scale.Max << " start " << c.Scale.Start << " position " << c.Position;
  }
}

TEST(DialPointerAngle, ScaleWithoutSpanOrExtremeBoundsNeverFails) {
  EXPECT_EQ(DialPointerAngle({0, 0, 30, 360}, 0), 30);
  EXPECT_EQ(DialPointerAngle({INT32_MIN, INT32_MAX, 0, 360}, INT32_MAX), 0);
  EXPECT_EQ(DialPointerAngle({INT32_MIN, INT32_MAX, 0, 360}, 0), 180);
}

// The position under a point seen from a centre at (100, 100).
int32_t PositionAt(const TDIBDialScale& scale, int32_t x, int32_t y) {
  return DialCircularPosition(scale, AngleBetween(100, 100, x, y));
}

TEST(DialCircularPosition, DirectionsMapOntoTheSweptArc) {
  struct Case {
    TDIBDialScale Scale;
    int32_t X, Y;
    int32_t Position;
  };
  const Case cases[] = {
      {kProductScale, 100000, 100, 90},    // straight right
      {kProductScale, 100, -100000, 0},    // straight above
      {kProductScale, 100, 100000, 180},   // straight below: 180 * 360 div 359
      {kProductScale, -100000, 101, 270},  // just below level on the left
      {{20, 120, 0, 360}, 100, 300, 70},   // 20 + 180 * 101 div 360
      {{0, 100, 225, 270}, 100, 300, 100}, // below lies outside the arc: Max
      {{0, 100, 225, 270}, 0, 200, 0},     // 225 degrees is Start: Min
      {kPercentScale, 100, 100, 0},        // the centre itself
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PositionAt(c.Scale, c.X, c.Y), c.Position) << c.X << "," << c.Y;
  }
}

TEST(DialLinearPosition, MovementIsSummedThenTruncatedOnce) {
  using enum TDIBDialMouseLinearSensitivity;
  struct Case {
    int32_t Dx, Dy;
    TDIBDialMouseLinearSensitivity Sensitivity;
    long double Horizontal, Vertical;
    int32_t Position;
  };
  const Case cases[] = {
      {3, 4, mlsBoth, 2.0L, 2.0L, 13},        // 1.5 + 2.0 = 3.5
      {3, 4, mlsVertical, 2.0L, 2.0L, 12},    // horizontal ignored
      {3, 4, mlsHorizontal, 2.0L, 2.0L, 11},  // vertical ignored
      {-3, -4, mlsBoth, 2.0L, 2.0L, 7},       // -3.5 truncates toward zero
      {1, 1, mlsBoth, 2.0L, 2.0L, 11},        // 0.5 + 0.5 = 1, not 0 + 0
      {0, 500, mlsVertical, 1.0L, 0.5L, 1010},
      {400, 0, mlsBoth, 1.0L, 1.0L, 410},     // not clamped here
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialLinearPosition(10, c.Dx, c.Dy, c.Sensitivity, c.Horizontal, c.Vertical), c.Position)
        << c.Dx << "," << c.Dy;
  }
  EXPECT_EQ(DialLinearPosition(INT32_MAX, 0, 100, mlsBoth, 1.0L, 1.0L), INT32_MAX);
  EXPECT_EQ(DialLinearPosition(INT32_MIN, 0, -100, mlsBoth, 1.0L, 1.0L), INT32_MIN);
}

TEST(DialPointerRect, CentredAtTheRadiusWithAnEvenRotatedBox) {
  // The product's knob: 245 x 269 control, 195 x 222 cap, radius 10.
  const TDIBDialPointerGeometry product{245, 269, 195, 222, 1, 10, true};
  EXPECT_EQ(DialPointerRect(product, 0), (TRect{24, 13, 219, 234}));
  EXPECT_EQ(DialPointerRect(product, 180), (TRect{24, 32, 219, 255}));
  EXPECT_EQ(DialPointerRect(product, 90), (TRect{20, 36, 243, 231}));

  // A strip of four 10 x 10 frames on a 100 x 100 dial, derived radius
  // 100 - 20 - 10 = 70, unrotated.
  const TDIBDialPointerGeometry strip{100, 100, 40, 10, 4, -20, false};
  EXPECT_EQ(DialPointerRect(strip, 90), (TRect{115, 45, 124, 54}));
  EXPECT_EQ(DialPointerRect(strip, 450), (TRect{115, 45, 124, 54}));
}

TEST(DialHitZone, PressesOnThePointerDragAndOthersStepByDistance) {
  using enum TDIBDialHitZone;
  const TRect pointer{40, 10, 60, 30};
  struct Case {
    int32_t X, Y, Target;
    TDIBDialHitZone Zone;
  };
  // Position 50 on 0..100: the page threshold is 25.
  const Case cases[] = {
      {40, 10, 99, hzDrag},          {59, 29, 99, hzDrag},
      {60, 20, 70, hzSmallStepUp},   {50, 30, 70, hzSmallStepUp},  // right and bottom edges excluded
      {0, 0, 75, hzSmallStepUp},     {0, 0, 76, hzPageStepUp},     {0, 0, 50, hzSmallStepUp},
      {0, 0, 25, hzSmallStepDown},   {0, 0, 24, hzPageStepDown},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialHitZone(pointer, c.X, c.Y, kPercentScale, 50, c.Target), c.Zone) << c.X << "," << c.Y << " " << c.Target;
  }
}

TEST(DialStep, StepsNeverPassThePressedPosition) {
  using enum TDIBDialHitZone;
  struct Case {
    TDIBDialHitZone Zone;
    int32_t Target, Result;
  };
  // Position 50, SmallChange 1, PageSize 20.
  const Case cases[] = {
      {hzSmallStepUp, 70, 51},   {hzPageStepUp, 80, 70},     {hzPageStepUp, 62, 62},
      {hzSmallStepDown, 30, 49}, {hzPageStepDown, 20, 30},   {hzPageStepDown, 45, 45},
      {hzSmallStepUp, 50, 50},   {hzDrag, 90, 50},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialStep(c.Zone, 50, c.Target, 1, 20), c.Result) << static_cast<int>(c.Zone) << " " << c.Target;
  }
  EXPECT_EQ(DialStep(hzPageStepUp, INT32_MAX - 1, INT32_MAX, 0, INT32_MAX), INT32_MAX);
}

TEST(DialPreferredSize, GrowsOnlyForAPointerOutsideTheMainPicture) {
  EXPECT_EQ(DialPreferredSize(390, 444, true, 195, 222, 10), (TDIBDialSize{390, 444}));
  EXPECT_EQ(DialPreferredSize(390, 444, false, 0, 0, 10), (TDIBDialSize{390, 444}));
  EXPECT_EQ(DialPreferredSize(100, 60, true, 40, 30, 50), (TDIBDialSize{100, 70}));
  EXPECT_EQ(DialPreferredSize(100, 60, true, 40, 30, -1), (TDIBDialSize{100, 60}));
  EXPECT_EQ(DialPreferredSize(10, 20, true, 40, 30, 50), (TDIBDialSize{70, 70}));
}

}  // namespace
}  // namespace zelk::tests
