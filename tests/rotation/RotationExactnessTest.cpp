// Every path of the stereo rotation gives, bit for bit, the sum formed in x87
// extended precision and rounded to float32: over random signals at many
// angles, sums constructed on and next to float rounding midpoints (normal
// range, denormal grid, overflow threshold), and special values; with separate
// buffers, in place and crossed.

#include <gtest/gtest.h>

#include <cstdio>

#include "RotationOracle.h"

namespace zelk::tests {
namespace {

enum class TLayout { lySeparate, lyInPlace, lyCrossed };

const char* LayoutName(TLayout layout) {
  switch (layout) {
    case TLayout::lySeparate:
      return "separate";
    case TLayout::lyInPlace:
      return "in place";
    case TLayout::lyCrossed:
      return "crossed";
  }
  return "?";
}

TExpected Run(TRotationPath path, const TBlock& block, TLayout layout) {
  const int32_t frames = static_cast<int32_t>(block.Left.size());
  TExpected out;
  switch (layout) {
    case TLayout::lySeparate: {
      out.Left.assign(block.Left.size(), FromBits(0x7FBADBAD));
      out.Right.assign(block.Left.size(), FromBits(0x7FBADBAD));
      EXPECT_TRUE(RotateStereoWithPath(path, block.Left.data(), block.Right.data(), out.Left.data(), out.Right.data(),
                                       frames, block.Coefficients));
      break;
    }
    case TLayout::lyInPlace: {
      out.Left = block.Left;
      out.Right = block.Right;
      EXPECT_TRUE(RotateStereoWithPath(path, out.Left.data(), out.Right.data(), out.Left.data(), out.Right.data(),
                                       frames, block.Coefficients));
      break;
    }
    case TLayout::lyCrossed: {
      // The left input lives in the buffer that receives the right output, and
      // the other way round.
      std::vector<float> first = block.Left;    // in left, out right
      std::vector<float> second = block.Right;  // in right, out left
      EXPECT_TRUE(RotateStereoWithPath(path, first.data(), second.data(), second.data(), first.data(), frames,
                                       block.Coefficients));
      out.Left = second;
      out.Right = first;
      break;
    }
  }
  return out;
}

// Counts outputs whose bits differ from the expected bits; describes the first few.
size_t CountDifferences(const TBlock& block, const TExpected& expected, const TExpected& actual,
                        std::string& report) {
  size_t differences = 0;
  for (size_t i = 0; i < block.Left.size(); ++i) {
    for (int channel = 0; channel < 2; ++channel) {
      const float want = channel == 0 ? expected.Left[i] : expected.Right[i];
      const float got = channel == 0 ? actual.Left[i] : actual.Right[i];
      if (Bits(want) == Bits(got)) {
        continue;
      }
      if (++differences <= 5) {
        char line[256];
        std::snprintf(line, sizeof line,
                      "  %s frame %zu %s: in L=%08X R=%08X c=%08X s=%08X want %08X (%a) got %08X (%a)\n",
                      block.Name.c_str(), i, channel == 0 ? "left" : "right", Bits(block.Left[i]),
                      Bits(block.Right[i]), Bits(block.Coefficients.CosAngle), Bits(block.Coefficients.SinAngle),
                      Bits(want), static_cast<double>(want), Bits(got), static_cast<double>(got));
        report += line;
      }
    }
  }
  return differences;
}

void ExpectExact(TRotationPath path, const std::vector<TBlock>& blocks) {
  ZELK_REQUIRE_ROTATION_PATH(path);
  size_t frames = 0;
  for (TLayout layout : {TLayout::lySeparate, TLayout::lyInPlace, TLayout::lyCrossed}) {
    size_t differences = 0;
    std::string report;
    for (const TBlock& block : blocks) {
      const TExpected expected = Expect(block);
      differences += CountDifferences(block, expected, Run(path, block, layout), report);
      frames += block.Left.size();
    }
    EXPECT_EQ(differences, 0u) << PathName(path) << ", " << LayoutName(layout) << ":\n" << report;
  }
  EXPECT_GT(frames, 0u);
}

class RotationExactness : public ::testing::TestWithParam<TRotationPath> {};

TEST_P(RotationExactness, RandomSignalsAtQuarterDegreeStepsMatchTheReference) {
  ExpectExact(GetParam(), RandomBlocks(1, 0.25f));
}

TEST_P(RotationExactness, SumsOnAndBesideFloatMidpointsMatchTheReference) {
  ExpectExact(GetParam(), MidpointBlocks(2));
}

TEST_P(RotationExactness, SumsOnTheDenormalGridMatchTheReference) {
  ExpectExact(GetParam(), DenormalBlocks(3));
}

TEST_P(RotationExactness, SumsAtTheOverflowThresholdMatchTheReference) {
  ExpectExact(GetParam(), {OverflowBlock()});
}

TEST_P(RotationExactness, SpecialValuesMatchTheReferenceBitForBitNaNsIncluded) {
  ExpectExact(GetParam(), SpecialBlocks());
}

INSTANTIATE_TEST_SUITE_P(EveryPath, RotationExactness, ::testing::ValuesIn(AllPaths()),
                         [](const ::testing::TestParamInfo<TRotationPath>& info) {
                           return std::string(PathName(info.param));
                         });

// RotateStereo itself, whatever path it chose, over a mixed corpus.
TEST(RotationDispatch, RotateStereoMatchesTheReference) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  std::vector<TBlock> blocks = MidpointBlocks(4);
  for (TBlock& block : DenormalBlocks(5)) {
    blocks.push_back(std::move(block));
  }
  for (TBlock& block : SpecialBlocks()) {
    blocks.push_back(std::move(block));
  }
  for (TBlock& block : RandomBlocks(6, 10.0f)) {
    blocks.push_back(std::move(block));
  }
  size_t differences = 0;
  std::string report;
  for (const TBlock& block : blocks) {
    TExpected actual;
    actual.Left.resize(block.Left.size());
    actual.Right.resize(block.Left.size());
    RotateStereo(block.Left.data(), block.Right.data(), actual.Left.data(), actual.Right.data(),
                 static_cast<int32_t>(block.Left.size()), block.Coefficients);
    differences += CountDifferences(block, Expect(block), actual, report);
  }
  EXPECT_EQ(differences, 0u) << PathName(SelectedRotationPath()) << ":\n" << report;
}

// The corpus has teeth: the forms the kernel must not use do differ from the
// reference on it, and the constructions land where they are meant to.
TEST(RotationCorpus, ConstructedMidpointsSeparateTheDoubleFormFromTheReference) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  size_t frames = 0;
  size_t doubleFormDifferences = 0;
  size_t doubleSumsOnAMidpoint = 0;
  for (const TBlock& block : MidpointBlocks(2)) {
    const TExpected expected = Expect(block);
    const float c = block.Coefficients.CosAngle;
    const float s = block.Coefficients.SinAngle;
    for (size_t i = 0; i < block.Left.size(); ++i, ++frames) {
      TDefaultFloatingPointScope scope;
      if (Bits(DoubleFormRight(c, s, block.Left[i], block.Right[i])) != Bits(expected.Right[i])) {
        ++doubleFormDifferences;
      }
      const double sum = DoubleSumRight(c, s, block.Left[i], block.Right[i]);
      if (IsNormalFloatMidpoint(sum)) {
        ++doubleSumsOnAMidpoint;
      }
    }
  }
  std::printf("constructed frames %zu, double sums on a midpoint %zu, double form off by one ulp %zu\n", frames,
              doubleSumsOnAMidpoint, doubleFormDifferences);
  EXPECT_GT(doubleSumsOnAMidpoint, frames / 20);
  EXPECT_GT(doubleFormDifferences, frames / 200);
}

TEST(RotationCorpus, NearCancellationSeparatesTheFloatFormFromTheReference) {
  size_t floatFormDifferences = 0;
  for (const TBlock& block : RandomBlocks(1, 5.0f)) {
    const TExpected expected = Expect(block);
    for (size_t i = 0; i < block.Left.size(); ++i) {
      TDefaultFloatingPointScope scope;
      const float value =
          FloatFormRight(block.Coefficients.CosAngle, block.Coefficients.SinAngle, block.Left[i], block.Right[i]);
      if (Bits(value) != Bits(expected.Right[i])) {
        ++floatFormDifferences;
      }
    }
  }
  EXPECT_GT(floatFormDifferences, 100u);
}

// The oracle rounds twice, as defined: for right = 0.75*a + 0.5*b with 0.75*a
// exactly a float midpoint m and 0.5*b = Y exactly, the 64-bit sum is m when
// |Y| <= half a 64-bit ulp of m (then ties go to the even float), and otherwise
// lies on Y's side of m.
TEST(RotationCorpus, TheOracleRoundsTheSumTo64BitsThenToFloat) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  size_t checked = 0;
  for (const TBlock& block : MidpointBlocks(6)) {
    if (block.Coefficients.CosAngle != 0.75f || block.Coefficients.SinAngle != 0.5f) {
      continue;
    }
    for (size_t i = 0; i < block.Left.size(); ++i) {
      const double midpoint = 0.75 * block.Left[i];
      const double perturbation = 0.5 * block.Right[i];
      if (!IsNormalFloatMidpoint(midpoint) || std::fabs(midpoint) > 1e37) {
        continue;
      }
      int exponent;
      std::frexp(midpoint, &exponent);
      const double halfSpacing = std::ldexp(1.0, exponent - 25);
      const double halfUlp64 = std::ldexp(1.0, exponent - 65);
      const float below = static_cast<float>(midpoint - halfSpacing);
      const float above = static_cast<float>(midpoint + halfSpacing);
      float want;
      if (std::fabs(perturbation) <= halfUlp64) {
        want = (Bits(below) & 1) == 0 ? below : above;
      } else {
        want = perturbation > 0 ? above : below;
      }
      TDefaultFloatingPointScope scope;
      const float got = OracleRight(0.75f, 0.5f, block.Left[i], block.Right[i]);
      EXPECT_EQ(Bits(got), Bits(want)) << "a=" << block.Left[i] << " b=" << block.Right[i];
      ++checked;
    }
  }
  EXPECT_GT(checked, 100u);
}

}  // namespace
}  // namespace zelk::tests
