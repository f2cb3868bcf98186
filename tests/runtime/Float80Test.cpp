#include "runtime/Float80.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "tests/support/Float80Bytes.h"

namespace zelk::tests {
namespace {

double ToDouble(const TFloat80Bytes& bytes) { return Float80ToDouble(std::span<const uint8_t, 10>(bytes)); }
uint64_t Bits(double value) { return std::bit_cast<uint64_t>(value); }

TEST(Float80, StoresTheValuesOfTheResourcesAsTheX87Does) {
  EXPECT_EQ(DoubleToFloat80(1.0), Extended(0x8000000000000000, 0x3FFF));
  EXPECT_EQ(DoubleToFloat80(360.0), Extended(0xB400000000000000, 0x4007));
  EXPECT_EQ(DoubleToFloat80(44100.0), Extended(0xAC44000000000000, 0x400E));
  EXPECT_EQ(DoubleToFloat80(-2.5), Extended(0xA000000000000000, 0xC000));
}

TEST(Float80, EveryDoubleSurvivesTheRoundTripBitForBit) {
  std::mt19937_64 random(20240611);
  for (int i = 0; i < 100000; ++i) {
    const double value = std::bit_cast<double>(random());
    if (std::isnan(value)) continue;
    ASSERT_EQ(Bits(ToDouble(DoubleToFloat80(value))), Bits(value)) << value;
  }
  for (double value : {0.0, -0.0, std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min(),
                       std::numeric_limits<double>::min(), std::numeric_limits<double>::max(),
                       std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
    EXPECT_EQ(Bits(ToDouble(DoubleToFloat80(value))), Bits(value)) << value;
  }
}

TEST(Float80, DenormalDoublesBecomeNormalExtendedNumbers) {
  // 2^-1074 = 1.0 * 2^-1074: exponent 16383 - 1074.
  EXPECT_EQ(DoubleToFloat80(std::numeric_limits<double>::denorm_min()), Extended(0x8000000000000000, 16383 - 1074));
}

TEST(Float80, ExtraMantissaBitsRoundToNearestWithTiesToEven) {
  const uint64_t one = 0x8000000000000000;
  const double nextAfterOne = std::nextafter(1.0, 2.0);
  // The last kept bit of a double mantissa is bit 11 of the extended one.
  EXPECT_EQ(ToDouble(Extended(one | 0x3FF, 0x3FFF)), 1.0);           // below half
  EXPECT_EQ(ToDouble(Extended(one | 0x401, 0x3FFF)), nextAfterOne);  // above half
  EXPECT_EQ(ToDouble(Extended(one | 0x400, 0x3FFF)), 1.0);           // tie, even stays
  EXPECT_EQ(ToDouble(Extended(one | 0xC00, 0x3FFF)), std::nextafter(nextAfterOne, 2.0));  // tie, odd rounds up
  // A carry out of the mantissa moves to the next power of two.
  EXPECT_EQ(ToDouble(Extended(0xFFFFFFFFFFFFFFFF, 0x3FFF)), 2.0);
}

TEST(Float80, ValuesBeyondTheDoubleRangeOverflowOrUnderflow) {
  EXPECT_EQ(ToDouble(Extended(0x8000000000000000, 0x3FFF + 1024)), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ToDouble(Extended(0x8000000000000000, 0xBFFF + 1024)), -std::numeric_limits<double>::infinity());
  // The largest double's mantissa plus a rounding carry overflows too.
  EXPECT_EQ(ToDouble(Extended(0xFFFFFFFFFFFFFC00, 0x3FFF + 1023)), std::numeric_limits<double>::infinity());
  EXPECT_EQ(Bits(ToDouble(Extended(0x8000000000000000, 1))), Bits(0.0));
  EXPECT_EQ(Bits(ToDouble(Extended(0x8000000000000000, 0x8001))), Bits(-0.0));
}

TEST(Float80, SmallValuesBecomeRoundedDenormals) {
  const double tiny = std::numeric_limits<double>::denorm_min();
  EXPECT_EQ(ToDouble(Extended(0x8000000000000000, 16383 - 1074)), tiny);
  EXPECT_EQ(ToDouble(Extended(0xC000000000000000, 16383 - 1074)), 2 * tiny);  // 1.5 ulp: tie to even 2
  EXPECT_EQ(ToDouble(Extended(0x8000000000000000, 16383 - 1075)), 0.0);       // half: tie to even 0
  EXPECT_EQ(ToDouble(Extended(0x8000000000000001, 16383 - 1075)), tiny);      // just above half
  // Rounding up from the largest denormal gives the smallest normal.
  EXPECT_EQ(ToDouble(Extended(0xFFFFFFFFFFFFFFFF, 16383 - 1023)), std::numeric_limits<double>::min());
}

TEST(Float80, ExtendedDenormalsAndUnnormalsAreReadByTheirValue) {
  EXPECT_EQ(Bits(ToDouble(Extended(0x0000000000000001, 0))), Bits(0.0));
  EXPECT_EQ(ToDouble(Extended(0x4000000000000000, 0x3FFF)), 0.5);  // explicit bit clear
}

TEST(Float80, InfinitiesAndNaNsKeepTheirKind) {
  EXPECT_EQ(DoubleToFloat80(std::numeric_limits<double>::infinity()), Extended(0x8000000000000000, 0x7FFF));
  EXPECT_EQ(DoubleToFloat80(-std::numeric_limits<double>::infinity()), Extended(0x8000000000000000, 0xFFFF));
  EXPECT_EQ(DoubleToFloat80(std::numeric_limits<double>::quiet_NaN()), Extended(0xC000000000000000, 0x7FFF));
  EXPECT_TRUE(std::isnan(ToDouble(Extended(0xC000000000000000, 0x7FFF))));
  EXPECT_TRUE(std::isnan(ToDouble(Extended(0x8000000000000001, 0x7FFF))));  // a signalling NaN
  EXPECT_TRUE(std::isnan(ToDouble(Extended(0x0000000000000000, 0x7FFF))));  // a pseudo-infinity
  EXPECT_TRUE(std::isinf(ToDouble(Extended(0x8000000000000000, 0x7FFF))));
}

// Every 64-bit integer, the extremes included, fits the 64-bit mantissa.
TEST(Float80, IntegersConvertExactly) {
  const struct {
    int64_t Value;
    TFloat80Bytes Expected;
  } cases[] = {
      {0, Extended(0, 0)},
      {1, Extended(0x8000000000000000, 0x3FFF)},
      {-3, Extended(0xC000000000000000, 0xC000)},
      {(int64_t{1} << 53) + 1, Extended(0x8000000000000400, 0x4034)},
      {INT64_MAX, Extended(0xFFFFFFFFFFFFFFFE, 0x403D)},
      {INT64_MIN, Extended(0x8000000000000000, 0xC03E)},
  };
  for (const auto& test : cases) EXPECT_EQ(Int64ToFloat80(test.Value), test.Expected) << test.Value;
}

}  // namespace
}  // namespace zelk::tests
