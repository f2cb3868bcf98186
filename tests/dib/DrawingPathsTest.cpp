// The other drawing paths: glyph strips with their cross-fade, nearest-
// neighbour stretching, the 3 x 3 filter and the angle helpers.
#include <gtest/gtest.h>

#include <cfenv>
#include <random>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBAngles.h"
#include "dib/DIBRounding.h"
#include "tests/dib/TestDIB.h"

namespace zelk::tests {
namespace {

// A strip of four 2 x 2 frames, frame k grey 40 * (k + 1) with alpha 10 * k.
TTestDIBPtr MakeStrip() {
  TTestDIBPtr strip = MakeDIB(8, 2);
  for (int32_t x = 0; x < 8; ++x) {
    for (int32_t y = 0; y < 2; ++y) {
      const int32_t frame = x / 2;
      strip->SetPixel(x, y, Grey(static_cast<uint8_t>(40 * (frame + 1)), static_cast<uint8_t>(10 * frame)));
    }
  }
  return strip;
}

// The lower frame laid over the upper one at opacity fade.
TPixel CrossFade(int upper, int lower, uint32_t fade) {
  const uint32_t upperGrey = 40u * (upper + 1), lowerGrey = 40u * (lower + 1);
  const uint32_t grey = (lowerGrey * fade + upperGrey * (255 - fade) + 255) >> 8;
  return Grey(static_cast<uint8_t>(grey), static_cast<uint8_t>(10 * std::max(upper, lower)));
}

TPixel DrawnGlyph(int32_t value, bool wrap, int32_t max = 359) {
  TTestDIBPtr strip = MakeStrip();
  TTestDIBPtr dest = MakeFilledDIB(2, 2, 0);
  strip->DrawGlyph(0, 0, 4, *dest, 0, max, value, wrap);
  return dest->Pixel(1, 1);
}

// Count 4 over 0..359 with wrapping: 358 fades frame 3 over frame 0 at 3,
// 359 is frame 0 alone, 100 fades frame 1 over frame 2 at 226.
TEST(DrawGlyph, FramesAndFades) {
  EXPECT_EQ(DrawnGlyph(358, true), CrossFade(0, 3, 3));
  EXPECT_EQ(DrawnGlyph(359, true), CrossFade(0, 0, 255));
  EXPECT_EQ(DrawnGlyph(100, true), CrossFade(2, 1, 226));
}

TEST(DrawGlyph, WithoutWrapValuesBeyondMaxUseTheLastFrame) {
  EXPECT_EQ(DrawnGlyph(400, false), CrossFade(3, 3, 255));
  EXPECT_EQ(DrawnGlyph(-50, false), CrossFade(0, 0, 0));
}

// Below Min the fade is taken from the distance to Trunc f, which is
// negative there: Fade = 255 - Round((f - Trunc f) x 255) exceeds 255 and is
// clamped, so the lower frame (the last one, when wrapping) covers the
// upper one completely.
TEST(DrawGlyph, BelowMinTheFadeIsClampedTo255) {
  EXPECT_EQ(DrawnGlyph(-45, true), CrossFade(0, 3, 255));  // f = -0.50..., Fade = 383
  EXPECT_EQ(DrawnGlyph(-1, true), CrossFade(0, 3, 255));   // f = -0.011..., Fade = 258
}

// No frames, an empty range or frames narrower than a pixel draw nothing.
TEST(DrawGlyph, DegenerateStripsDrawNothing) {
  TTestDIBPtr strip = MakeStrip();
  TTestDIBPtr dest = MakeFilledDIB(2, 2, 0x01010101u);
  strip->DrawGlyph(0, 0, 0, *dest, 0, 359, 10, true);
  strip->DrawGlyph(0, 0, 4, *dest, 5, 5, 5, true);
  strip->DrawGlyph(0, 0, 9, *dest, 0, 359, 10, true);
  strip->DrawGlyph(0, 0, -3, *dest, 0, 359, 10, true);
  EXPECT_EQ(PixelsOf(*dest), std::vector<TPixel>(4, 0x01010101u));
}

// The glyph is drawn with the strip's own settings: rotated and keyed.
TEST(DrawGlyph, CarriesTheStripSettings) {
  TTestDIBPtr strip = MakeStrip();
  strip->SetOpacity(128);
  TTestDIBPtr dest = MakeFilledDIB(2, 2, Grey(0, 0));
  strip->DrawGlyph(0, 0, 4, *dest, 0, 4, 1, false);  // frame 1 exactly
  EXPECT_EQ(dest->Pixel(0, 0), Grey(static_cast<uint8_t>((80 * 128 + 255) >> 8), 10));
  std::mt19937 random(9);
  for (TAngle angle = 0; angle < 360; angle += 7) {
    strip->SetAngle(angle);
    strip->SetAutoSize(true);
    TTestDIBPtr target = MakeRandomDIB(5, 5, random);
    strip->DrawGlyph(-1, -1, 4, *target, 0, 359, angle, true);
    ASSERT_TRUE(target->GuardsIntact());
  }
}

// 2 x 2 into 4 x 4 doubles every column; memory rows 0, 0, 1, 1 by the
// Ceil rule.
TEST(StretchFrom, DoublesTwoByTwo) {
  TTestDIBPtr source = MakeDIB(2, 2);
  source->SetPixel(0, 0, 1);
  source->SetPixel(1, 0, 2);
  source->SetPixel(0, 1, 3);
  source->SetPixel(1, 1, 4);
  TTestDIBPtr dest = MakeDIB(4, 4);
  dest->StretchFrom(*source);
  EXPECT_EQ(PixelsOf(*dest), (std::vector<TPixel>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

// Enlarging more than twice makes the Ceil rule point past the last source
// row; those rows repeat it instead of reading beyond the picture.
TEST(StretchFrom, LargeEnlargementsStayInside) {
  std::mt19937 random(13);
  for (uint16_t sourceSide : {1, 2, 3, 7}) {
    TTestDIBPtr source = MakeRandomDIB(sourceSide, sourceSide, random);
    for (uint16_t targetSide : {1, 4, 9, 31, 64}) {
      TTestDIBPtr dest = MakeDIB(targetSide, static_cast<uint16_t>(targetSide + 3));
      dest->StretchFrom(*source);
      ASSERT_TRUE(dest->GuardsIntact());
      EXPECT_EQ(dest->Pixel(0, dest->Height() - 1), source->Pixel(0, sourceSide - 1));
    }
  }
}

// The identity kernel keeps the inner pixels; the zero edge of the filtered
// picture covers the outermost pixels at the filter's opacity.
TEST(ApplyFilter, IdentityKernelKeepsInnerPixels) {
  std::mt19937 random(17);
  TTestDIBPtr dib = MakeRandomDIB(5, 4, random);
  const std::vector<TPixel> before = PixelsOf(*dib);
  TDIBFilter identity;
  identity.Weights[4] = 1;
  dib->ApplyFilter(identity);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      const bool edge = x == 0 || y == 0 || x == 4 || y == 3;
      EXPECT_EQ(dib->Pixel(x, y), edge ? 0u : before[static_cast<size_t>(y * 5 + x)]) << x << "," << y;
    }
  }
}

// Offsets, sums past 16 bits and clamping at 0 and 255.
TEST(ApplyFilter, SumsWrapInSixteenBitsAndClamp) {
  TTestDIBPtr dib = MakeFilledDIB(3, 3, Grey(200, 255));
  TDIBFilter filter;
  for (int16_t& weight : filter.Weights) weight = 20;  // 9 * 20 * 200 = 36000 wraps to -29536
  filter.Divisor = 1;
  filter.RedOffset = 0;
  dib->ApplyFilter(filter);
  EXPECT_EQ(dib->Pixel(1, 1), Grey(0, 255));
  TTestDIBPtr bright = MakeFilledDIB(3, 3, Grey(10, 7));
  TDIBFilter brighten;
  brighten.Weights[4] = 1;
  brighten.BlueOffset = 300;
  bright->ApplyFilter(brighten);
  EXPECT_EQ(bright->Pixel(1, 1), 0x070A0AFFu);
}

TEST(Angles, AngleBetweenRunsClockwiseFromTwelve) {
  EXPECT_EQ(AngleBetween(0, 0, 10, 0), 90);
  EXPECT_EQ(AngleBetween(0, 0, 0, 10), 180);
  EXPECT_EQ(AngleBetween(0, 0, -10, 0), 270);
  EXPECT_EQ(AngleBetween(0, 0, 0, -10), 360);
  EXPECT_EQ(AngleBetween(0, 0, 10, -10), 45);
  EXPECT_EQ(AngleBetween(5, 5, 5, 5), 0);
  EXPECT_EQ(AngleBetween(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN), 45);
}

TEST(Angles, PointOnCircle) {
  EXPECT_EQ(PointOnCircle(100, 100, 10, 0), (TPoint{100, 90}));
  EXPECT_EQ(PointOnCircle(100, 100, 10, 90), (TPoint{110, 100}));
  EXPECT_EQ(PointOnCircle(100, 100, 10, 180), (TPoint{100, 110}));
}

// Every direction round-trips through a point on a large circle.
TEST(Angles, PointsAndAnglesAgree) {
  for (int32_t angle = 0; angle < 360; ++angle) {
    const TPoint point = PointOnCircle(500, 500, 1000, static_cast<TAngle>(angle));
    EXPECT_EQ(NormalizeAngle(AngleBetween(500, 500, point.X, point.Y)), angle);
  }
}

// Halves go to the even neighbour whatever rounding mode the caller left set.
TEST(Rounding, HalvesToEvenInEveryRoundingMode) {
  const int savedMode = std::fegetround();
  for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::fesetround(mode);
    EXPECT_EQ(RoundHalfEven(2.5L), 2.0L);
    EXPECT_EQ(RoundHalfEven(3.5L), 4.0L);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2.0L);
    EXPECT_EQ(RoundHalfEven(-3.7L), -4.0L);
    EXPECT_EQ(RoundHalfEven(0.49999L), 0.0L);
  }
  std::fesetround(savedMode);
}

TEST(Angles, NormalizeAngle) {
  EXPECT_EQ(NormalizeAngle(360), 0);
  EXPECT_EQ(NormalizeAngle(-1), 359);
  EXPECT_EQ(NormalizeAngle(725), 5);
  EXPECT_EQ(NormalizeAngle(INT32_MIN), NormalizeAngle(INT32_MIN % 360 + 360));
}

}  // namespace
}  // namespace zelk::tests
