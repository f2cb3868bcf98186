// Programs are what a host recalls presets with: a switch must hand every
// value to the host and the module's handlers in a fixed order, program
// values must stay one per parameter whatever happens to them, and names
// must stay within their limits in characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "framework/ParameterProperty.h"
#include "runtime/Exceptions.h"
#include "tests/programs/ProgramTestModule.h"
#include "tests/support/TestModule.h"

namespace zelk::tests {
namespace {

using TLog = std::vector<std::string>;

TCustomVstProgram& ProgramOf(TCustomVST1Module& module, int index) { return *module.Programs()->Program(index); }

// ---- Loading and switching: the order module code relies on ----

TEST(ProgramLoading, ProgramsAreInitialisedInOrderThenProgramZeroIsApplied) {
  TProgramModulePtr module = MakeProgramModule();
  EXPECT_EQ(module->Effect.numPrograms, 3);
  EXPECT_EQ(ProgramOf(*module, 2).DisplayName(), "Wide");
  EXPECT_EQ(ProgramOf(*module, 2).VSTModule(), module.get());
  // The parameters were listed after the programs and still sized them.
  EXPECT_EQ(ProgramOf(*module, 2).ParameterCount(), 2);
  EXPECT_EQ(module->Log, (TLog{"OnInitialize", "Program.OnInitialize Soft", "Program.OnInitialize Loud",
                               "Program.OnInitialize Wide", "Gain 0 2", "OnParameterChange 0 2",
                               "OnParameterChange 1 0.25", "OnProgramChange 0"}));
  EXPECT_EQ(module->GetParameter(1), 0.25f);
}

TEST(ProgramSwitching, EachValueReachesHostAndHandlersInIndexOrderBeforeOnProgramChange) {
  TProgramModulePtr module = MakeProgramModule();
  TRecordingHost host;
  AttachHost(*module, host);
  module->Log.clear();
  module->EditorNeedsUpdate = false;

  EXPECT_EQ(Dispatch(*module, effSetProgram, 0, 1), 0);
  EXPECT_EQ(module->Log, (TLog{"Automate 0 0.5", "Gain 0 8", "OnParameterChange 0 8", "Automate 1 0.75",
                               "OnParameterChange 1 0.75", "OnProgramChange 1"}));
  EXPECT_EQ(Dispatch(*module, effGetProgram), 1);
  EXPECT_TRUE(module->EditorNeedsUpdate);
  // The whole program is in place before the first change event.
  EXPECT_EQ(module->PanAtFirstChange, 0.75f);
  EXPECT_EQ(module->ProgramAtFirstChange, 1);
}

TEST(ProgramSwitching, TheCurrentProgramAndMissingOnesAreIgnored) {
  TProgramModulePtr module = MakeProgramModule();
  module->Log.clear();
  for (intptr_t value : {0, 3, -1}) Dispatch(*module, effSetProgram, 0, value);
  module->SetCurrentProgram(3);
  EXPECT_TRUE(module->Log.empty());
  EXPECT_EQ(module->CurrentProgram(), 0);
}

TEST(ProgramSwitching, OverwriteProgramsKeepsEditsAcrossSwitches) {
  for (bool overwrite : {false, true}) {
    TProgramModulePtr module = MakeProgramModule();
    module->OverwritePrograms = overwrite;
    module->Effect.setParameter(&module->Effect, 0, 0.75f);  // 12 units in program 0
    Dispatch(*module, effSetProgram, 0, 1);
    Dispatch(*module, effSetProgram, 0, 0);
    EXPECT_EQ(module->GetParameter(0), overwrite ? 12.0f : 2.0f) << overwrite;
  }
}

// A program deleted while current leaves an index without a program; the
// parameter path and the name opcodes must not reach for it.
TEST(ProgramSwitching, ADeletedCurrentProgramIsNeverReached) {
  TProgramModulePtr module = MakeProgramModule();
  module->OverwritePrograms = true;
  Dispatch(*module, effSetProgram, 0, 2);
  module->Programs()->Delete(2);
  EXPECT_EQ(module->Effect.numPrograms, 2);
  module->Effect.setParameter(&module->Effect, 0, 0.5f);
  EXPECT_EQ(module->GetParameter(0), 8.0f);
  char name[kVstMaxProgNameLen] = "x";
  Dispatch(*module, effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(module->GetCurrentProgramName(), "");
}

// ---- Names: limits count characters, host buffers hold 24 bytes ----

TEST(ProgramNames, ANewProgramIsInitAndNamesKeepFiftyCharacters) {
  TTestModulePtr module = MakeTestModule();
  auto* program = static_cast<TCustomVstProgram*>(module->Programs()->Add());
  EXPECT_EQ(program->DisplayName(), "Init");
  std::string name;
  for (int count = 0; count < 60; ++count) name += "é";  // two bytes each
  char text[1024];
  name.copy(text, name.size());
  text[name.size()] = '\0';
  Dispatch(*module, effSetProgramName, 0, 0, text);
  EXPECT_EQ(module->GetCurrentProgramName(), name.substr(0, 100));
  EXPECT_EQ(module->Effect.numPrograms, 1);
}

TEST(ProgramNames, NamesCopiedToTheHostFitTwentyFourBytesWithoutSplittingACharacter) {
  TProgramModulePtr module = MakeProgramModule();
  std::string name;
  for (int count = 0; count < 12; ++count) name += "Ä";  // 24 bytes
  module->SetCurrentProgramName(name);
  for (int32_t opcode : {effGetProgramName, effGetProgramNameIndexed}) {
    char text[kVstMaxProgNameLen + 8];
    std::fill(std::begin(text), std::end(text), '#');
    Dispatch(*module, opcode, 0, 0, text);
    // 23 bytes would end inside the twelfth character; the cut comes before it.
    EXPECT_EQ(std::string(text), name.substr(0, 22)) << opcode;
    EXPECT_EQ(text[kVstMaxProgNameLen], '#');
  }
  char untouched[4] = "abc";
  EXPECT_EQ(Dispatch(*module, effGetProgramNameIndexed, -1, 0, untouched), 0);
  EXPECT_STREQ(untouched, "abc");
}

// ---- Program values: one per parameter, checked by index ----

TEST(ProgramValues, AccessOutsideTheParametersRaisesIndexError) {
  TProgramModulePtr module = MakeProgramModule();
  TCustomVstProgram& program = ProgramOf(*module, 0);
  for (int32_t index : {-1, 2}) {
    try {
      program.SetParameter(index, 1.0f);
      ADD_FAILURE() << index;
    } catch (const EListError& error) {
      EXPECT_STREQ(error.what(), "Index >= numParams!");
    }
    EXPECT_THROW(program.Parameter(index), EListError);
  }
}

TEST(ProgramValues, AssigningKeepsOneValuePerParameter) {
  TProgramModulePtr module = MakeProgramModule();
  TTestModulePtr other = MakeTestModule();
  AddParameter(*other, 0.0f, 1.0f);
  auto* shorter = static_cast<TCustomVstProgram*>(other->Programs()->Add());
  shorter->SetParameter(0, 0.5f);
  shorter->SetDisplayName("Short");

  ProgramOf(*module, 1).Assign(shorter);
  EXPECT_EQ(ProgramOf(*module, 1).DisplayName(), "Short");
  EXPECT_EQ(ProgramOf(*module, 1).ParameterCount(), 2);
  EXPECT_EQ(ProgramOf(*module, 1).Parameter(0), 0.5f);
  EXPECT_EQ(ProgramOf(*module, 1).Parameter(1), 0.0f);  // not a missing value

  // The other way the source has a value the target has no parameter for.
  EXPECT_THROW(shorter->Assign(&ProgramOf(*module, 2)), EListError);
  EXPECT_EQ(shorter->ParameterCount(), 1);
  EXPECT_THROW(shorter->Assign(module->ParameterProperties()->Item(0)), EConvertError);
}

TEST(ProgramValues, AssigningTheCollectionCopiesEveryProgram) {
  TProgramModulePtr module = MakeProgramModule();
  TTestModulePtr copy = MakeTestModule();
  AddParameter(*copy, 0.0f, 16.0f);
  AddParameter(*copy, 0.0f, 1.0f);
  copy->SetPrograms(module->Programs());
  EXPECT_EQ(copy->Effect.numPrograms, 3);
  EXPECT_EQ(ProgramOf(*copy, 1).DisplayName(), "Loud");
  EXPECT_EQ(ProgramOf(*copy, 1).Parameter(1), 0.75f);
  EXPECT_EQ(ProgramOf(*copy, 1).VSTModule(), copy.get());
}

}  // namespace
}  // namespace zelk::tests
