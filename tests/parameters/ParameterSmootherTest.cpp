#include <gtest/gtest.h>

#include <limits>

#include "framework/ParameterSmoother.h"

namespace zelk::tests {
namespace {

TEST(ParameterSmoother, FactorOnePassesValuesThrough) {
  TParameterSmoother smoother;
  EXPECT_FLOAT_EQ(smoother.Next(90.0L, 1.0), 90.0f);
  EXPECT_FLOAT_EQ(smoother.Next(22.5L, 1.0), 22.5f);
}

// Both stages move half-way each time: 0.25, 0.5, 0.6875 towards 1.
TEST(ParameterSmoother, TwoStagesApproachAStepGradually) {
  TParameterSmoother smoother;
  EXPECT_FLOAT_EQ(smoother.Next(1.0L, 0.5), 0.25f);
  EXPECT_FLOAT_EQ(smoother.Next(1.0L, 0.5), 0.5f);
  EXPECT_FLOAT_EQ(smoother.Next(1.0L, 0.5), 0.6875f);
  EXPECT_FLOAT_EQ(smoother.FirstStage(), 0.875f);
}

// One non-number must not leave the parameter stuck at non-numbers.
TEST(ParameterSmoother, RecoversAfterANonFiniteValue) {
  TParameterSmoother smoother;
  smoother.Next(std::numeric_limits<long double>::infinity(), 1.0);
  EXPECT_FLOAT_EQ(smoother.Next(3.0L, 1.0), 3.0f);
  smoother.Next(std::numeric_limits<long double>::quiet_NaN(), 0.5);
  EXPECT_FLOAT_EQ(smoother.Next(3.0L, 0.5), 3.0f);
}

}  // namespace
}  // namespace zelk::tests
