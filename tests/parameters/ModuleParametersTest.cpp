#include <gtest/gtest.h>

#include <cfenv>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "framework/Program.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestModule.h"

namespace zelk::tests {
namespace {

struct TChange {
  TObject* Sender;
  int32_t Index;
  float Value;
  bool operator==(const TChange&) const = default;
};

// Records the change events of the module and of its items, in order.
class TChangeLog : public TObject {
 public:
  std::vector<std::string> Order;
  std::vector<TChange> ModuleChanges;
  std::vector<TChange> ItemChanges;

  void ModuleChanged(TObject* sender, int32_t index, float value) {
    Order.push_back("module");
    ModuleChanges.push_back({sender, index, value});
  }
  void ItemChanged(TObject* sender, int32_t index, float value) {
    Order.push_back("item");
    ItemChanges.push_back({sender, index, value});
  }
  void Throw(TObject*, int32_t, float) { throw std::runtime_error("handler failed"); }
};

// The host's setParameter and getParameter, as the record entries do them.
void SetParameter(TCustomVST1Module& module, int32_t index, float normalized) {
  module.Effect.setParameter(&module.Effect, index, normalized);
}
float GetParameter(TCustomVST1Module& module, int32_t index) {
  return module.Effect.getParameter(&module.Effect, index);
}

class ModuleParameters : public ::testing::Test {
 protected:
  void SetUp() override {
    module = MakeTestModule();
    module->HostCallback = TRecordingHost::Callback();
    angle = &AddParameter(*module, 0, 360);
    angle->SetDisplayName("Angle");
    angle->SetUnits("°");
    module->OnParameterChange = TParameterChangeEvent::Bind<&TChangeLog::ModuleChanged>(&log);
  }

  TRecordingHost host;
  TTestModulePtr module;
  TCustomVstParameterProperty* angle = nullptr;
  TChangeLog log;
};

TEST_F(ModuleParameters, HostValueIsStoredInUnitsAndReadBack) {
  SetParameter(*module, 0, 0.25f);
  EXPECT_EQ(module->GetParameter(0), 90.0f);
  EXPECT_EQ(log.ModuleChanges, (std::vector<TChange>{{module.get(), 0, 90.0f}}));
  EXPECT_EQ(GetParameter(*module, 0), 0.25f);

  module->SetParameterAutomated(0, 359.0f);  // the knob's last position
  EXPECT_FLOAT_EQ(GetParameter(*module, 0), 359.0f / 360.0f);
}

TEST_F(ModuleParameters, HostValuesAreNotClampedButReadBackClamped) {
  SetParameter(*module, 0, 2.0f);
  EXPECT_EQ(module->GetParameter(0), 720.0f);
  EXPECT_EQ(GetParameter(*module, 0), 1.0f);
}

TEST_F(ModuleParameters, EveryChangeIsReportedToTheHostNormalized) {
  module->SetParameterAutomated(0, 90.0f);
  const auto reports = host.CallsOf(audioMasterAutomate);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].Index, 0);
  EXPECT_EQ(reports[0].Opt, 0.25f);
  EXPECT_TRUE(module->EditorNeedsUpdate.load());
}

TEST_F(ModuleParameters, ParametersThatCannotBeAutomatedAreNotReported) {
  angle->CanBeAutomated = false;
  module->SetParameterAutomated(0, 90.0f);
  EXPECT_TRUE(host.CallsOf(audioMasterAutomate).empty());
  EXPECT_EQ(module->GetParameter(0), 90.0f);
  EXPECT_EQ(log.ModuleChanges.size(), 1u);
}

TEST_F(ModuleParameters, ItemEventFiresBeforeTheModulesEvent) {
  angle->OnParameterChange = TParameterChangeEvent::Bind<&TChangeLog::ItemChanged>(&log);
  module->SetParameterAutomated(0, 45.0f);
  EXPECT_EQ(log.Order, (std::vector<std::string>{"item", "module"}));
  EXPECT_EQ(log.ItemChanges, (std::vector<TChange>{{module.get(), 0, 45.0f}}));
}

// Hosts that answer an automation report by setting the parameter again
// must not recurse: the nested call is dropped.
TEST_F(ModuleParameters, ASetFromInsideTheReportIsDropped) {
  host.OnAutomate = [this](const tests::THostCall&) { SetParameter(*module, 0, 0.75f); };
  module->SetParameterAutomated(0, 90.0f);
  EXPECT_EQ(module->GetParameter(0), 90.0f);
  EXPECT_EQ(log.ModuleChanges.size(), 1u);
  EXPECT_FALSE(module->ParameterUpdating.Any());
  host.OnAutomate = nullptr;
  module->SetParameterAutomated(0, 180.0f);  // the flag is clear again
  EXPECT_EQ(module->GetParameter(0), 180.0f);
}

// Only the nested call is dropped: the host's set from another thread while
// the editor's set waits in the host's automation handler is stored, and
// the last value wins.
TEST_F(ModuleParameters, ASetFromAnotherThreadDuringASetIsStoredAndTheLastWins) {
  const std::thread::id editorThread = std::this_thread::get_id();
  host.OnAutomate = [&](const tests::THostCall&) {
    if (std::this_thread::get_id() != editorThread) return;
    std::thread([&] { SetParameter(*module, 0, 0.75f); }).join();
  };
  module->SetParameterAutomated(0, 90.0f);
  host.OnAutomate = nullptr;
  EXPECT_EQ(module->GetParameter(0), 270.0f);
  EXPECT_EQ(log.ModuleChanges.size(), 2u);
  EXPECT_FALSE(module->ParameterUpdating.Any());
}

TEST_F(ModuleParameters, AFailingHandlerDoesNotLeaveTheGuardSet) {
  module->OnParameterChange = TParameterChangeEvent::Bind<&TChangeLog::Throw>(&log);
  EXPECT_THROW(module->SetParameterAutomated(0, 10.0f), std::runtime_error);
  EXPECT_FALSE(module->ParameterUpdating.Any());
  module->OnParameterChange.Clear();
  module->SetParameterAutomated(0, 20.0f);
  EXPECT_EQ(module->GetParameter(0), 20.0f);
}

// Indexes outside the parameters never reach the value store.
TEST_F(ModuleParameters, IndexesOutsideTheParametersAreHarmless) {
  for (int32_t index : {1, 5, -1}) {
    SetParameter(*module, index, 0.5f);
    module->SetParameterAutomated(index, 3.0f);
    EXPECT_EQ(GetParameter(*module, index), 0.0f);
    EXPECT_EQ(module->GetParameter(index), 0.0f);
    EXPECT_EQ(module->GetParameterLabel(index), "undefined");
    EXPECT_EQ(module->GetParameterDisplay(index), "undefined");
    EXPECT_EQ(module->GetParameterName(index), "undefined");
    EXPECT_TRUE(module->CanBeAutomated(index));
    EXPECT_FALSE(module->String2Parameter(index, "1"));
  }
  EXPECT_TRUE(log.ModuleChanges.empty());
  EXPECT_TRUE(host.Calls.empty());
}

// Non-numbers from a host would reach the audio routine as non-numbers.
TEST_F(ModuleParameters, NonFiniteValuesAreDropped) {
  module->SetParameterAutomated(0, 90.0f);
  SetParameter(*module, 0, std::numeric_limits<float>::quiet_NaN());
  module->SetParameterAutomated(0, std::numeric_limits<float>::infinity());
  EXPECT_EQ(module->GetParameter(0), 90.0f);
  EXPECT_EQ(log.ModuleChanges.size(), 1u);
  SetParameter(*module, 0, 0.5f);  // the smoother was not disturbed
  EXPECT_EQ(module->GetParameter(0), 180.0f);
}

// Some hosts unmask floating-point exceptions on their threads: a huge
// value converts without a trap, and is stored unclamped when it fits.
TEST_F(ModuleParameters, HugeValuesDoNotTrapOnAThreadThatUnmasksExceptions) {
  EXPECT_EXIT(
      {
        feenableexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO);
        SetParameter(*module, 0, 1e30f);
        const bool storedUnclamped = module->GetParameter(0) == 1e30f * 360.0f;
        SetParameter(*module, 0, std::numeric_limits<float>::max());
        const bool overflowDropped = module->GetParameter(0) == 1e30f * 360.0f;
        const bool readBack = GetParameter(*module, 0) == 1.0f;
        std::exit(storedUnclamped && overflowDropped && readBack ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(ModuleParameters, SmoothingShapesSuccessiveHostValues) {
  TCustomVstParameterProperty& smooth = AddParameter(*module, 0, 1);
  smooth.SmoothingFactor = 0.5f;
  std::vector<float> values;
  for (int call = 0; call < 3; ++call) {
    SetParameter(*module, 1, 1.0f);
    values.push_back(module->GetParameter(1));
  }
  EXPECT_EQ(values, (std::vector<float>{0.25f, 0.5f, 0.6875f}));
}

TEST_F(ModuleParameters, ProgramChunkModulesLeaveValuesToModuleCode) {
  module->Effect.flags |= effFlagsProgramChunks;
  module->SetParameterAutomated(0, 90.0f);
  EXPECT_EQ(module->GetParameter(0), 0.0f);
  EXPECT_EQ(log.ModuleChanges.size(), 1u);
}

TEST_F(ModuleParameters, OverwriteProgramsKeepsTheCurrentProgramInStep) {
  module->Programs()->Add();
  module->Programs()->Add();
  module->OverwritePrograms = true;
  module->SetParameterAutomated(0, 90.0f);
  EXPECT_EQ(module->Programs()->Program(0)->Parameter(0), 90.0f);
  EXPECT_EQ(module->Programs()->Program(1)->Parameter(0), 0.0f);
  module->OverwritePrograms = false;
  module->SetParameterAutomated(0, 45.0f);
  EXPECT_EQ(module->Programs()->Program(0)->Parameter(0), 90.0f);
}

// ---- Texts for the host ----

TEST_F(ModuleParameters, TextsForTheHost) {
  EXPECT_EQ(module->GetParameterName(0), "Angle");
  EXPECT_EQ(module->GetParameterLabel(0), "°");
  module->SetParameterAutomated(0, 90.0f);
  EXPECT_EQ(module->GetParameterDisplay(0), "90");
  module->SetParameterAutomated(0, 22.5f);
  EXPECT_EQ(module->GetParameterDisplay(0), "22.5");
  module->SetParameterAutomated(0, 0.1f);
  EXPECT_EQ(module->GetParameterDisplay(0), "0.100000001490116");
}

class TTextCustomizer : public TObject {
 public:
  void Label(TObject*, std::string& text) { text = "deg"; }
  void Display(TObject*, std::string& text) { text = "<" + text + ">"; }
};

TEST_F(ModuleParameters, ItemEventsMayReplaceLabelAndDisplay) {
  TTextCustomizer customizer;
  angle->OnCustomParameterLabel = TCustomParameterLabelEvent::Bind<&TTextCustomizer::Label>(&customizer);
  angle->OnCustomParameterDisplay = TCustomParameterDisplayEvent::Bind<&TTextCustomizer::Display>(&customizer);
  module->SetParameterAutomated(0, 45.0f);
  EXPECT_EQ(module->GetParameterLabel(0), "deg");
  EXPECT_EQ(module->GetParameterDisplay(0), "<45>");
}

// Hosts give 8 bytes for these texts, terminator included.
TEST_F(ModuleParameters, DispatcherTextsFitTheHostsEightBytes) {
  angle->SetDisplayName("Rotation angle");
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  module->Dispatch(effGetParamName, 0, 0, buffer, 0.0f);
  EXPECT_STREQ(buffer, "Rotatio");
  EXPECT_EQ(buffer[8], '#');
  std::memset(buffer, '#', sizeof buffer);
  module->Dispatch(effGetParamLabel, 3, 0, buffer, 0.0f);
  EXPECT_STREQ(buffer, "undefin");
  EXPECT_EQ(buffer[8], '#');
}

TEST_F(ModuleParameters, TextsSetTheParameterThroughTheDispatcher) {
  EXPECT_EQ(module->Dispatch(effString2Parameter, 0, 0, const_cast<char*>("90"), 0.0f), 1);
  EXPECT_EQ(module->GetParameter(0), 90.0f);
  EXPECT_EQ(module->Dispatch(effString2Parameter, 0, 0, const_cast<char*>("abc"), 0.0f), 0);
  EXPECT_EQ(module->Dispatch(effString2Parameter, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(module->GetParameter(0), 90.0f);
  EXPECT_EQ(log.ModuleChanges.size(), 1u);
}

TEST_F(ModuleParameters, AFailureWhileSettingFromTextAnswersZero) {
  module->OnParameterChange = TParameterChangeEvent::Bind<&TChangeLog::Throw>(&log);
  EXPECT_EQ(module->Dispatch(effString2Parameter, 0, 0, const_cast<char*>("10"), 0.0f), 0);
}

TEST_F(ModuleParameters, CanBeAutomatedFollowsTheItem) {
  EXPECT_EQ(module->Dispatch(effCanBeAutomated, 0, 0, nullptr, 0.0f), 1);
  angle->CanBeAutomated = false;
  EXPECT_EQ(module->Dispatch(effCanBeAutomated, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(module->Dispatch(effCanBeAutomated, 5, 0, nullptr, 0.0f), 1);
}

// ---- The parameter count follows the items ----

TEST(ModuleParameterCount, FollowsTheItems) {
  TTestModulePtr module = MakeTestModule();
  EXPECT_EQ(module->Effect.numParams, 0);
  AddParameter(*module, 0, 1);
  TCustomVstParameterProperty& second = AddParameter(*module, 0, 10);
  EXPECT_EQ(module->Effect.numParams, 2);
  module->SetParameterAutomated(1, 4.0f);
  EXPECT_EQ(module->GetParameter(1), 4.0f);
  module->ParameterProperties()->Delete(0);
  EXPECT_EQ(module->Effect.numParams, 1);
  EXPECT_EQ(second.Index(), 0);
  EXPECT_EQ(module->GetParameter(1), 0.0f);  // no longer a parameter
  module->ParameterProperties()->Clear();
  EXPECT_EQ(module->Effect.numParams, 0);
}

}  // namespace
}  // namespace zelk::tests
