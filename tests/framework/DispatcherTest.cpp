// The dispatcher is the whole of the host's conversation with a module
// apart from audio and parameter values: every opcode must give the
// standard's answer, fire its event only when one is assigned, and never
// write past the buffer the host provides.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

#include "framework/ParameterProperty.h"
#include "framework/Program.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace zelk::tests {
namespace {

intptr_t Dispatch(TVST2Module& module, int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                  float opt = 0.0f) {
  return module.Effect.dispatcher(&module.Effect, opcode, index, value, ptr, opt);
}

// A host buffer of Size bytes followed by guard bytes that must stay as
// they are.
template <size_t Size>
struct TGuardedBuffer {
  static constexpr char kGuard = '#';
  std::array<char, Size + 16> Bytes;
  TGuardedBuffer() { Bytes.fill(kGuard); }
  char* Data() { return Bytes.data(); }
  std::string Text() const { return std::string(Bytes.data()); }
  bool GuardIntact() const {
    for (size_t at = Size; at < Bytes.size(); ++at) {
      if (Bytes[at] != kGuard) return false;
    }
    return true;
  }
};

TEST(Dispatcher, FixedAnswers) {
  TTestModulePtr module = MakeTestModule();
  EXPECT_EQ(Dispatch(*module, effIdentify), 0x4E764566);
  EXPECT_EQ(Dispatch(*module, effGetVstVersion), 2300);
  EXPECT_EQ(Dispatch(*module, effKeysRequired), 1);
  EXPECT_EQ(Dispatch(*module, effGetCurrentMidiProgram), -1);
  EXPECT_EQ(Dispatch(*module, effGetNumProgramCategories), 1);
  EXPECT_EQ(Dispatch(*module, effSetTotalSampleToProcess, 0, 12345), 12345);
  EXPECT_EQ(Dispatch(*module, effSetSampleRate, 0, 0, nullptr, 48000.0f), 1);
  EXPECT_EQ(Dispatch(*module, effCanBeAutomated, 5), 1);  // beyond the items
}

TEST(Dispatcher, OpcodesWithoutWorkAndUnknownOpcodesAnswerZero) {
  TTestModulePtr module = MakeTestModule();
  for (int32_t opcode : {16, 17, 18, 20, 21, 30, 36, 37, 42, 46, 53, 54, 55, 56, 62, 64, 65, 66, 69, 70, 77, 1000,
                         -1}) {
    EXPECT_EQ(Dispatch(*module, opcode, 1, 1, nullptr, 1.0f), 0) << opcode;
  }
}

TEST(Dispatcher, IdentityAnswersComeFromTheSettings) {
  TTestModulePtr module = MakeTestModule();
  module->PlugCategory = cgSpacializer;
  module->VendorVersion = 0x010203;
  module->TailSize = 4410;
  EXPECT_EQ(Dispatch(*module, effGetPlugCategory), 5);
  EXPECT_EQ(Dispatch(*module, effGetVendorVersion), 0x010203);
  EXPECT_EQ(Dispatch(*module, effGetTailSize), 4410);
}

TEST(Dispatcher, OnDispatcherFiresOncePerCallBeforeAnything) {
  TTestModulePtr module = MakeTestModule();
  TEventLog log;
  module->OnDispatcher = TOnDispatcherEvent::Bind<&TEventLog::Dispatcher>(&log);
  module->OnOpen = TNotifyEvent::Bind<&TEventLog::Notify>(&log);
  Dispatch(*module, effOpen);
  Dispatch(*module, effGetVstVersion);
  Dispatch(*module, 500);
  EXPECT_EQ(log.Entries, (std::vector<std::string>{"OnDispatcher 0", "Notify", "OnDispatcher 58", "OnDispatcher 500"}));
}

TEST(Dispatcher, EventsAnswerOneOnlyWhenAHandlerRan) {
  TTestModulePtr module = MakeTestModule();
  TEventLog log;
  for (int32_t opcode : {effSetBypass, effBeginSetProgram, effEndSetProgram, effStartProcess, effStopProcess,
                         effOfflineNotify, effOfflinePrepare, effOfflineRun, effProcessVarIo, effEditKeyDown,
                         effEditKeyUp, effSetEditKnobMode, effSetPanLaw}) {
    EXPECT_EQ(Dispatch(*module, opcode), 0) << opcode;
  }
  module->OnStartProcess = TNotifyEvent::Bind<&TEventLog::Notify>(&log);
  EXPECT_EQ(Dispatch(*module, effStartProcess), 1);
  EXPECT_EQ(log.Entries.size(), 1u);
}

// Hosts connect pins without caring whether the plug-in listens.
TEST(Dispatcher, PinConnectionsAnswerOneAndPassIndexAndState) {
  TTestModulePtr module = MakeTestModule();
  EXPECT_EQ(Dispatch(*module, effConnectInput, 1, 1), 1);
  struct TPins : TObject {
    std::vector<std::pair<int32_t, bool>> Seen;
    void Connected(TObject*, int32_t index, bool state) { Seen.emplace_back(index, state); }
  } pins;
  module->OnOutConnected = TInOutConnectedEvent::Bind<&TPins::Connected>(&pins);
  EXPECT_EQ(Dispatch(*module, effConnectOutput, 3, 0), 1);
  EXPECT_EQ(Dispatch(*module, effConnectOutput, 4, 7), 1);
  EXPECT_EQ(pins.Seen, (std::vector<std::pair<int32_t, bool>>{{3, false}, {4, true}}));
}

TEST(Dispatcher, HandlersReceiveTheHostsArguments) {
  TTestModulePtr module = MakeTestModule();
  struct THandlers : TObject {
    VstKeyCode Key{};
    int32_t LawType = 0;
    float Gain = 0.0f;
    intptr_t Vendor(TObject*, int32_t first, intptr_t second, void*, float third) {
      return first * 100 + second * 10 + static_cast<intptr_t>(third);
    }
    void KeyDown(TObject*, VstKeyCode& key) { Key = key; }
    void PanLaw(TObject*, int32_t& type, float& gain) {
      LawType = type;
      Gain = gain;
    }
  } handlers;
  module->OnVendorSpecific = TOnVendorSpecificEvent::Bind<&THandlers::Vendor>(&handlers);
  module->OnEditorKeyDown = TVSTKeyEvent::Bind<&THandlers::KeyDown>(&handlers);
  module->OnSetPanLaw = TOnSetPanLawEvent::Bind<&THandlers::PanLaw>(&handlers);

  EXPECT_EQ(Dispatch(*module, effVendorSpecific, 1, 2, nullptr, 3.0f), 123);
  EXPECT_EQ(Dispatch(*module, effEditKeyDown, 'a', 0x1FE, nullptr, 2.5f), 1);
  EXPECT_EQ(handlers.Key.character, 'a');
  EXPECT_EQ(handlers.Key.virt, 0xFE);      // low byte of value
  EXPECT_EQ(handlers.Key.modifier, 2);     // 2.5 rounds to the even 2
  EXPECT_EQ(Dispatch(*module, effSetPanLaw, 0, 1, nullptr, 0.5f), 1);
  EXPECT_EQ(handlers.LawType, 1);
  EXPECT_EQ(handlers.Gain, 0.5f);
}

TEST(Dispatcher, VuIsScaledAndRoundedHalfToEven) {
  TTestModulePtr module = MakeTestModule();
  EXPECT_EQ(Dispatch(*module, effGetVu), 0);
  struct TMeter : TObject {
    float Level = 0.0f;
    void Read(float& vu) { vu = Level; }
  } meter;
  module->OnGetVU = TGetVUEvent::Bind<&TMeter::Read>(&meter);
  meter.Level = 1.0f;
  EXPECT_EQ(Dispatch(*module, effGetVu), 32767);
  meter.Level = 0.5f;  // 16383.5
  EXPECT_EQ(Dispatch(*module, effGetVu), 16384);
  meter.Level = -0.5f;
  EXPECT_EQ(Dispatch(*module, effGetVu), -16384);
  meter.Level = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(Dispatch(*module, effGetVu), 0);
}

// Opcode 43 stores and announces both values even when they did not change.
TEST(Dispatcher, BlockSizeAndSampleRateFireBothEventsUnconditionally) {
  TTestModulePtr module = MakeTestModule();
  struct TListener : TObject {
    std::vector<std::string> Seen;
    void Rate(TObject*, float rate) { Seen.push_back("rate " + std::to_string(int(rate))); }
    void Size(TObject*, int32_t size) { Seen.push_back("size " + std::to_string(size)); }
  } listener;
  module->OnSampleRateChange = TSampleRateChangeEvent::Bind<&TListener::Rate>(&listener);
  module->OnBlockSizeChange = TBlockSizeChangeEvent::Bind<&TListener::Size>(&listener);
  EXPECT_EQ(Dispatch(*module, effSetBlockSizeAndSampleRate, 0, 1024, nullptr, 44100.0f), 1);
  EXPECT_EQ(Dispatch(*module, effSetBlockSizeAndSampleRate, 0, 64, nullptr, 96000.0f), 1);
  EXPECT_EQ(listener.Seen, (std::vector<std::string>{"rate 44100", "size 1024", "rate 96000", "size 64"}));
  EXPECT_EQ(module->BlockSize(), 64);
  EXPECT_EQ(module->SampleRate(), 96000.0f);
}

// ---- Texts ----

TEST(DispatcherTexts, NamesAreCutToTheHostsBufferWithoutSplittingACharacter) {
  TTestModulePtr module = MakeTestModule();
  module->EffectName = std::string(30, 'e') + "\xC3\xA9" + "tail";  // 'é' would straddle byte 31
  module->VendorName = std::string(100, 'v');
  module->ProductName = "Zelk Vorlan";

  TGuardedBuffer<kVstMaxEffectNameLen> effectName;
  EXPECT_EQ(Dispatch(*module, effGetEffectName, 0, 0, effectName.Data()), 1);
  EXPECT_EQ(effectName.Text(), std::string(30, 'e'));
  EXPECT_TRUE(effectName.GuardIntact());

  TGuardedBuffer<kVstMaxVendorStrLen> vendor;
  Dispatch(*module, effGetVendorString, 0, 0, vendor.Data());
  EXPECT_EQ(vendor.Text(), std::string(63, 'v'));
  EXPECT_TRUE(vendor.GuardIntact());

  TGuardedBuffer<kVstMaxProductStrLen> product;
  Dispatch(*module, effGetProductString, 0, 0, product.Data());
  EXPECT_EQ(product.Text(), "Zelk Vorlan");
}

TEST(DispatcherTexts, NullPointersWriteNothing) {
  TTestModulePtr module = MakeTestModule();
  module->ParameterProperties()->Add();
  // The fixed texts still answer "supported", events "processed", and a bank
  // without a header "not ours"; everything else answers 0.
  const std::map<int32_t, intptr_t> nonZero = {
      {effGetEffectName, 1}, {effGetVendorString, 1}, {effGetProductString, 1}, {effProcessEvents, 1},
      {effBeginLoadBank, -1}};
  for (int32_t opcode : {effGetEffectName, effGetVendorString, effGetProductString, effGetProgramName,
                         effGetParamLabel, effGetParamDisplay, effGetParamName, effGetProgramNameIndexed,
                         effSetProgramName, effString2Parameter, effEditGetRect, effGetChunk, effProcessEvents,
                         effGetInputProperties, effBeginLoadBank, effCanDo}) {
    const auto answer = nonZero.find(opcode);
    EXPECT_EQ(Dispatch(*module, opcode, 0, 0, nullptr), answer != nonZero.end() ? answer->second : 0)
        << "opcode " << opcode;
  }
  // Nothing read through the null pointers reached the module.
  TGuardedBuffer<kVstMaxProgNameLen> programName;
  Dispatch(*module, effGetProgramName, 0, 0, programName.Data());
  EXPECT_EQ(programName.Text(), "");
}

TEST(DispatcherTexts, ParameterTextsOutsideTheParametersAreUndefinedCutToEightBytes) {
  TTestModulePtr module = MakeTestModule();
  TCustomVstParameterProperty* item = module->ParameterProperties()->Add();
  item->SetDisplayName("Frequency of the filter");
  for (int32_t opcode : {effGetParamLabel, effGetParamDisplay, effGetParamName}) {
    for (int32_t index : {-1, 1, 1000}) {
      TGuardedBuffer<kVstMaxParamStrLen> text;
      Dispatch(*module, opcode, index, 0, text.Data());
      EXPECT_EQ(text.Text(), "undefin") << opcode << " " << index;
      EXPECT_TRUE(text.GuardIntact());
    }
  }
  TGuardedBuffer<kVstMaxParamStrLen> name;
  Dispatch(*module, effGetParamName, 0, 0, name.Data());
  EXPECT_EQ(name.Text(), "Frequen");
  EXPECT_TRUE(name.GuardIntact());
}

// ---- Programs ----

TEST(DispatcherPrograms, WithoutProgramsTheEmptyCasesAreAnswered) {
  TTestModulePtr module = MakeTestModule();
  TGuardedBuffer<kVstMaxProgNameLen> name;
  EXPECT_EQ(Dispatch(*module, effGetProgramName, 0, 0, name.Data()), 0);
  EXPECT_EQ(name.Bytes[0], '\0');
  EXPECT_EQ(name.Bytes[1], TGuardedBuffer<kVstMaxProgNameLen>::kGuard);
  EXPECT_EQ(Dispatch(*module, effGetProgram), 0);
  EXPECT_EQ(Dispatch(*module, effGetProgramNameIndexed, 0, 0, name.Data()), 0);
  char newName[] = "New";
  EXPECT_EQ(Dispatch(*module, effSetProgramName, 0, 0, newName), 0);
  EXPECT_EQ(Dispatch(*module, effSetProgram, 0, 1), 0);
  EXPECT_EQ(module->CurrentProgram(), 0);
  void* chunk = &chunk;
  EXPECT_EQ(Dispatch(*module, effGetChunk, 0, 0, &chunk), 0);
  EXPECT_EQ(Dispatch(*module, effGetChunk, 1, 0, &chunk), 0);
  EXPECT_EQ(chunk, &chunk);  // left untouched
}

struct TThreeProgramModule {
  TTestModulePtr Module = MakeTestModule();
  TEventLog Log;
  TThreeProgramModule() {
    Module->ParameterProperties()->Add();
    Module->ParameterProperties()->Add();
    for (int program = 0; program < 3; ++program) {
      TCustomVstProgram* item = static_cast<TCustomVstProgram*>(Module->Programs()->Add());
      item->SetDisplayName("Program " + std::to_string(program));
      item->SetParameter(0, 10.0f * program);
      item->SetParameter(1, 10.0f * program + 1);
    }
    Module->OnParameterChange = TParameterChangeEvent::Bind<&TEventLog::ParameterChange>(&Log);
    Module->OnProgramChange = TNotifyEvent::Bind<&TEventLog::ProgramChange>(&Log);
  }
};

TEST(DispatcherPrograms, SelectingAProgramAppliesItsValuesInIndexOrder) {
  TThreeProgramModule fixture;
  TVST2Module& module = *fixture.Module;
  EXPECT_EQ(Dispatch(module, effSetProgram, 0, 1), 0);
  EXPECT_EQ(Dispatch(module, effGetProgram), 1);
  EXPECT_EQ(module.GetParameter(0), 10.0f);
  EXPECT_EQ(module.GetParameter(1), 11.0f);
  EXPECT_EQ(fixture.Log.Entries, (std::vector<std::string>{"OnParameterChange 0 10.000000",
                                                            "OnParameterChange 1 11.000000", "OnProgramChange"}));
}

TEST(DispatcherPrograms, TheCurrentOrAMissingProgramChangesNothing) {
  TThreeProgramModule fixture;
  TVST2Module& module = *fixture.Module;
  Dispatch(module, effSetProgram, 0, 0);
  Dispatch(module, effSetProgram, 0, 3);
  Dispatch(module, effSetProgram, 0, -1);
  EXPECT_TRUE(fixture.Log.Entries.empty());
  EXPECT_EQ(module.CurrentProgram(), 0);
}

TEST(DispatcherPrograms, NamesAreListedAndRenamedWithinTheirLimits) {
  TThreeProgramModule fixture;
  TVST2Module& module = *fixture.Module;
  TGuardedBuffer<kVstMaxProgNameLen> name;
  EXPECT_EQ(Dispatch(module, effGetProgramNameIndexed, 2, 0, name.Data()), 1);
  EXPECT_EQ(name.Text(), "Program 2");
  EXPECT_EQ(Dispatch(module, effGetProgramNameIndexed, 3, 0, name.Data()), 0);

  std::string longName(60, 'n');
  Dispatch(module, effSetProgramName, 0, 0, longName.data());
  EXPECT_EQ(module.GetCurrentProgramName(), std::string(50, 'n'));
  TGuardedBuffer<kVstMaxProgNameLen> current;
  Dispatch(module, effGetProgramName, 0, 0, current.Data());
  EXPECT_EQ(current.Text(), std::string(23, 'n'));
  EXPECT_TRUE(current.GuardIntact());
}

TEST(DispatcherPrograms, BankAndProgramLoadsAreCheckedAgainstTheUniqueID) {
  TTestModulePtr module = MakeTestModule();
  module->SetUniqueID("Zelk");
  VstPatchChunkInfo info{};
  info.pluginUniqueID = module->Effect.uniqueID;
  EXPECT_EQ(Dispatch(*module, effBeginLoadBank, 0, 0, &info), 0);
  EXPECT_EQ(Dispatch(*module, effBeginLoadProgram, 0, 0, &info), 0);
  info.pluginUniqueID = 0x4F746872;
  EXPECT_EQ(Dispatch(*module, effBeginLoadBank, 0, 0, &info), -1);
  EXPECT_EQ(Dispatch(*module, effBeginLoadProgram, 0, 0, &info), -1);
}

// ---- Editor ----

TEST(DispatcherEditor, EditorOpcodesNeedTheEditorBitAtTheTimeOfTheCall) {
  TTestModulePtr module = MakeTestModule();
  TEventLog log;
  module->OnEditClose = TNotifyEvent::Bind<&TEventLog::Notify>(&log);
  EXPECT_EQ(Dispatch(*module, effEditOpen), 0);
  EXPECT_EQ(Dispatch(*module, effEditClose), 0);
  EXPECT_TRUE(log.Entries.empty());
  module->SetFlags({pfHasEditor});
  EXPECT_EQ(Dispatch(*module, effEditOpen), 0);  // no handler, no form
  EXPECT_EQ(Dispatch(*module, effEditClose), 0);
  EXPECT_EQ(log.Entries, std::vector<std::string>{"Notify"});
}

TEST(DispatcherEditor, RectangleIsAnsweredWithoutAnEditor) {
  TTestModulePtr module = MakeTestModule();
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(*module, effEditGetRect, 0, 0, &rect), 0);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 0);
  EXPECT_EQ(rect->right, 0);
}

// ---- Containment ----

struct TThrowingHandlers : TObject {
  void Throw(TObject*) { throw std::runtime_error("handler failed"); }
  void ThrowProcess(float**, float**, int32_t) { throw std::runtime_error("process failed"); }
};

TEST(DispatcherContainment, AnExceptionOfAHandlerNeverReachesTheHost) {
  TTestModulePtr module = MakeTestModule();
  TThrowingHandlers handlers;
  module->OnOpen = TNotifyEvent::Bind<&TThrowingHandlers::Throw>(&handlers);
  module->OnStartProcess = TNotifyEvent::Bind<&TThrowingHandlers::Throw>(&handlers);
  EXPECT_EQ(Dispatch(*module, effOpen), 0);
  EXPECT_EQ(Dispatch(*module, effStartProcess), 0);
}

TEST(DispatcherContainment, AFailingReplacingHandlerLeavesTheOutputsSilent) {
  TTestModulePtr module = MakeTestModule();
  TThrowingHandlers handlers;
  module->SetOnProcessReplacing(TProcessAudioEvent::Bind<&TThrowingHandlers::ThrowProcess>(&handlers));
  std::array<float, 4> left{1, 1, 1, 1}, right{1, 1, 1, 1};
  float* channels[] = {left.data(), right.data()};
  module->Effect.processReplacing(&module->Effect, channels, channels, 4);
  EXPECT_EQ(left, (std::array<float, 4>{}));
  EXPECT_EQ(right, (std::array<float, 4>{}));
}

TEST(DispatcherContainment, MissingBuffersAndIndexesOutsideTheParametersAreHarmless) {
  TTestModulePtr module = MakeTestModule();
  module->ParameterProperties()->Add();
  module->Effect.processReplacing(&module->Effect, nullptr, nullptr, 64);
  module->Effect.process(&module->Effect, nullptr, nullptr, 64);
  module->Effect.setParameter(&module->Effect, 1, 0.5f);
  module->Effect.setParameter(&module->Effect, -1, 0.5f);
  EXPECT_EQ(module->Effect.getParameter(&module->Effect, 1), 0.0f);
  EXPECT_EQ(module->Effect.getParameter(&module->Effect, -7), 0.0f);
  EXPECT_EQ(module->GetParameter(0), 0.0f);
  EXPECT_EQ(module->Effect.dispatcher(nullptr, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
}

}  // namespace
}  // namespace zelk::tests
