#include <gtest/gtest.h>

#include <clocale>
#include <limits>

#include "framework/ParameterText.h"
#include "runtime/DecimalSeparator.h"

namespace zelk::tests {
namespace {

// The texts follow the system's separator; these tests fix it to '.' unless
// they are about the separator itself.
class TPointSeparator : public ::testing::Environment {
 public:
  void SetUp() override { SetDecimalSeparator('.'); }
};
const auto* const pointSeparator = ::testing::AddGlobalTestEnvironment(new TPointSeparator);

TEST(ParameterDisplayText, UsesTheSystemsDecimalSeparatorBothWays) {
  SetDecimalSeparator(',');
  EXPECT_EQ(FormatParameterValue(22.5), "22,5");
  EXPECT_EQ(FormatParameterValue(0.00025), "0,00025");
  EXPECT_EQ(FormatParameterValue(1.5e-7), "1,5E-7");
  EXPECT_EQ(ParseParameterValue("22,5"), 22.5f);
  EXPECT_EQ(ParseParameterValue("22.5"), 22.5f);  // a point is always understood
  SetDecimalSeparator('.');
}

TEST(ParameterDisplayText, WholeAndFractionalValuesWithoutTrailingZeros) {
  EXPECT_EQ(FormatParameterValue(90.0), "90");
  EXPECT_EQ(FormatParameterValue(22.5), "22.5");
  EXPECT_EQ(FormatParameterValue(-0.75), "-0.75");
  EXPECT_EQ(FormatParameterValue(0.0), "0");
  EXPECT_EQ(FormatParameterValue(-0.0), "0");
  EXPECT_EQ(FormatParameterValue(360.0), "360");
}

// The stored value is a 32-bit float; 15 digits show its exact value.
TEST(ParameterDisplayText, FifteenSignificantDigitsOfTheStoredFloat) {
  EXPECT_EQ(FormatParameterValue(0.1f), "0.100000001490116");
  EXPECT_EQ(FormatParameterValue(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatParameterValue(123456789012345.0), "123456789012345");
}

TEST(ParameterDisplayText, ExponentFormOnlyForHugeAndTinyMagnitudes) {
  EXPECT_EQ(FormatParameterValue(1e15), "1E15");
  EXPECT_EQ(FormatParameterValue(999999999999999.9), "1E15");  // rounds up into exponent form
  EXPECT_EQ(FormatParameterValue(-2.5e20), "-2.5E20");
  EXPECT_EQ(FormatParameterValue(0.00001), "0.00001");
  EXPECT_EQ(FormatParameterValue(0.0000123), "0.0000123");
  EXPECT_EQ(FormatParameterValue(0.000001), "1E-6");
  EXPECT_EQ(FormatParameterValue(1.5e-7), "1.5E-7");
}

TEST(ParameterDisplayText, NonNumbersHaveNames) {
  EXPECT_EQ(FormatParameterValue(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FormatParameterValue(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FormatParameterValue(-std::numeric_limits<double>::infinity()), "-INF");
}

// A host process may have set a locale with a decimal comma; the texts
// the plug-in writes and reads keep the point.
TEST(ParameterDisplayText, DecimalPointDoesNotFollowTheProcessLocale) {
  const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(FormatParameterValue(22.5), "22.5");
  EXPECT_EQ(ParseParameterValue("22.5"), 22.5f);
  if (german != nullptr) std::setlocale(LC_NUMERIC, "C");
}

TEST(ParameterValueParsing, AcceptsDecimalNumbers) {
  EXPECT_EQ(ParseParameterValue("90"), 90.0f);
  EXPECT_EQ(ParseParameterValue(" 22.5 "), 22.5f);
  EXPECT_EQ(ParseParameterValue("+1"), 1.0f);
  EXPECT_EQ(ParseParameterValue("-3e2"), -300.0f);
  EXPECT_EQ(ParseParameterValue(".5"), 0.5f);
}

// Anything else must leave the parameter alone.
TEST(ParameterValueParsing, RefusesEverythingElse) {
  for (const char* text : {"", " ", "abc", "1.5x", "1,5", "inf", "nan", "-", "+-1", "1e39", "0x10"}) {
    EXPECT_FALSE(ParseParameterValue(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace zelk::tests
