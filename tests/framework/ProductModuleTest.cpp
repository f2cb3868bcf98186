// The product module as the framework builds it in process: its resource
// binds the handlers it publishes, and modules open side by side get names
// of their own.
#include <gtest/gtest.h>

#include "effect/StereoRotation.h"
#include "effect/ZelkModule.h"
#include "runtime/Application.h"
#include "runtime/ClassInfo.h"

namespace zelk::tests {
namespace {

using TZelkPtr = std::unique_ptr<TZelkVSTModule, TFreeObject>;

TZelkPtr MakeProduct() { return TZelkPtr(New<TZelkVSTModule>(&Application())); }

TEST(ProductModule, HandlersAreBoundByTheirPublishedNames) {
  TZelkPtr module = MakeProduct();
  const TClassInfo& info = TZelkVSTModule::StaticClass();
  const TMethodInfo* process = info.FindMethod("VST2ModuleProcess");
  const TMethodInfo* change = info.FindMethod("VST2ModuleParameterChange");
  ASSERT_NE(process, nullptr);
  ASSERT_NE(change, nullptr);
  ASSERT_NE(info.FindMethod("VST_EditOpen"), nullptr);
  EXPECT_EQ(module->OnProcess().Ref().Code, process->Code);
  EXPECT_EQ(module->OnProcessReplacing().Ref().Code, process->Code);
  EXPECT_EQ(module->OnParameterChange.Ref().Code, change->Code);
  EXPECT_EQ(module->OnProcess().Target(), module.get());
  EXPECT_TRUE(static_cast<bool>(module->OnEditOpen));
}

TEST(ProductModule, ModulesOpenAtTheSameTimeHaveUniqueNames) {
  TZelkPtr first = MakeProduct();
  TZelkPtr second = MakeProduct();
  EXPECT_EQ(first->Name(), "ZelkVSTModule");
  EXPECT_EQ(second->Name(), "ZelkVSTModule_1");
  EXPECT_EQ(first->Owner(), &Application());
}

// A host that plays without setting the parameter hears the angle the
// parameter reports (0 degrees: both channels inverted), not silence.
TEST(ProductModule, CoefficientsStartFromParameterZeroAndFollowIt) {
  TZelkPtr module = MakeProduct();
  ASSERT_EQ(module->GetParameter(0), 0.0f);
  EXPECT_EQ(module->CosAngle.load(), ComputeRotationCoefficients(0.0f).CosAngle);
  EXPECT_EQ(module->SinAngle.load(), ComputeRotationCoefficients(0.0f).SinAngle);
  EXPECT_EQ(module->SinAngle.load(), -1.0f);
  module->SetParameterAutomated(0, 180.0f);  // θ = −π
  EXPECT_EQ(module->CosAngle.load(), -1.0f);
  EXPECT_NEAR(module->SinAngle.load(), 0.0f, 1e-7f);
}

}  // namespace
}  // namespace zelk::tests
