// Draw on the direct path: clipping at every edge against a per-pixel model,
// keyed and masked drawing, the temporary variants and the bitmaps without
// pixel memory.
#include <gtest/gtest.h>

#include <random>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBPixels.h"
#include "tests/dib/TestDIB.h"
#include "tests/support/ChangeCounter.h"

namespace zelk::tests {
namespace {

// What a copy of (srcX, srcY, width, height) to (x, y) must leave in each
// target pixel: the source pixel where the target pixel lies in the clip
// rectangle, in the requested region and over the source picture.
std::vector<TPixel> ModelCopy(const TAbstractSuperDIB& source, const TAbstractSuperDIB& target, int32_t x, int32_t y,
                              int32_t width, int32_t height, int32_t srcX, int32_t srcY) {
  std::vector<TPixel> expected = PixelsOf(target);
  const TRect& clip = target.ClipRect();
  for (int32_t ty = 0; ty < target.Height(); ++ty) {
    for (int32_t tx = 0; tx < target.Width(); ++tx) {
      const int64_t offsetX = int64_t{tx} - x, offsetY = int64_t{ty} - y;
      const int64_t sx = srcX + offsetX, sy = srcY + offsetY;
      const bool inClip = tx >= clip.Left && tx <= clip.Right && ty >= clip.Top && ty <= clip.Bottom;
      const bool inRequest = offsetX >= 0 && offsetX < width && offsetY >= 0 && offsetY < height;
      const bool inSource = sx < source.Width() && sy < source.Height();
      if (inClip && inRequest && inSource) {
        expected[static_cast<size_t>(ty * target.Width() + tx)] =
            source.Pixel(static_cast<int32_t>(sx), static_cast<int32_t>(sy));
      }
    }
  }
  return expected;
}

// Positions on and around every edge, every clip rectangle corner case,
// regions larger and smaller than the source: the copy equals the model
// and no byte outside the target changes.
TEST(DrawClipping, MatchesThePerPixelModelAroundEveryEdge) {
  std::mt19937 random(42);
  TTestDIBPtr source = MakeRandomDIB(7, 5, random);
  for (int trial = 0; trial < 4000; ++trial) {
    TTestDIBPtr target = MakeRandomDIB(static_cast<uint16_t>(1 + random() % 9), static_cast<uint16_t>(1 + random() % 9),
                                       random);
    const int32_t clipLeft = static_cast<int32_t>(random() % 12) - 2, clipTop = static_cast<int32_t>(random() % 12) - 2;
    target->SetClipRect({clipLeft, clipTop, clipLeft + static_cast<int32_t>(random() % 12) - 3,
                         clipTop + static_cast<int32_t>(random() % 12) - 3});
    const int32_t x = static_cast<int32_t>(random() % 25) - 12, y = static_cast<int32_t>(random() % 25) - 12;
    const int32_t width = static_cast<int32_t>(random() % 12) - 2, height = static_cast<int32_t>(random() % 12) - 2;
    const auto srcX = static_cast<uint16_t>(random() % 9), srcY = static_cast<uint16_t>(random() % 7);
    const std::vector<TPixel> expected = ModelCopy(*source, *target, x, y, width, height, srcX, srcY);
    source->Draw(x, y, width, height, *target, srcX, srcY);
    ASSERT_EQ(PixelsOf(*target), expected) << "trial " << trial;
    ASSERT_TRUE(target->GuardsIntact());
  }
}

// Source columns 5..9 land at target columns 0..4 when drawn at x = -5.
TEST(DrawClipping, NegativeXSkipsTheLeftColumns) {
  TTestDIBPtr source = MakeDIB(10, 10);
  for (int32_t x = 0; x < 10; ++x) {
    for (int32_t y = 0; y < 10; ++y) source->SetPixel(x, y, static_cast<TPixel>(x));
  }
  TTestDIBPtr target = MakeFilledDIB(10, 10, 0xEEEEEEEEu);
  source->Draw(-5, 0, 10, 10, *target, 0, 0);
  for (int32_t x = 0; x < 10; ++x) EXPECT_EQ(target->Pixel(x, 3), x < 5 ? static_cast<TPixel>(x + 5) : 0xEEEEEEEEu);
}

TEST(DrawClipping, NothingLeftFiresNothing) {
  TTestDIBPtr source = MakeDIB(4, 4);
  TTestDIBPtr target = MakeDIB(8, 8);
  TChangeCounter counter;
  target->OnChange = counter.Event();
  source->Draw(8, 0, 4, 4, *target, 0, 0);
  source->Draw(0, -4, 4, 4, *target, 0, 0);
  source->Draw(0, 0, 4, 4, *target, 4, 0);
  EXPECT_EQ(counter.Count, 0);
  source->Draw(7, 7, 4, 4, *target, 0, 0);
  EXPECT_EQ(counter.Count, 1);
}

// Extreme coordinates neither wrap around nor reach outside the pictures.
TEST(DrawClipping, ExtremeCoordinatesStayInside) {
  std::mt19937 random(5);
  TTestDIBPtr source = MakeRandomDIB(6, 6, random);
  TTestDIBPtr target = MakeRandomDIB(6, 6, random);
  const std::vector<TPixel> before = PixelsOf(*target);
  const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -65536, 65535, INT32_MAX - 1, INT32_MAX};
  for (int32_t x : extremes) {
    for (int32_t size : extremes) {
      source->Draw(x, 0, size, size, *target, 0, 0);
      source->Draw(0, x, size, 3, *target, 65535, 0);
    }
  }
  EXPECT_EQ(PixelsOf(*target), before);
  EXPECT_TRUE(target->GuardsIntact());
}

// A transparent bitmap keyed on black at opacity 180 over grey 100: black
// leaves the target, grey 200 gives grey 170 with the source's alpha.
TEST(DrawKeyed, KeyedDrawAtOpacity) {
  TTestDIBPtr source = MakeDIB(2, 1);
  source->SetPixel(0, 0, Grey(0, 99));
  source->SetPixel(1, 0, Grey(200, 33));
  source->SetTransparent(true);
  source->SetTransparentMode(TTransparentMode::tmFixed);
  source->SetOpacity(180);
  TTestDIBPtr target = MakeFilledDIB(2, 1, Grey(100, 250));
  source->Draw(0, 0, 2, 1, *target, 0, 0);
  EXPECT_EQ(target->Pixel(0, 0), Grey(100, 250));
  EXPECT_EQ(target->Pixel(1, 0), Grey(170, 33));
}

// KeyRow writes alpha 0 into every pixel it copies.
TEST(DrawKeyed, OpaqueKeyedCopyClearsAlpha) {
  TTestDIBPtr source = MakeFilledDIB(1, 1, 0xFF010203u);
  source->SetTransparent(true);
  TTestDIBPtr target = MakeFilledDIB(1, 1, 0xFFFFFFFFu);
  source->Draw(0, 0, 1, 1, *target, 0, 0);
  EXPECT_EQ(target->Pixel(0, 0), 0x00010203u);
}

TEST(DrawMasked, MaskedDrawBlendsBySourceAlpha) {
  TTestDIBPtr source = MakeFilledDIB(1, 1, Grey(200, 128));
  source->SetMasked(true);
  TTestDIBPtr target = MakeFilledDIB(1, 1, Grey(100, 10));
  source->Draw(0, 0, 1, 1, *target, 0, 0);
  EXPECT_EQ(target->Pixel(0, 0), Grey((200 * 128 + 100 * 127 + 255) >> 8, 128));
}

// DrawRaw copies regardless of the settings and puts them back afterwards.
TEST(DrawVariants, DrawRawIgnoresAndRestoresSettings) {
  TTestDIBPtr source = MakeFilledDIB(2, 2, 0x80445566u);
  source->SetOpacity(3);
  source->SetAngle(45);
  source->SetScaleX(50);
  const TDrawProc before = source->DrawProc();
  TTestDIBPtr target = MakeFilledDIB(2, 2, 0);
  source->DrawRaw(0, 0, 2, 2, *target, 0, 0);
  EXPECT_EQ(PixelsOf(*target), std::vector<TPixel>(4, 0x80445566u));
  EXPECT_EQ(source->DrawProc(), before);
  EXPECT_EQ(source->Angle(), 45);
  EXPECT_EQ(source->ScaleX(), 50.0L);
}

TEST(DrawVariants, MaskVariantsCopyAlphaOnly) {
  TTestDIBPtr source = MakeFilledDIB(1, 1, 0x7F010203u);
  TTestDIBPtr target = MakeFilledDIB(1, 1, 0x11223344u);
  source->DrawMask(0, 0, 1, 1, *target, 0, 0);
  EXPECT_EQ(target->Pixel(0, 0), 0x7F223344u);
  source->DrawMaskAsImage(0, 0, 1, 1, *target, 0, 0);
  EXPECT_EQ(target->Pixel(0, 0), 0x7F7F7F7Fu);
}

// Without pixel memory on either side nothing is drawn and nothing fails.
TEST(DrawWithoutPixels, DrawsNothing) {
  TTestDIBPtr empty(New<TTestDIB>());
  TTestDIBPtr target = MakeFilledDIB(3, 3, 0x01020304u);
  TChangeCounter counter;
  target->OnChange = counter.Event();
  empty->Draw(0, 0, 3, 3, *target, 0, 0);
  empty->SetAngle(30);
  empty->SetAutoSize(true);
  empty->Draw(0, 0, 3, 3, *target, 0, 0);
  empty->DrawGlyph(0, 0, 1, *target, 0, 10, 5, true);
  target->Draw(0, 0, 3, 3, *empty, 0, 0);
  EXPECT_EQ(counter.Count, 0);
  EXPECT_EQ(PixelsOf(*target), std::vector<TPixel>(9, 0x01020304u));
}

}  // namespace
}  // namespace zelk::tests
