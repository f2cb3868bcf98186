// The coefficients follow theta = ((-v)/360 - 0.5) * pi in extended precision,
// and the rotation gives the worked values at 0, 90, 180, 270 and
// 360 degrees.

#include <gtest/gtest.h>

#include "RotationOracle.h"

namespace zelk::tests {
namespace {

// Rotates moderate audio with the coefficients of `degrees` through every
// available path and RotateStereo; returns the outputs of RotateStereo after
// checking that all paths agree with it.
TExpected RotateAudio(float degrees, const std::vector<float>& left, const std::vector<float>& right) {
  const TRotationCoefficients coefficients = ComputeRotationCoefficients(degrees);
  const int32_t frames = static_cast<int32_t>(left.size());
  TExpected result{std::vector<float>(left.size()), std::vector<float>(left.size())};
  RotateStereo(left.data(), right.data(), result.Left.data(), result.Right.data(), frames, coefficients);
  for (TRotationPath path : AllPaths()) {
    TExpected other{std::vector<float>(left.size()), std::vector<float>(left.size())};
    if (RotateStereoWithPath(path, left.data(), right.data(), other.Left.data(), other.Right.data(), frames,
                             coefficients)) {
      for (size_t i = 0; i < left.size(); ++i) {
        EXPECT_EQ(Bits(other.Left[i]), Bits(result.Left[i])) << PathName(path);
        EXPECT_EQ(Bits(other.Right[i]), Bits(result.Right[i])) << PathName(path);
      }
    }
  }
  return result;
}

std::vector<float> Audio(uint32_t seed, size_t frames) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> audio(-1.0f, 1.0f);
  std::vector<float> samples;
  for (size_t i = 0; i < frames; ++i) {
    float sample = audio(random);
    // Keep away from zero so that the coefficients' tiny rounding residues
    // (about 2.5e-20) cannot show.
    if (std::fabs(sample) < 1e-3f) {
      sample = 0.5f;
    }
    samples.push_back(sample);
  }
  return samples;
}

TEST(RotationWorkedValues, ZeroDegreesInvertsBothChannels) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  const TRotationCoefficients k = ComputeRotationCoefficients(0.0f);
  EXPECT_LT(std::fabs(k.CosAngle), 1e-18f);  // cos(-pi/2): the residue of pi's rounding
  EXPECT_EQ(k.SinAngle, -1.0f);
  const std::vector<float> left = Audio(1, 67);
  const std::vector<float> right = Audio(2, 67);
  const TExpected out = RotateAudio(0.0f, left, right);
  for (size_t i = 0; i < left.size(); ++i) {
    EXPECT_EQ(out.Left[i], -left[i]);
    EXPECT_EQ(out.Right[i], -right[i]);
  }
}

TEST(RotationWorkedValues, NinetyDegreesMixesWithMinusHalfRootTwo) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  const TRotationCoefficients k = ComputeRotationCoefficients(90.0f);
  EXPECT_EQ(k.CosAngle, -0.70710677f);
  EXPECT_EQ(k.SinAngle, -0.70710677f);
  const std::vector<float> left = Audio(3, 67);
  const std::vector<float> right = Audio(4, 67);
  const TExpected out = RotateAudio(90.0f, left, right);
  TDefaultFloatingPointScope scope;
  for (size_t i = 0; i < left.size(); ++i) {
    // outputs[0] = -0.7071*L + 0.7071*R, outputs[1] = -0.7071*L - 0.7071*R
    EXPECT_EQ(Bits(out.Left[i]), Bits(OracleLeft(-0.70710677f, -0.70710677f, left[i], right[i])));
    EXPECT_EQ(Bits(out.Right[i]), Bits(OracleRight(-0.70710677f, -0.70710677f, left[i], right[i])));
    EXPECT_NEAR(out.Left[i], 0.70710678 * (right[i] - left[i]), 1e-6);
    EXPECT_NEAR(out.Right[i], -0.70710678 * (left[i] + right[i]), 1e-6);
  }
}

TEST(RotationWorkedValues, OneHundredEightyDegreesExchangesTheChannelsInvertingOne) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  const TRotationCoefficients k = ComputeRotationCoefficients(180.0f);
  EXPECT_EQ(k.CosAngle, -1.0f);
  EXPECT_LT(std::fabs(k.SinAngle), 1e-18f);
  const std::vector<float> left = Audio(5, 67);
  const std::vector<float> right = Audio(6, 67);
  const TExpected out = RotateAudio(180.0f, left, right);
  for (size_t i = 0; i < left.size(); ++i) {
    EXPECT_EQ(out.Left[i], right[i]);
    EXPECT_EQ(out.Right[i], -left[i]);
  }
}

TEST(RotationWorkedValues, TwoHundredSeventyDegreesMixesWithOppositeSigns) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  const TRotationCoefficients k = ComputeRotationCoefficients(270.0f);
  EXPECT_EQ(k.CosAngle, -0.70710677f);
  EXPECT_EQ(k.SinAngle, 0.70710677f);
  const std::vector<float> left = Audio(7, 67);
  const std::vector<float> right = Audio(8, 67);
  const TExpected out = RotateAudio(270.0f, left, right);
  for (size_t i = 0; i < left.size(); ++i) {
    EXPECT_NEAR(out.Left[i], 0.70710678 * (left[i] + right[i]), 1e-6);
    EXPECT_NEAR(out.Right[i], 0.70710678 * (right[i] - left[i]), 1e-6);
  }
}

TEST(RotationWorkedValues, ThreeHundredSixtyDegreesPassesTheSignalUnchanged) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  const TRotationCoefficients k = ComputeRotationCoefficients(360.0f);
  EXPECT_LT(std::fabs(k.CosAngle), 1e-18f);
  EXPECT_EQ(k.SinAngle, 1.0f);
  const std::vector<float> left = Audio(9, 67);
  const std::vector<float> right = Audio(10, 67);
  const TExpected out = RotateAudio(360.0f, left, right);
  for (size_t i = 0; i < left.size(); ++i) {
    EXPECT_EQ(out.Left[i], left[i]);
    EXPECT_EQ(out.Right[i], right[i]);
  }
}

TEST(RotationWorkedValues, ZeroCoefficientsOfANewModuleGiveSilence) {
  const std::vector<float> left = Audio(11, 37);
  const std::vector<float> right = Audio(12, 37);
  std::vector<float> outLeft(left.size(), 1.0f);
  std::vector<float> outRight(left.size(), 1.0f);
  RotateStereo(left.data(), right.data(), outLeft.data(), outRight.data(), static_cast<int32_t>(left.size()),
               {0.0f, 0.0f});
  for (size_t i = 0; i < left.size(); ++i) {
    EXPECT_EQ(outLeft[i], 0.0f);
    EXPECT_EQ(outRight[i], 0.0f);
  }
}

// The formula, written out with the library's own rounding steps: the angle in
// long double, cos and sin from the x87 instructions, rounded to float.
TEST(RotationCoefficients, FollowTheFormulaInExtendedPrecisionFrom0To360) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  TDefaultFloatingPointScope scope;
  for (int step = 0; step <= 360 * 64; ++step) {
    const float degrees = static_cast<float>(step) / 64.0f;
    const TRotationCoefficients k = ComputeRotationCoefficients(degrees);
    const long double theta = ((-static_cast<long double>(degrees)) / 360.0L - 0.5L) * 3.14159265358979323846264338327950288L;
    long double cosine;
    long double sine;
    __asm__("fcos" : "=t"(cosine) : "0"(theta));
    __asm__("fsin" : "=t"(sine) : "0"(theta));
    ASSERT_EQ(Bits(k.CosAngle), Bits(static_cast<float>(cosine))) << degrees;
    ASSERT_EQ(Bits(k.SinAngle), Bits(static_cast<float>(sine))) << degrees;
    const double norm = static_cast<double>(k.CosAngle) * k.CosAngle + static_cast<double>(k.SinAngle) * k.SinAngle;
    ASSERT_NEAR(norm, 1.0, 1e-6) << degrees;
  }
}

// The C library's cosl and sinl (glibc reduces the argument with a longer pi
// than the x87 instructions' 66-bit one) give the same floats everywhere except
// for the residues at 0, 180 and 360 degrees, where both are below 1e-18.
TEST(RotationCoefficients, AgreeWithTheCLibraryLongDoubleFunctionsAwayFromTheResidues) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  TDefaultFloatingPointScope scope;
  for (int step = 0; step <= 3600; ++step) {
    // volatile: a 32-bit x87 build would otherwise keep excess precision.
    const volatile float degrees = static_cast<float>(step) / 10.0f;
    const long double theta = ((-static_cast<long double>(degrees)) / 360.0L - 0.5L) * 3.14159265358979323846264338327950288L;
    const TRotationCoefficients k = ComputeRotationCoefficients(degrees);
    const float cosine = static_cast<float>(cosl(theta));
    const float sine = static_cast<float>(sinl(theta));
    if (std::fabs(cosine) < 1e-18f) {
      EXPECT_LT(std::fabs(k.CosAngle), 1e-18f) << degrees;
    } else {
      EXPECT_EQ(Bits(k.CosAngle), Bits(cosine)) << degrees;
    }
    if (std::fabs(sine) < 1e-18f) {
      EXPECT_LT(std::fabs(k.SinAngle), 1e-18f) << degrees;
    } else {
      EXPECT_EQ(Bits(k.SinAngle), Bits(sine)) << degrees;
    }
  }
}

TEST(RotationCoefficients, AnglesBeyondTheTrigonometricRangeGiveZero) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  const float infinity = std::numeric_limits<float>::infinity();
  // |theta| >= 2^63: v >= about 2.1e21 degrees, and the infinities.
  for (float degrees : {infinity, -infinity, 3e21f, -3e21f, FLT_MAX, -FLT_MAX}) {
    const TRotationCoefficients k = ComputeRotationCoefficients(degrees);
    EXPECT_EQ(Bits(k.CosAngle), 0u) << degrees;
    EXPECT_EQ(Bits(k.SinAngle), 0u) << degrees;
  }
  // Just inside the range the instructions still answer.
  const TRotationCoefficients inside = ComputeRotationCoefficients(1e21f);
  EXPECT_LE(std::fabs(inside.CosAngle), 1.0f);
  EXPECT_NEAR(static_cast<double>(inside.CosAngle) * inside.CosAngle +
                  static_cast<double>(inside.SinAngle) * inside.SinAngle,
              1.0, 1e-6);
}

TEST(RotationCoefficients, ANaNAngleGivesNaNCoefficients) {
  const TRotationCoefficients k = ComputeRotationCoefficients(std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(std::isnan(k.CosAngle));
  EXPECT_TRUE(std::isnan(k.SinAngle));
}

}  // namespace
}  // namespace zelk::tests
