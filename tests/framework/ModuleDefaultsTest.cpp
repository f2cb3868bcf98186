// A freshly built module must hand the host a complete record and carry
// every published setting with its documented default, before any resource
// or host has touched it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/FourCharCode.h"
#include "framework/ParameterProperty.h"
#include "framework/Program.h"
#include "runtime/ClassInfo.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace zelk::tests {
namespace {

TEST(ModuleDefaults, RecordIsFilledBeforeAnySettingIsRead) {
  TTestModulePtr module = MakeTestModule();
  const AEffect& effect = module->Effect;
  EXPECT_EQ(effect.magic, 0x56737450);
  EXPECT_EQ(effect.uniqueID, 0x4E6F4566);  // 'NoEf'
  EXPECT_EQ(effect.version, 1);
  EXPECT_EQ(effect.ioRatio, 1);
  EXPECT_EQ(effect.numInputs, 2);
  EXPECT_EQ(effect.numOutputs, 2);
  EXPECT_EQ(effect.numParams, 0);
  EXPECT_EQ(effect.numPrograms, 0);
  EXPECT_EQ(effect.flags, 0);
  EXPECT_EQ(effect.initialDelay, 0);
  EXPECT_EQ(effect.realQualities, 0);
  EXPECT_EQ(effect.offQualities, 0);
  EXPECT_EQ(effect.resvd1, 0);
  EXPECT_EQ(effect.resvd2, 0);
  EXPECT_EQ(effect.object, static_cast<TCustomVST1Module*>(module.get()));
  EXPECT_EQ(effect.user, nullptr);  // written by the entry point
  EXPECT_TRUE(std::all_of(std::begin(effect.future), std::end(effect.future), [](char byte) { return byte == 0; }));
  EXPECT_NE(effect.dispatcher, nullptr);
  EXPECT_NE(effect.process, nullptr);
  EXPECT_NE(effect.processReplacing, nullptr);
  EXPECT_NE(effect.setParameter, nullptr);
  EXPECT_NE(effect.getParameter, nullptr);
  EXPECT_EQ(TCustomVST1Module::FromEffect(&effect), module.get());
}

TEST(ModuleDefaults, SettingsStartAtTheirDefaults) {
  TTestModulePtr module = MakeTestModule();
  EXPECT_EQ(module->Version, "0.0");
  EXPECT_FALSE(module->About().empty());
  EXPECT_NE(module->CPU(), nullptr);
  EXPECT_EQ(module->Flags(), TVst2PluginFlags{});
  EXPECT_EQ(module->EffectName, "");
  EXPECT_EQ(module->VendorVersion, 0);
  EXPECT_EQ(module->PlugCategory, cgUnknown);
  EXPECT_EQ(module->Tempo(), 0.0f);
  EXPECT_EQ(module->TailSize, 0);
  EXPECT_EQ(module->CanDos, TVstCanDos{});
  EXPECT_FALSE(module->OverwritePrograms);
  EXPECT_EQ(module->SampleRate(), 44100.0f);
  EXPECT_EQ(module->BlockSize(), 1024);
  EXPECT_EQ(module->CurrentProgram(), 0);
  EXPECT_EQ(module->GetCurrentProgramName(), "");
  EXPECT_EQ(module->ProcessingMode(), pmNormal);
  EXPECT_EQ(module->BlockModeSize(), 1024);
  EXPECT_EQ(module->BlockModeOverlap(), 0);
  EXPECT_EQ(module->InitialDelay(), 0);
  EXPECT_EQ(module->IORatio(), 1);
  EXPECT_EQ(module->GetUniqueID(), "NoEf");
  ASSERT_NE(module->ParameterProperties(), nullptr);
  ASSERT_NE(module->Programs(), nullptr);
  EXPECT_EQ(module->HostCallback, nullptr);
  EXPECT_EQ(module->EditorForm(), nullptr);
}

// The resource reader finds settings by these names and converts values by
// these kinds; a wrong name or kind breaks loading of every product.
TEST(ModuleDefaults, EverySettingAndEventIsPublishedUnderItsName) {
  const TClassInfo& info = TVST2Module::StaticClass();
  const struct {
    const char* Name;
    TTypeKind Kind;
  } expected[] = {
      {"Flags", TTypeKind::tkSet},           {"About", TTypeKind::tkString},
      {"CPU", TTypeKind::tkClass},           {"Version", TTypeKind::tkString},
      {"EffectName", TTypeKind::tkString},   {"ProductName", TTypeKind::tkString},
      {"VendorName", TTypeKind::tkString},   {"VendorVersion", TTypeKind::tkInteger},
      {"PlugCategory", TTypeKind::tkEnumeration}, {"Tempo", TTypeKind::tkFloat},
      {"TailSize", TTypeKind::tkInteger},    {"CanDos", TTypeKind::tkSet},
      {"OverwritePrograms", TTypeKind::tkEnumeration}, {"SampleRate", TTypeKind::tkFloat},
      {"BlockSize", TTypeKind::tkInteger},   {"numInputs", TTypeKind::tkInteger},
      {"numOutputs", TTypeKind::tkInteger},  {"numParams", TTypeKind::tkInteger},
      {"numPrograms", TTypeKind::tkInteger}, {"CurrentProgram", TTypeKind::tkInteger},
      {"CurrentProgramName", TTypeKind::tkString}, {"ProcessingMode", TTypeKind::tkEnumeration},
      {"BlockModeSize", TTypeKind::tkInteger}, {"BlockModeOverlap", TTypeKind::tkInteger},
      {"InitialDelay", TTypeKind::tkInteger}, {"RealQualities", TTypeKind::tkInteger},
      {"OffQualities", TTypeKind::tkInteger}, {"IORatio", TTypeKind::tkInteger},
      {"UniqueID", TTypeKind::tkString},     {"Programs", TTypeKind::tkClass},
      {"ParameterProperties", TTypeKind::tkClass}, {"OldCreateOrder", TTypeKind::tkEnumeration},
  };
  for (const auto& setting : expected) {
    const TPropInfo* property = info.FindProperty(setting.Name);
    ASSERT_NE(property, nullptr) << setting.Name;
    EXPECT_EQ(property->Kind, setting.Kind) << setting.Name;
  }
  for (const char* event :
       {"OnOpen", "OnClose", "OnDispatcher", "OnGetVU", "OnVendorSpecific", "OnInConnected", "OnOutConnected",
        "OnOfflineNotify", "OnOfflinePrepare", "OnOfflineRun", "OnProcessVarIO", "OnSoftBypass", "OnEditorKeyDown",
        "OnEditorKeyUp", "OnEditorKnobMode", "OnSetPanLaw", "OnBeginSetProgram", "OnEndSetProgram",
        "OnStartProcess", "OnStopProcess", "OnParameterChange", "OnInitialize", "OnProgramChange", "OnProcess",
        "OnProcessReplacing", "OnSampleRateChange", "OnBlockSizeChange", "OnSuspend", "OnResume", "OnEditOpen",
        "OnEditClose", "OnEditIdle", "OnCanDo", "OnInputProperties", "OnOutputProperties", "OnProcessMidi",
        "OnCreate", "OnDestroy"}) {
    const TPropInfo* property = info.FindProperty(event);
    ASSERT_NE(property, nullptr) << event;
    EXPECT_EQ(property->Kind, TTypeKind::tkMethod) << event;
  }
}

TEST(ModuleDefaults, ReadOnlyAndCountedSettingsAreNotStored) {
  TTestModulePtr module = MakeTestModule();
  const TClassInfo& info = TVST2Module::StaticClass();
  for (const char* name : {"About", "Tempo", "numParams", "numPrograms"}) {
    EXPECT_FALSE(info.FindProperty(name)->IsStored(*module)) << name;
  }
  EXPECT_TRUE(info.FindProperty("About")->ReadOnly());
  EXPECT_TRUE(info.FindProperty("CPU")->ReadOnly());
  EXPECT_TRUE(info.FindProperty("Tempo")->ReadOnly());
  EXPECT_EQ(info.FindProperty("BlockSize")->Default, 1024);
  EXPECT_EQ(info.FindProperty("numInputs")->Default, 2);
  EXPECT_EQ(info.FindProperty("IORatio")->Default, 1);
  EXPECT_EQ(info.FindProperty("PlugCategory")->Default, 0);
}

// numParams and numPrograms are not settings of their own: writing them
// recounts the collections, which keep the record current.
TEST(ModuleDefaults, CountsFollowTheCollections) {
  TTestModulePtr module = MakeTestModule();
  module->ParameterProperties()->Add();
  module->ParameterProperties()->Add();
  module->Programs()->Add();
  EXPECT_EQ(module->Effect.numParams, 2);
  EXPECT_EQ(module->Effect.numPrograms, 1);
  EXPECT_EQ(module->Programs()->Program(0)->ParameterCount(), 2);

  module->SetNumParams(7);
  module->SetNumPrograms(7);
  EXPECT_EQ(module->numParams(), 2);
  EXPECT_EQ(module->numPrograms(), 1);

  module->ParameterProperties()->Delete(0);
  EXPECT_EQ(module->numParams(), 1);
  EXPECT_EQ(module->Programs()->Program(0)->ParameterCount(), 1);
}

}  // namespace
}  // namespace zelk::tests
