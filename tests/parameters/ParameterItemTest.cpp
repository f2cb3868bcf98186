#include <gtest/gtest.h>

#include <string>

#include "framework/ParameterProperty.h"
#include "runtime/ClassInfo.h"
#include "runtime/Exceptions.h"
#include "runtime/Text.h"
#include "tests/support/TestModule.h"

namespace zelk::tests {
namespace {

TEST(ParameterItem, DefaultsAtCreation) {
  TTestModulePtr module = MakeTestModule();
  TCustomVstParameterProperty* item = module->ParameterProperties()->Add();
  EXPECT_EQ(item->Min, 0.0f);
  EXPECT_EQ(item->Max, 1.0f);
  EXPECT_EQ(item->Curve, ctLinear);
  EXPECT_EQ(item->CurveFactor, 1.0f);
  EXPECT_EQ(item->SmoothingFactor, 1.0f);
  EXPECT_TRUE(item->CanBeAutomated);
  EXPECT_EQ(item->Units(), "");
  EXPECT_EQ(item->VSTModule(), module.get());
  EXPECT_EQ(item->Smoother().FirstStage(), 0.0f);
  EXPECT_FALSE(item->OnParameterChange);
}

TEST(ParameterItem, NamedAfterTheCountOnceAdded) {
  TTestModulePtr module = MakeTestModule();
  EXPECT_EQ(module->ParameterProperties()->Add()->DisplayName(), "Parameter 1");
  EXPECT_EQ(module->ParameterProperties()->Add()->DisplayName(), "Parameter 2");
}

// The limits count characters, and a multi-byte character is kept whole.
TEST(ParameterItem, NameAndUnitsKeepTheirFirstCharacters) {
  TCustomVstParameterProperties parameters(nullptr);
  TCustomVstParameterProperty* item = parameters.Add();
  item->SetDisplayName(std::string(40, 'a'));
  EXPECT_EQ(item->DisplayName(), std::string(30, 'a'));
  item->SetUnits("123456789");
  EXPECT_EQ(item->Units(), "12345678");

  std::string umlauts;
  for (int count = 0; count < 40; ++count) umlauts += "ä";
  item->SetDisplayName(umlauts);
  EXPECT_EQ(CharacterCount(item->DisplayName()), 30u);
  EXPECT_EQ(item->DisplayName().size(), 60u);
  item->SetUnits("°°°°°°°°°°");
  EXPECT_EQ(item->Units(), "°°°°°°°°");
}

TEST(ParameterItem, AssignCopiesOnlyTheName) {
  TCustomVstParameterProperties parameters(nullptr);
  TCustomVstParameterProperty* source = parameters.Add();
  TCustomVstParameterProperty* target = parameters.Add();
  source->SetDisplayName("Angle");
  source->Max = 360.0f;
  source->SetUnits("°");
  target->Assign(source);
  EXPECT_EQ(target->DisplayName(), "Angle");
  EXPECT_EQ(target->Max, 1.0f);
  EXPECT_EQ(target->Units(), "");
  EXPECT_THROW(target->Assign(&parameters), EConvertError);
}

// Every setting must be reachable by name from a component stream.
TEST(ParameterItem, PublishesEverySetting) {
  const TClassInfo& info = TCustomVstParameterProperty::StaticClass();
  for (const char* name : {"Min", "Max", "Curve", "CurveFactor", "DisplayName", "Units", "SmoothingFactor",
                           "CanBeAutomated", "VSTModule", "OnParameterChange", "OnCustomParameterLabel",
                           "OnCustomParameterDisplay"}) {
    const TPropInfo* property = info.FindProperty(name);
    ASSERT_NE(property, nullptr) << name;
    EXPECT_FALSE(property->ReadOnly()) << name;
  }
  const TPropInfo* curve = info.FindProperty("Curve");
  EXPECT_EQ(curve->EnumType->NameOf(ctExponential), "ctExponential");

  TCustomVstParameterProperties parameters(nullptr);
  TCustomVstParameterProperty* item = parameters.Add();
  info.FindProperty("Curve")->Set(*item, TValue{int64_t{ctLogarithmic}});
  info.FindProperty("Units")->Set(*item, TValue{std::string("dB/octave")});
  info.FindProperty("Max")->Set(*item, TValue{360.0});
  EXPECT_EQ(item->Curve, ctLogarithmic);
  EXPECT_EQ(item->Units(), "dB/octav");
  EXPECT_EQ(item->Max, 360.0f);
  EXPECT_TRUE(parameters.ItemClass().InheritsFrom(TCustomVstParameterProperty::StaticClass()));
}

}  // namespace
}  // namespace zelk::tests
