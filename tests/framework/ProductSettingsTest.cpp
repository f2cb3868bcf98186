// The product's settings as its embedded resource gives them, read back
// through the published properties by name, as a stream would see them.
#include <gtest/gtest.h>

#include "effect/ZelkModule.h"
#include "framework/ParameterProperty.h"
#include "runtime/Application.h"
#include "runtime/ClassInfo.h"

namespace zelk::tests {
namespace {

TValue Published(TObject& object, const char* name) {
  const TPropInfo* property = object.ClassType().FindProperty(name);
  EXPECT_NE(property, nullptr) << name;
  return property ? property->Get(object) : TValue{};
}

std::string EnumName(TObject& object, const char* name) {
  const TPropInfo* property = object.ClassType().FindProperty(name);
  return std::string(property->EnumType->NameOf(std::get<int64_t>(property->Get(object))));
}

std::vector<std::string> SetNames(TObject& object, const char* name) {
  const TPropInfo* property = object.ClassType().FindProperty(name);
  const auto mask = static_cast<uint32_t>(std::get<int64_t>(property->Get(object)));
  std::vector<std::string> names;
  for (int ordinal = 0; ordinal < 32; ++ordinal) {
    if (mask & (1u << ordinal)) names.emplace_back(property->EnumType->NameOf(ordinal));
  }
  return names;
}

TEST(ProductSettings, TheModuleResourceSetsEverySettingInItsTable) {
  std::unique_ptr<TZelkVSTModule, TFreeObject> module(New<TZelkVSTModule>(&Application()));
  TObject& settings = *module;
  EXPECT_EQ(std::get<int64_t>(Published(settings, "OldCreateOrder")), 0);
  EXPECT_EQ(SetNames(settings, "Flags"), (std::vector<std::string>{"pfHasEditor", "pfFlagsCanReplacing"}));
  EXPECT_EQ(std::get<std::string>(Published(settings, "Version")), "0.0");
  EXPECT_EQ(std::get<std::string>(Published(settings, "EffectName")), "Zelk Vorlan");
  EXPECT_EQ(std::get<std::string>(Published(settings, "ProductName")), "Zelk Vorlan");
  EXPECT_EQ(std::get<std::string>(Published(settings, "VendorName")), "Kelmora");
  EXPECT_EQ(std::get<int64_t>(Published(settings, "VendorVersion")), 0);
  EXPECT_EQ(EnumName(settings, "PlugCategory"), "cgEffect");
  EXPECT_EQ(std::get<int64_t>(Published(settings, "TailSize")), 0);
  EXPECT_EQ(SetNames(settings, "CanDos"), (std::vector<std::string>{"plugAsChannelInsert", "plugAsSend", "_2in2out"}));
  EXPECT_EQ(std::get<int64_t>(Published(settings, "OverwritePrograms")), 0);
  EXPECT_EQ(std::get<double>(Published(settings, "SampleRate")), 44100.0);
  EXPECT_EQ(std::get<int64_t>(Published(settings, "CurrentProgram")), 0);
  EXPECT_EQ(std::get<std::string>(Published(settings, "UniqueID")), "Zelk");
  EXPECT_EQ(std::get<int64_t>(Published(settings, "numPrograms")), 0);
  EXPECT_EQ(std::get<int64_t>(Published(settings, "numParams")), 1);
  EXPECT_EQ(module->DesignLeft(), 248);
  EXPECT_EQ(module->DesignTop(), 106);
  EXPECT_EQ(module->DesignHeight(), 150);
  EXPECT_EQ(module->DesignWidth(), 215);
  for (const char* event : {"OnEditOpen", "OnParameterChange", "OnProcess", "OnProcessReplacing"}) {
    EXPECT_TRUE(static_cast<bool>(std::get<TMethodRef>(Published(settings, event)))) << event;
  }
}

TEST(ProductSettings, TheOneParameterIsTheAngle) {
  std::unique_ptr<TZelkVSTModule, TFreeObject> module(New<TZelkVSTModule>(&Application()));
  ASSERT_EQ(module->ParameterProperties()->Count(), 1);
  TObject& angle = *module->ParameterProperties()->Item(0);
  EXPECT_EQ(std::get<double>(Published(angle, "Min")), 0.0);
  EXPECT_EQ(std::get<double>(Published(angle, "Max")), 360.0);
  EXPECT_EQ(EnumName(angle, "Curve"), "ctLinear");
  EXPECT_EQ(std::get<std::string>(Published(angle, "DisplayName")), "Angle");
  EXPECT_EQ(std::get<std::string>(Published(angle, "Units")), "\xC2\xB0");  // one character, the degree sign
  EXPECT_EQ(std::get<double>(Published(angle, "CurveFactor")), 1.0);
  EXPECT_EQ(std::get<double>(Published(angle, "SmoothingFactor")), 1.0);
  EXPECT_EQ(std::get<int64_t>(Published(angle, "CanBeAutomated")), 1);
  EXPECT_EQ(std::get<TObject*>(Published(angle, "VSTModule")), module.get());
}

}  // namespace
}  // namespace zelk::tests
