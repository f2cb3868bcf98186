// The row routines: the stated blend arithmetic, and every fast form equal to
// the plain reference bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "dib/DIBPixels.h"
#include "dib/DIBRowRoutines.h"
#include "dib/DIBRowRoutinesFast.h"

namespace zelk::tests {
namespace {

TPixel RunOne(TRowRoutine routine, TRowParams params, TPixel source, TPixel target) {
  uint8_t sourceBytes[4], targetBytes[4];
  StorePixel(sourceBytes, source);
  StorePixel(targetBytes, target);
  ReferenceRowFunction(routine)(params, sourceBytes, targetBytes, 1);
  return LoadPixel(targetBytes);
}

TPixel Channels(uint32_t blue, uint32_t green, uint32_t red, uint32_t alpha) {
  return blue | green << 8 | red << 16 | alpha << 24;
}

// The worked examples: op 180 mixes 200 over 100 to 170 and 255 over 0 to 180;
// source alpha 200 at op 180 weighs 140, mixing 200 over 100 to 155.
TEST(RowArithmetic, WorkedExamples) {
  EXPECT_EQ(RunOne(TRowRoutine::rrBlendRowOpacity, {180, 0}, Channels(200, 255, 200, 10), Channels(100, 0, 100, 20)),
            Channels(170, 180, 170, 20));
  EXPECT_EQ(RunOne(TRowRoutine::rrBlendRowAlphaOpacity, {180, 0}, Channels(200, 200, 200, 200),
                   Channels(100, 100, 100, 0)),
            Channels(155, 155, 155, 200));
}

// Weight 255 reproduces the source, weight 0 the target, for every byte value.
TEST(RowArithmetic, ExtremeWeightsAreExact) {
  for (uint32_t value = 0; value < 256; ++value) {
    const TPixel source = Channels(value, 255 - value, value, 77);
    const TPixel target = Channels(255 - value, value, 3, 99);
    EXPECT_EQ(RunOne(TRowRoutine::rrBlendRowOpacity, {0, 0}, source, target), target);
    EXPECT_EQ(RunOne(TRowRoutine::rrBlendRowAlpha, {}, source | 0xFF000000u, target), source | 0xFF000000u);
    EXPECT_EQ(RunOne(TRowRoutine::rrBlendRowAlpha, {}, source & 0x00FFFFFFu, target), target);
  }
}

// Blends keep the larger alpha; keyed copies write alpha 0 (KeyRow) or the
// source alpha (KeyRowOpacity) and skip key-coloured pixels whatever their
// alpha.
TEST(RowArithmetic, AlphaAndKeyRules) {
  EXPECT_EQ(RunOne(TRowRoutine::rrBlendRowOpacity, {128, 0}, Channels(0, 0, 0, 30), Channels(0, 0, 0, 90)) >> 24, 90u);
  const TRowParams keyed{180, Channels(1, 2, 3, 0)};
  EXPECT_EQ(RunOne(TRowRoutine::rrKeyRow, keyed, Channels(9, 8, 7, 200), Channels(5, 5, 5, 5)), Channels(9, 8, 7, 0));
  EXPECT_EQ(RunOne(TRowRoutine::rrKeyRow, keyed, Channels(1, 2, 3, 200), Channels(5, 5, 5, 5)), Channels(5, 5, 5, 5));
  EXPECT_EQ(RunOne(TRowRoutine::rrKeyRowOpacity, {180, 0}, Channels(200, 200, 200, 33), Channels(100, 100, 100, 250)),
            Channels(170, 170, 170, 33));
  EXPECT_EQ(RunOne(TRowRoutine::rrKeyRowOpacity, {180, 0}, Channels(0, 0, 0, 33), Channels(100, 100, 100, 250)),
            Channels(100, 100, 100, 250));
}

TEST(RowArithmetic, AlphaRoutines) {
  EXPECT_EQ(RunOne(TRowRoutine::rrAlphaRow, {}, Channels(1, 2, 3, 44), Channels(5, 6, 7, 8)), Channels(5, 6, 7, 44));
  EXPECT_EQ(RunOne(TRowRoutine::rrAlphaToGreyRow, {}, Channels(1, 2, 3, 44), Channels(5, 6, 7, 8)),
            Channels(44, 44, 44, 44));
}

constexpr TRowRoutine kAllRoutines[] = {
    TRowRoutine::rrAlphaToGreyRow,  TRowRoutine::rrAlphaRow,      TRowRoutine::rrCopyRow,
    TRowRoutine::rrBlendRowOpacity, TRowRoutine::rrBlendRowAlpha, TRowRoutine::rrBlendRowAlphaOpacity,
    TRowRoutine::rrKeyRow,          TRowRoutine::rrKeyRowOpacity,
};

// Random pixels with plenty of the special values: alpha 0 and 255 and
// pixels equal to the key.
std::vector<uint8_t> RandomRow(std::mt19937& random, int32_t width, TPixel key) {
  std::vector<uint8_t> bytes(static_cast<size_t>(width) * 4);
  for (int32_t column = 0; column < width; ++column) {
    TPixel pixel = static_cast<TPixel>(random());
    switch (random() % 6) {
      case 0: pixel &= 0x00FFFFFFu; break;
      case 1: pixel |= 0xFF000000u; break;
      case 2: pixel = (pixel & 0xFF000000u) | (key & 0x00FFFFFFu); break;
      default: break;
    }
    StorePixel(bytes.data() + column * 4, pixel);
  }
  return bytes;
}

// Compares one fast form with the reference on a target that has guard
// bytes on both sides, which must stay untouched.
void ExpectSameAsReference(TRowFunction fast, TRowRoutine routine, const TRowParams& params,
                           const std::vector<uint8_t>& source, const std::vector<uint8_t>& target, int32_t width) {
  constexpr size_t kGuard = 32;
  std::vector<uint8_t> expected = target;
  ReferenceRowFunction(routine)(params, source.data(), expected.data(), width);
  std::vector<uint8_t> actual(target.size() + 2 * kGuard, 0xA5);
  std::copy(target.begin(), target.end(), actual.begin() + kGuard);
  fast(params, source.data(), actual.data() + kGuard, width);
  ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin() + kGuard))
      << "routine " << static_cast<int>(routine) << " width " << width << " opacity " << int{params.Opacity};
  for (size_t index = 0; index < kGuard; ++index) {
    ASSERT_EQ(actual[index], 0xA5);
    ASSERT_EQ(actual[actual.size() - 1 - index], 0xA5);
  }
}

std::vector<const TFastRowSet*> AvailableSets() {
  std::vector<const TFastRowSet*> sets;
  if (const TFastRowSet* set = Sse2RowSet()) sets.push_back(set);
  if (const TFastRowSet* set = Avx2RowSet()) sets.push_back(set);
  return sets;
}

// Every available fast form, and the dispatched one, over odd and even
// widths from 0 to 70 and the opacities at the edges of the range.
TEST(RowRoutinesFast, MatchReferenceBitForBit) {
  std::mt19937 random(20240601);
  const uint8_t opacities[] = {0, 1, 127, 128, 180, 254, 255};
  for (TRowRoutine routine : kAllRoutines) {
    std::vector<TRowFunction> forms = {FastRowFunction(routine)};
    for (const TFastRowSet* set : AvailableSets()) forms.push_back(set->Functions[static_cast<size_t>(routine)]);
    for (int32_t width = 0; width <= 70; ++width) {
      for (uint8_t opacity : opacities) {
        const TRowParams params{opacity, static_cast<TPixel>(random())};
        const std::vector<uint8_t> source = RandomRow(random, width, params.Key);
        const std::vector<uint8_t> target = RandomRow(random, width, params.Key);
        for (TRowFunction form : forms) ExpectSameAsReference(form, routine, params, source, target, width);
      }
    }
  }
}

// A row routine may run with source and target on the same row (a bitmap
// drawn onto itself at the same place).
TEST(RowRoutinesFast, InPlaceRowMatchesReference) {
  std::mt19937 random(7);
  for (TRowRoutine routine : kAllRoutines) {
    const TRowParams params{200, 0x123456};
    std::vector<uint8_t> expected = RandomRow(random, 37, params.Key);
    std::vector<uint8_t> actual = expected;
    ReferenceRowFunction(routine)(params, expected.data(), expected.data(), 37);
    FastRowFunction(routine)(params, actual.data(), actual.data(), 37);
    EXPECT_EQ(expected, actual) << static_cast<int>(routine);
  }
}

TEST(RowRoutinesFast, ReportsItsInstructionSet) {
  const std::string name = FastRowInstructionSet();
  EXPECT_TRUE(name == "AVX2" || name == "SSE2" || name == "scalar") << name;
}

}  // namespace
}  // namespace zelk::tests
