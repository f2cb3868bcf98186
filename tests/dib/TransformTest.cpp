// Rotation and scaling: the fixed-point tables, the box size, the mapping of
// TransformInto, and the transformed draw over all angles, opacities and
// positions without a stray read or write.
#include <gtest/gtest.h>

#include <random>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBRotationTables.h"
#include "dib/DIBScratch.h"
#include "dib/DIBTransform.h"
#include "tests/dib/TestDIB.h"

namespace zelk::tests {
namespace {

TEST(RotationTables, TellingRows) {
  InitRotationTables();
  InitRotationTables();  // a second start changes nothing
  const TRotationTables& tables = RotationTables();
  struct TRow {
    int angle, sine, cosine, shiftedSine, shiftedCosine;
  };
  for (const TRow& row : {TRow{0, 0, 256, 256, 0}, TRow{30, 128, 222, 222, -128}, TRow{45, 181, 181, 181, -181},
                          TRow{90, 256, 0, 0, -256}, TRow{359, -4, 256, 256, 4}}) {
    const auto index = static_cast<size_t>(row.angle);
    EXPECT_EQ(tables.Sine[index], row.sine) << row.angle;
    EXPECT_EQ(tables.Cosine[index], row.cosine) << row.angle;
    EXPECT_EQ(tables.ShiftedSine[index], row.shiftedSine) << row.angle;
    EXPECT_EQ(tables.ShiftedCosine[index], row.shiftedCosine) << row.angle;
  }
}

// Sides are rounded up to even, and the tiny sine or cosine of a rounded
// right angle lifts an exact side above itself.
TEST(RotatedSize, PrecisionExamples) {
  EXPECT_EQ(RotatedSize(195, 222, 0, 100, 100), (TBoxSize{196, 222}));
  EXPECT_EQ(RotatedSize(195, 222, 1, 100, 100), (TBoxSize{200, 226}));
  EXPECT_EQ(RotatedSize(195, 222, 90, 100, 100), (TBoxSize{224, 196}));
  EXPECT_EQ(RotatedSize(195, 222, 180, 100, 100), (TBoxSize{196, 224}));
}

TEST(RotatedSize, DegenerateScalesGiveNoBox) {
  EXPECT_EQ(RotatedSize(10, 10, 30, 0, 100), (TBoxSize{6, 10}));
  EXPECT_EQ(RotatedSize(10, 10, 0, std::numeric_limits<long double>::infinity(), 100), (TBoxSize{}));
  EXPECT_EQ(RotatedSize(10, 10, 0, std::numeric_limits<long double>::quiet_NaN(), 100), (TBoxSize{}));
  EXPECT_EQ(RotatedSize(65535, 65535, 45, 1e30L, 1e30L), (TBoxSize{0x7FFFFFFE, 0x7FFFFFFE}));
}

// At angle 0 and scale 100 into the same even size, every pixel is copied
// except the source's column 0 and bottom memory row, whose places get the
// fill value (the key, or zero when masked).
TEST(TransformInto, AngleZeroCopiesAllButFirstColumnAndBottomRow) {
  std::mt19937 random(3);
  TTestDIBPtr source = MakeRandomDIB(6, 4, random);
  source->SetTransparentColor(0x00123456);
  TTestDIBPtr dest = MakeDIB(6, 4);
  source->TransformInto(*dest);
  const TPixel key = source->TransparentColorValue();
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 6; ++x) {
      const bool sampled = x != 0 && y != 3;
      EXPECT_EQ(dest->Pixel(x, y), sampled ? source->Pixel(x, y) : key) << x << "," << y;
    }
  }
  source->SetMasked(true);
  source->TransformInto(*dest);
  EXPECT_EQ(dest->Pixel(0, 0), 0u);
}

// A quarter turn clockwise: the source pixel in column c of row t (from the
// top) lands in column N-1-t of row c-1.
TEST(TransformInto, NinetyDegreesTurnsClockwise) {
  constexpr int32_t kSide = 8;
  std::mt19937 random(4);
  TTestDIBPtr source = MakeRandomDIB(kSide, kSide, random);
  source->SetAngle(90);
  TTestDIBPtr dest = MakeDIB(kSide, kSide);
  source->TransformInto(*dest);
  for (int32_t column = 1; column < kSide; ++column) {
    for (int32_t row = 0; row < kSide - 1; ++row) {
      EXPECT_EQ(dest->Pixel(kSide - 1 - row, column - 1), source->Pixel(column, row)) << column << "," << row;
    }
  }
}

// The transformed draw computes only the visible part of the box; it must
// equal transforming the whole box and drawing that, for every angle and
// the opacities at the edges of the range, with the target's guard bands
// intact.
TEST(TransformedDraw, VisiblePartEqualsWholeBoxForEveryAngle) {
  std::mt19937 random(11);
  TTestDIBPtr source = MakeRandomDIB(13, 10, random);
  source->SetTransparentColor(0x00000000);
  source->SetTransparentMode(TTransparentMode::tmFixed);
  const uint8_t opacities[] = {0, 1, 254, 255};
  for (int angle = 0; angle < 360; ++angle) {
    for (uint8_t opacity : opacities) {
      source->BeginUpdate();
      source->SetAngle(static_cast<TAngle>(angle));
      source->SetOpacity(opacity);
      source->SetAutoSize(angle % 2 == 0);
      source->SetTransparent(angle % 3 == 0);
      source->SetMasked(angle % 3 == 1);
      source->SetScaleY(angle % 5 == 0 ? 150 : 100);
      source->EndUpdate();
      TTestDIBPtr target = MakeRandomDIB(11, 9, random);
      target->SetClipRect({static_cast<int32_t>(random() % 3), 1, 9, static_cast<int32_t>(5 + random() % 5)});
      TTestDIBPtr expected = MakeDIB(11, 9);
      expected->CopyPixelsFrom(*target);
      expected->SetClipRect(target->ClipRect());
      const int32_t x = static_cast<int32_t>(random() % 21) - 10, y = static_cast<int32_t>(random() % 21) - 10;

      const TBoxSize box = source->AutoSize() ? RotatedSize(13, 10, source->Angle(), 100, source->ScaleY())
                                              : TBoxSize{13, 10};
      TScratchDIBPtr whole = MakeScratchDIB(static_cast<uint16_t>(box.Width), static_cast<uint16_t>(box.Height));
      source->TransformInto(*whole);
      whole->SetDrawProc(source->DrawProc());
      whole->Draw(x, y, whole->Width(), whole->Height(), *expected, 0, 0);

      source->Draw(x, y, 13, 10, *target, 0, 0);
      ASSERT_EQ(PixelsOf(*target), PixelsOf(*expected)) << "angle " << angle << " opacity " << int{opacity};
      ASSERT_TRUE(target->GuardsIntact());
    }
  }
}

// Scales from vanishing to enormous, negative ones and odd box sizes never
// reach outside either picture.
TEST(TransformedDraw, ExtremeScalesStayInside) {
  std::mt19937 random(12);
  TTestDIBPtr source = MakeRandomDIB(9, 7, random);
  const long double scales[] = {1e-12L, 0.01L, 1, 33.3L, 100, 250, 1e6L, -100, -0.5L};
  for (long double scaleX : scales) {
    for (long double scaleY : scales) {
      for (TAngle angle : {TAngle{0}, TAngle{37}, TAngle{90}, TAngle{271}}) {
        source->SetAngle(angle);
        source->SetScaleX(scaleX);
        source->SetScaleY(scaleY);
        source->SetAutoSize(angle % 2 == 1);
        TTestDIBPtr target = MakeRandomDIB(10, 10, random);
        source->Draw(-3, 2, 15, 65535, *target, 0, 0);
        source->Draw(-70000, -5, 100000, 9, *target, 0, 0);
        ASSERT_TRUE(target->GuardsIntact());
        TTestDIBPtr dest = MakeDIB(5, 11);
        source->TransformInto(*dest);
        ASSERT_TRUE(dest->GuardsIntact());
      }
    }
  }
}

// A zero scale leaves nothing to draw and TransformInto leaves the target
// as it was.
TEST(TransformedDraw, ZeroScaleDrawsNothing) {
  TTestDIBPtr source = MakeFilledDIB(4, 4, 0xFFFFFFFFu);
  source->SetScaleX(0);
  TTestDIBPtr target = MakeFilledDIB(4, 4, 0x12345678u);
  source->Draw(0, 0, 4, 4, *target, 0, 0);
  source->TransformInto(*target);
  EXPECT_EQ(PixelsOf(*target), std::vector<TPixel>(16, 0x12345678u));
}

}  // namespace
}  // namespace zelk::tests

namespace zelk::tests {
namespace {

// One-pixel pictures on either side, at every angle: a 1 x 1 source has no
// pixel strictly inside its centre, so the box is all fill.
TEST(TransformedDraw, OnePixelPictures) {
  std::mt19937 random(14);
  TTestDIBPtr dot = MakeRandomDIB(1, 1, random);
  dot->SetAutoSize(true);
  dot->SetMasked(true);
  for (int angle = 0; angle < 360; ++angle) {
    dot->SetAngle(static_cast<TAngle>(angle));
    TTestDIBPtr small = MakeFilledDIB(1, 1, 0x55555555u);
    dot->Draw(0, 0, 1, 1, *small, 0, 0);
    ASSERT_TRUE(small->GuardsIntact());
    TTestDIBPtr target = MakeRandomDIB(3, 3, random);
    const std::vector<TPixel> before = PixelsOf(*target);
    dot->Draw(0, 0, 1, 1, *target, 0, 0);
    // Masked and turned: the fill is the all-zero pixel, which blends to
    // nothing (at angle 0 the dot is drawn directly).
    if (angle != 0) ASSERT_EQ(PixelsOf(*target), before) << angle;
    TTestDIBPtr strip = MakeRandomDIB(7, 1, random);
    strip->SetAngle(static_cast<TAngle>(angle));
    strip->SetAutoSize(angle % 2 == 0);
    strip->Draw(-1, -1, 7, 1, *small, 0, 0);
    ASSERT_TRUE(small->GuardsIntact());
  }
}

}  // namespace
}  // namespace zelk::tests
