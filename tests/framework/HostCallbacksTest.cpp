// Every request to the host leaves through one wrapper: it must reach the
// host with the module's own record and the arguments the host expects, and
// without a host it must answer as documented instead of failing.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/framework/FrameworkTestSupport.h"

namespace zelk::tests {
namespace {

struct TExpectedCall {
  const char* Name;
  std::function<void(TVST2Module&)> Invoke;
  int32_t Opcode;
  int32_t Index;
  intptr_t Value;
  void* Ptr;
  float Opt;
};

int gMarker = 0;
void* const kMarker = &gMarker;

std::vector<TExpectedCall> WrapperTable() {
  auto* marker = static_cast<char*>(kMarker);
  return {
      {"HostAutomate", [](TVST2Module& m) { m.HostAutomate(3, 0.25f); }, audioMasterAutomate, 3, 0, nullptr, 0.25f},
      {"GetHostVersion", [](TVST2Module& m) { m.GetHostVersion(); }, audioMasterVersion, 0, 0, nullptr, 0},
      {"GetCurrentUniqueId", [](TVST2Module& m) { m.GetCurrentUniqueId(); }, audioMasterCurrentId, 0, 0, nullptr, 0},
      {"HostIdle", [](TVST2Module& m) { m.HostIdle(); }, audioMasterIdle, 0, 0, nullptr, 0},
      {"IsInputConnected", [](TVST2Module& m) { m.IsInputConnected(5); }, audioMasterPinConnected, 5, 0, nullptr, 0},
      {"IsOutputConnected", [](TVST2Module& m) { m.IsOutputConnected(6); }, audioMasterPinConnected, 6, 1, nullptr, 0},
      {"WantMidi", [](TVST2Module& m) { m.WantMidi(1); }, audioMasterWantMidi, 0, 1, nullptr, 0},
      {"GetTimeInfo", [](TVST2Module& m) { m.GetTimeInfo(0x200); }, audioMasterGetTime, 0, 0x200, nullptr, 0},
      {"SendVstEventsToHost",
       [marker](TVST2Module& m) { m.SendVstEventsToHost(reinterpret_cast<VstEvents*>(marker)); },
       audioMasterProcessEvents, 0, 0, kMarker, 0},
      {"SetTimeInfo", [marker](TVST2Module& m) { m.SetTimeInfo(7, reinterpret_cast<VstTimeInfo*>(marker)); },
       audioMasterSetTime, 0, 7, kMarker, 0},
      {"TempoAt", [](TVST2Module& m) { m.TempoAt(4096); }, audioMasterTempoAt, 0, 4096, nullptr, 0},
      {"IOChanged", [](TVST2Module& m) { m.IOChanged(); }, audioMasterIOChanged, 0, 0, nullptr, 0},
      {"SizeWindow", [](TVST2Module& m) { m.SizeWindow(245, 269); }, audioMasterSizeWindow, 245, 269, nullptr, 0},
      {"UpdateSampleRate", [](TVST2Module& m) { m.UpdateSampleRate(); }, audioMasterGetSampleRate, 0, 0, nullptr, 0},
      {"UpdateBlockSize", [](TVST2Module& m) { m.UpdateBlockSize(); }, audioMasterGetBlockSize, 0, 0, nullptr, 0},
      {"OfflineStart",
       [marker](TVST2Module& m) { m.OfflineStart(reinterpret_cast<VstAudioFile*>(marker), 2, 3); },
       audioMasterOfflineStart, 3, 2, kMarker, 0},
      {"OfflineRead",
       [marker](TVST2Module& m) { m.OfflineRead(reinterpret_cast<VstOfflineTask*>(marker), 9, true); },
       audioMasterOfflineRead, 1, 9, kMarker, 0},
      {"OfflineWrite", [marker](TVST2Module& m) { m.OfflineWrite(reinterpret_cast<VstOfflineTask*>(marker), 4); },
       audioMasterOfflineWrite, 0, 4, kMarker, 0},
      {"SetOutputSampleRate", [](TVST2Module& m) { m.SetOutputSampleRate(96000.0f); },
       audioMasterSetOutputSampleRate, 0, 0, nullptr, 96000.0f},
      {"GetOutputSpeakerArrangement", [](TVST2Module& m) { m.GetOutputSpeakerArrangement(); },
       audioMasterGetSpeakerArrangement, 0, 0, nullptr, 0},
      {"GetHostVendorString", [marker](TVST2Module& m) { m.GetHostVendorString(marker); },
       audioMasterGetVendorString, 0, 0, kMarker, 0},
      {"HostVendorSpecific", [marker](TVST2Module& m) { m.HostVendorSpecific(1, 2, marker, 3.5f); },
       audioMasterVendorSpecific, 1, 2, kMarker, 3.5f},
      {"CanHostDo", [marker](TVST2Module& m) { m.CanHostDo(marker); }, audioMasterCanDo, 0, 0, kMarker, 0},
      {"BeginEdit", [](TVST2Module& m) { m.BeginEdit(2); }, audioMasterBeginEdit, 2, 0, nullptr, 0},
      {"EndEdit", [](TVST2Module& m) { m.EndEdit(2); }, audioMasterEndEdit, 2, 0, nullptr, 0},
      {"OpenFileSelector",
       [marker](TVST2Module& m) { m.OpenFileSelector(reinterpret_cast<VstFileSelect*>(marker)); },
       audioMasterOpenFileSelector, 0, 0, kMarker, 0},
      {"GetInputSpeakerArrangement", [](TVST2Module& m) { m.GetInputSpeakerArrangement(); },
       audioMasterGetInputSpeakerArrangement, 0, 0, nullptr, 0},
  };
}

TEST(HostCallbacks, EachWrapperSendsItsOpcodeWithTheModulesRecord) {
  for (const TExpectedCall& expected : WrapperTable()) {
    TRecordingHost host;
    host.Answers[audioMasterProcessEvents] = 0;  // the marker is no event list to count
    TTestModulePtr module = MakeTestModule();
    module->HostCallback = TRecordingHost::Callback();
    expected.Invoke(*module);
    ASSERT_EQ(host.Calls.size(), 1u) << expected.Name;
    const THostCall& call = host.Calls.front();
    EXPECT_EQ(call.Effect, &module->Effect) << expected.Name;
    EXPECT_EQ(call.Opcode, expected.Opcode) << expected.Name;
    EXPECT_EQ(call.Index, expected.Index) << expected.Name;
    EXPECT_EQ(call.Value, expected.Value) << expected.Name;
    EXPECT_EQ(call.Ptr, expected.Ptr) << expected.Name;
    EXPECT_EQ(call.Opt, expected.Opt) << expected.Name;
  }
}

TEST(HostCallbacks, WithoutAHostEveryWrapperAnswersQuietly) {
  TTestModulePtr module = MakeTestModule();
  for (const TExpectedCall& expected : WrapperTable()) expected.Invoke(*module);
  EXPECT_EQ(module->GetHostVersion(), 1);
  EXPECT_TRUE(module->IsInputConnected(0));
  EXPECT_TRUE(module->IsOutputConnected(0));
  EXPECT_FALSE(module->SendVstEventsToHost(nullptr));
  EXPECT_EQ(module->GetTimeInfo(0), nullptr);
  EXPECT_FALSE(module->IOChanged());
  EXPECT_EQ(module->TempoAt(0), 0);
  EXPECT_EQ(module->UpdateSampleRate(), 44100.0f);
  EXPECT_EQ(module->UpdateBlockSize(), 1024);
}

// Old hosts answer 0 to the version query; 0 also means "connected" for pins.
TEST(HostCallbacks, ZeroAnswersHaveTheirDocumentedMeaning) {
  TRecordingHost host;
  TTestModulePtr module = MakeTestModule();
  module->HostCallback = TRecordingHost::Callback();
  EXPECT_EQ(module->GetHostVersion(), 1);
  EXPECT_TRUE(module->IsInputConnected(0));
  host.Answers = {{audioMasterVersion, 2400}, {audioMasterPinConnected, 1}, {audioMasterProcessEvents, 2}};
  EXPECT_EQ(module->GetHostVersion(), 2400);
  EXPECT_FALSE(module->IsOutputConnected(1));
  EXPECT_FALSE(module->SendVstEventsToHost(nullptr));  // only exactly 1 is success
  host.Answers[audioMasterProcessEvents] = 1;
  EXPECT_TRUE(module->SendVstEventsToHost(nullptr));
}

TEST(HostCallbacks, OpenFileSelectorWithoutARecordDoesNotAskTheHost) {
  TRecordingHost host;
  TTestModulePtr module = MakeTestModule();
  module->HostCallback = TRecordingHost::Callback();
  host.Answers[audioMasterOpenFileSelector] = 1;
  EXPECT_FALSE(module->OpenFileSelector(nullptr));
  EXPECT_TRUE(host.Calls.empty());
}

// A positive answer becomes the setting and is announced; a host that does
// not know yet (0) or answers nonsense leaves the setting as it was.
TEST(HostCallbacks, SampleRateAndBlockSizeQueriesStoreOnlyPositiveAnswers) {
  TRecordingHost host;
  TTestModulePtr module = MakeTestModule();
  module->HostCallback = TRecordingHost::Callback();
  std::vector<float> rates;
  std::vector<int32_t> sizes;
  struct TListener : TObject {
    std::vector<float>* Rates;
    std::vector<int32_t>* Sizes;
    void Rate(TObject*, float rate) { Rates->push_back(rate); }
    void Size(TObject*, int32_t size) { Sizes->push_back(size); }
  } listener;
  listener.Rates = &rates;
  listener.Sizes = &sizes;
  module->OnSampleRateChange = TSampleRateChangeEvent::Bind<&TListener::Rate>(&listener);
  module->OnBlockSizeChange = TBlockSizeChangeEvent::Bind<&TListener::Size>(&listener);

  host.Answers = {{audioMasterGetSampleRate, 48000}, {audioMasterGetBlockSize, 256}};
  EXPECT_EQ(module->UpdateSampleRate(), 48000.0f);
  EXPECT_EQ(module->UpdateBlockSize(), 256);
  EXPECT_EQ(module->SampleRate(), 48000.0f);
  EXPECT_EQ(module->BlockSize(), 256);
  EXPECT_EQ(rates, std::vector<float>{48000.0f});
  EXPECT_EQ(sizes, std::vector<int32_t>{256});

  host.Answers = {{audioMasterGetSampleRate, 0}, {audioMasterGetBlockSize, -5}};
  EXPECT_EQ(module->UpdateSampleRate(), 48000.0f);
  EXPECT_EQ(module->UpdateBlockSize(), 256);
  EXPECT_EQ(rates.size(), 1u);
  EXPECT_EQ(sizes.size(), 1u);
}

}  // namespace
}  // namespace zelk::tests
