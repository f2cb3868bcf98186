#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/ParameterCurves.h"

namespace zelk::tests {
namespace {

TParameterRange Range(double min, double max, TCurveType curve = ctLinear, double factor = 1.0) {
  return {min, max, {curve, factor}};
}

// The worked values hosts and the product rely on.
TEST(ParameterCurves, LinearRangeMapsHostValuesToUnits) {
  const TParameterRange angle = Range(0, 360);
  EXPECT_FLOAT_EQ(static_cast<float>(NormalizedToValue(angle, 0.25)), 90.0f);
  EXPECT_FLOAT_EQ(ValueToNormalized(angle, 90.0), 0.25f);
  EXPECT_FLOAT_EQ(ValueToNormalized(angle, 359.0), 359.0f / 360.0f);
}

TEST(ParameterCurves, LogarithmicCurveReadsBackAsSpecified) {
  // 0.5 on a 0..1 logarithmic parameter with factor 9 is ln(5.5)/ln(10).
  EXPECT_NEAR(ValueToNormalized(Range(0, 1, ctLogarithmic, 9), 0.5), std::log(5.5) / std::log(10.0), 1e-6);
  EXPECT_NEAR(ValueToNormalized(Range(0, 1, ctLogarithmic, 9), 0.5), 0.7404, 1e-4);
}

TEST(ParameterCurves, FactorOneCurvesMatchTheirClosedForms) {
  // With CF = 1: ln(f + 1)/ln 2 and 2^f − 1.
  EXPECT_NEAR(ValueToNormalized(Range(0, 1, ctLogarithmic, 1), 0.5), std::log(1.5) / std::log(2.0), 1e-6);
  EXPECT_NEAR(ValueToNormalized(Range(0, 1, ctExponential, 1), 0.5), std::pow(2.0, 0.5) - 1.0, 1e-6);
}

// The host's value must come back unchanged after a round trip through the
// parameter's units, for every curve and factor, over the whole range.
TEST(ParameterCurves, EveryCurveRoundTripsOverManyPoints) {
  for (TCurveType curve : {ctLinear, ctLogarithmic, ctExponential}) {
    for (double factor : {0.25, 1.0, 9.0, 100.0, 1000.0}) {
      const TParameterRange range = Range(-20, 360, curve, factor);
      for (int step = 0; step <= 1000; ++step) {
        const double normalized = step / 1000.0;
        const auto value = static_cast<float>(NormalizedToValue(range, normalized));
        ASSERT_NEAR(ValueToNormalized(range, value), normalized, 2e-6)
            << "curve " << curve << " factor " << factor << " at " << normalized;
      }
    }
  }
}

TEST(ParameterCurves, CurvesAreMonotonicAndKeepTheEnds) {
  for (TCurveType curve : {ctLogarithmic, ctExponential}) {
    const TCurveShape shape{curve, 9.0};
    EXPECT_NEAR(static_cast<double>(CurveToNormalized(shape, 0.0L)), 0.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(CurveToNormalized(shape, 1.0L)), 1.0, 1e-12);
    long double previous = -1;
    for (int step = 0; step <= 100; ++step) {
      const long double next = CurveFromNormalized(shape, step / 100.0L);
      ASSERT_GT(next, previous);
      previous = next;
    }
  }
}

// Units → normalized is clamped; normalized → units is not.
TEST(ParameterCurves, OnlyTheHostSideIsClamped) {
  const TParameterRange angle = Range(0, 360);
  EXPECT_FLOAT_EQ(static_cast<float>(NormalizedToValue(angle, 2.0)), 720.0f);
  EXPECT_FLOAT_EQ(ValueToNormalized(angle, 720.0), 1.0f);
  EXPECT_FLOAT_EQ(ValueToNormalized(angle, -5.0), 0.0f);
  EXPECT_FLOAT_EQ(ValueToNormalized(angle, std::numeric_limits<double>::quiet_NaN()), 0.0f);
}

TEST(ParameterCurves, AnEmptyRangeAnswersTheNearerEnd) {
  const TParameterRange empty = Range(5, 5);
  EXPECT_FLOAT_EQ(ValueToNormalized(empty, 6.0), 1.0f);
  EXPECT_FLOAT_EQ(ValueToNormalized(empty, 4.0), 0.0f);
  EXPECT_FLOAT_EQ(ValueToNormalized(empty, 5.0), 0.0f);
}

// Factors for which a curve has no meaning must not produce non-numbers.
TEST(ParameterCurves, UnusableFactorsBehaveLinearly) {
  for (double factor : {0.0, -1.0, -3.0, std::numeric_limits<double>::infinity()}) {
    for (TCurveType curve : {ctLogarithmic, ctExponential}) {
      const TParameterRange range = Range(0, 10, curve, factor);
      EXPECT_FLOAT_EQ(ValueToNormalized(range, 2.5), 0.25f);
      EXPECT_FLOAT_EQ(static_cast<float>(NormalizedToValue(range, 0.25)), 2.5f);
    }
  }
}

TEST(ParameterCurves, CurveNamesStreamAsDeclared) {
  EXPECT_EQ(EnumTypeOf(ctLinear).NameOf(ctLogarithmic), "ctLogarithmic");
  EXPECT_EQ(EnumTypeOf(ctLinear).IndexOf("ctExponential"), 2);
}

}  // namespace
}  // namespace zelk::tests
