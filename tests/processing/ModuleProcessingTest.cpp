#include <gtest/gtest.h>

#include <vector>

#include "tests/support/AudioBuffers.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestModule.h"

namespace zelk::tests {
namespace {

// The host's two process entries, as it calls them through the record.
void Process(TCustomVST1Module& module, float** inputs, float** outputs, int32_t frames) {
  module.Effect.process(&module.Effect, inputs, outputs, frames);
}
void ProcessReplacing(TCustomVST1Module& module, float** inputs, float** outputs, int32_t frames) {
  module.Effect.processReplacing(&module.Effect, inputs, outputs, frames);
}

class TSettingsLog : public TObject {
 public:
  std::vector<float> SampleRates;
  std::vector<int32_t> BlockSizes;
  std::vector<std::string> Notifications;
  void SampleRateChanged(TObject*, float rate) { SampleRates.push_back(rate); }
  void BlockSizeChanged(TObject*, int32_t size) { BlockSizes.push_back(size); }
  void Suspended(TObject*) { Notifications.push_back("suspend"); }
  void Resumed(TObject*) { Notifications.push_back("resume"); }
};

class ModuleProcessing : public ::testing::Test {
 protected:
  void SetUp() override {
    module = MakeTestModule();
    module->HostCallback = TRecordingHost::Callback();
  }

  TRecordingHost host;
  TTestModulePtr module;
};

TEST_F(ModuleProcessing, NormalReplacingRunsTheHandlerOnTheHostsBuffers) {
  TProcessProbe probe(WriteConstant(2, 0.5f));
  module->SetOnProcessReplacing(probe.Event());
  TAudioBuffers inputs(2, 16);
  TAudioBuffers outputs(2, 16, 1.0f);
  ProcessReplacing(*module, inputs.Pointers(), outputs.Pointers(), 16);
  EXPECT_EQ(probe.LastInputs, inputs.Pointers());
  EXPECT_EQ(probe.LastOutputs, outputs.Pointers());
  EXPECT_EQ(outputs.Channel(0), std::vector<float>(16, 0.5f));
}

TEST_F(ModuleProcessing, NormalAccumulatingAddsToWhatTheOutputsHold) {
  TProcessProbe probe(WriteConstant(2, 0.5f));
  module->SetOnProcess(probe.Event());
  module->Dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
  TAudioBuffers inputs(2, 16);
  TAudioBuffers outputs(2, 16, 1.0f);
  Process(*module, inputs.Pointers(), outputs.Pointers(), 16);
  EXPECT_EQ(outputs.Channel(0), std::vector<float>(16, 1.5f));
  EXPECT_EQ(outputs.Channel(1), std::vector<float>(16, 1.5f));
}

TEST_F(ModuleProcessing, CopyModeCopiesOnlyTheChannelsBothSidesHave) {
  module->SetNumOutputs(1);
  module->SetProcessingMode(pmCopy);
  TAudioBuffers inputs(2, 4);
  inputs.FillRamp();
  TAudioBuffers outputs(1, 4, 9.0f);
  ProcessReplacing(*module, inputs.Pointers(), outputs.Pointers(), 4);
  EXPECT_EQ(outputs.Channel(0), (std::vector<float>{1000, 1001, 1002, 1003}));
}

TEST_F(ModuleProcessing, MuteModeSilencesEveryOutput) {
  TProcessProbe probe(WriteConstant(2, 0.5f));
  module->SetOnProcessReplacing(probe.Event());
  module->SetProcessingMode(pmMute);
  TAudioBuffers inputs(2, 4, 1.0f);
  TAudioBuffers outputs(2, 4, 1.0f);
  ProcessReplacing(*module, inputs.Pointers(), outputs.Pointers(), 4);
  EXPECT_EQ(outputs.Channel(0), std::vector<float>(4, 0.0f));
  EXPECT_EQ(outputs.Channel(1), std::vector<float>(4, 0.0f));
  EXPECT_EQ(probe.Calls, 0);
}

// Blocks of 4 from host blocks of 3: the host hears 4 frames of silence and
// is told so through the initial delay.
TEST_F(ModuleProcessing, BlockModeDelaysByTheBlockAndSaysSo) {
  TProcessProbe probe(PassThrough(2));
  probe.FrameCounts.reserve(8);
  module->SetOnProcessReplacing(probe.Event());
  module->SetBlockModeSize(4);
  module->SetProcessingMode(pmBlockSave);
  EXPECT_EQ(module->InitialDelay(), 4);
  EXPECT_EQ(module->RequestedInitialDelay, 0);
  EXPECT_FALSE(host.CallsOf(audioMasterIOChanged).empty());

  std::vector<float> heard;
  for (int call = 0; call < 4; ++call) {
    TAudioBuffers inputs(2, 3);
    inputs.FillRamp(call * 3);
    TAudioBuffers outputs(2, 3, -1.0f);
    ProcessReplacing(*module, inputs.Pointers(), outputs.Pointers(), 3);
    const std::vector<float> right = outputs.Channel(1);
    heard.insert(heard.end(), right.begin(), right.end());
  }
  EXPECT_EQ(probe.FrameCounts, (std::vector<int32_t>{4, 4, 4}));
  for (int frame = 0; frame < 4; ++frame) EXPECT_EQ(heard[frame], 0.0f);
  for (int frame = 4; frame < 12; ++frame) EXPECT_EQ(heard[frame], 2000.0f + (frame - 4));
}

TEST_F(ModuleProcessing, BlockModeInPlaceMatchesSeparateBuffers) {
  TProcessProbe probe(PassThrough(2));
  module->SetOnProcessReplacing(probe.Event());
  module->SetBlockModeSize(4);
  module->SetProcessingMode(pmBlockSave);
  std::vector<float> heard;
  for (int call = 0; call < 4; ++call) {
    TAudioBuffers buffers(2, 3);
    buffers.FillRamp(call * 3);
    ProcessReplacing(*module, buffers.Pointers(), buffers.Pointers(), 3);
    const std::vector<float> left = buffers.Channel(0);
    heard.insert(heard.end(), left.begin(), left.end());
  }
  const std::vector<float> expected{0, 0, 0, 0, 1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007};
  EXPECT_EQ(heard, expected);
}

TEST_F(ModuleProcessing, BlockModeAccumulatesItsDelayedOutput) {
  TProcessProbe probe(WriteConstant(2, 0.5f));
  module->SetOnProcess(probe.Event());
  module->SetBlockModeSize(2);
  module->SetProcessingMode(pmBlockSave);
  TAudioBuffers inputs(2, 4);
  TAudioBuffers outputs(2, 4, 1.0f);
  Process(*module, inputs.Pointers(), outputs.Pointers(), 4);
  EXPECT_EQ(outputs.Channel(0), (std::vector<float>{1.0f, 1.0f, 1.5f, 1.5f}));
}

TEST_F(ModuleProcessing, BlockSettingsThatCannotWorkAreRefused) {
  module->SetBlockModeSize(4);
  module->SetBlockModeOverlap(4);
  EXPECT_EQ(module->BlockModeOverlap(), 0);
  module->SetBlockModeOverlap(3);
  module->SetBlockModeSize(3);  // not above the overlap
  EXPECT_EQ(module->BlockModeSize(), 4);
  module->SetBlockModeSize(0);
  EXPECT_EQ(module->BlockModeSize(), 4);
}

// The reported delay follows the mode and the blocks: never below the
// block delay in block mode, back to the requested one outside it.
TEST_F(ModuleProcessing, InitialDelayFollowsModeAndBlocks) {
  module->SetInitialDelay(2);
  EXPECT_EQ(module->InitialDelay(), 2);
  module->SetBlockModeSize(8);
  module->SetProcessingMode(pmBlockSave);
  EXPECT_EQ(module->InitialDelay(), 8);
  module->SetBlockModeOverlap(4);
  EXPECT_EQ(module->InitialDelay(), 4);
  module->SetInitialDelay(100);
  EXPECT_EQ(module->InitialDelay(), 100);
  module->SetInitialDelay(0);
  module->SetProcessingMode(pmNormal);
  EXPECT_EQ(module->InitialDelay(), 0);
}

TEST_F(ModuleProcessing, BlockBuffersExistOnlyInBlockMode) {
  module->SetBlockModeSize(16);
  module->SetProcessingMode(pmBlockSave);
  EXPECT_TRUE(module->Processing.Blocks().IsPrepared());
  module->SetNumInputs(3);
  EXPECT_EQ(module->Processing.Blocks().InputChannels(), 3);
  module->SetProcessingMode(pmCopy);
  EXPECT_TRUE(module->Processing.Blocks().IsPrepared());  // kept until the next preparation
  module->SetNumOutputs(1);
  EXPECT_FALSE(module->Processing.Blocks().IsPrepared());
}

TEST_F(ModuleProcessing, ChannelCountsGoToTheRecordAndTheHost) {
  module->SetNumInputs(1);
  module->SetNumOutputs(4);
  EXPECT_EQ(module->Effect.numInputs, 1);
  EXPECT_EQ(module->Effect.numOutputs, 4);
  EXPECT_EQ(host.CallsOf(audioMasterIOChanged).size(), 2u);
  module->SetNumInputs(-1);
  EXPECT_EQ(module->Effect.numInputs, 1);
}

TEST_F(ModuleProcessing, SampleRateAndBlockSizeFireOnlyOnChange) {
  TSettingsLog log;
  module->OnSampleRateChange = TSampleRateChangeEvent::Bind<&TSettingsLog::SampleRateChanged>(&log);
  module->OnBlockSizeChange = TBlockSizeChangeEvent::Bind<&TSettingsLog::BlockSizeChanged>(&log);
  module->Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  module->Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  module->Dispatch(effSetBlockSize, 0, 1024, nullptr, 0.0f);
  module->Dispatch(effSetBlockSize, 0, 256, nullptr, 0.0f);
  EXPECT_EQ(log.SampleRates, (std::vector<float>{48000.0f}));
  EXPECT_EQ(log.BlockSizes, (std::vector<int32_t>{256}));
  EXPECT_EQ(module->SampleRate(), 48000.0f);
  EXPECT_EQ(module->BlockSize(), 256);
  EXPECT_EQ(module->Processing.Scratch().Frames(), 256);
}

TEST_F(ModuleProcessing, SuspendAndResume) {
  TSettingsLog log;
  module->OnSuspend = TNotifyEvent::Bind<&TSettingsLog::Suspended>(&log);
  module->OnResume = TNotifyEvent::Bind<&TSettingsLog::Resumed>(&log);
  module->Dispatch(effMainsChanged, 0, 0, nullptr, 0.0f);
  module->Dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
  EXPECT_EQ(log.Notifications, (std::vector<std::string>{"suspend", "resume"}));
  const auto wantMidi = host.CallsOf(audioMasterWantMidi);
  ASSERT_EQ(wantMidi.size(), 1u);
  EXPECT_EQ(wantMidi[0].Value, 1);
}

TEST_F(ModuleProcessing, EveryProcessCallRefreshesTheTempo) {
  host.TempoTimes10000 = 1205000;
  TAudioBuffers buffers(2, 4);
  ProcessReplacing(*module, buffers.Pointers(), buffers.Pointers(), 4);
  EXPECT_FLOAT_EQ(module->Tempo(), 120.5f);
  host.TempoTimes10000 = 900000;
  Process(*module, buffers.Pointers(), buffers.Pointers(), 4);
  EXPECT_FLOAT_EQ(module->Tempo(), 90.0f);
}

// Pending MIDI events go to the host once, after the process call.
TEST_F(ModuleProcessing, PendingMidiIsSentAfterProcessing) {
  TAudioBuffers buffers(2, 4);
  ProcessReplacing(*module, buffers.Pointers(), buffers.Pointers(), 4);
  EXPECT_TRUE(host.EventCounts.empty());
  module->MidiOut.Record(0).midiData[0] = static_cast<char>(0x90);
  module->MidiOutCount = 2;
  ProcessReplacing(*module, buffers.Pointers(), buffers.Pointers(), 4);
  Process(*module, buffers.Pointers(), buffers.Pointers(), 4);
  EXPECT_EQ(host.EventCounts, (std::vector<int32_t>{2}));
  EXPECT_EQ(module->MidiOutCount.load(), 0);
}

// Hosts flush events with calls of no frames (some pass a negative count):
// such a call writes no audio and runs no handler, but still refreshes the
// tempo and sends pending MIDI, through both entries.
TEST_F(ModuleProcessing, CallsWithoutFramesRefreshTheTempoAndSendPendingMidi) {
  TProcessProbe probe(WriteConstant(2, 0.5f));
  module->SetOnProcess(probe.Event());
  module->SetOnProcessReplacing(probe.Event());
  TAudioBuffers buffers(2, 4, 1.0f);
  const struct {
    void (*Entry)(TCustomVST1Module&, float**, float**, int32_t);
    int32_t Frames;
    float** Channels;
  } calls[] = {{Process, 0, buffers.Pointers()}, {ProcessReplacing, 0, buffers.Pointers()},
               {Process, -5, buffers.Pointers()}, {ProcessReplacing, -1, nullptr}};
  intptr_t tempo = 1000000;
  for (const auto& call : calls) {
    host.TempoTimes10000 = tempo += 10000;
    module->MidiOutCount = 1;
    call.Entry(*module, call.Channels, call.Channels, call.Frames);
    EXPECT_FLOAT_EQ(module->Tempo(), static_cast<float>(tempo) / 10000.0f) << call.Frames;
    EXPECT_EQ(module->MidiOutCount.load(), 0) << call.Frames;
  }
  EXPECT_EQ(host.EventCounts, (std::vector<int32_t>{1, 1, 1, 1}));
  EXPECT_EQ(probe.Calls, 0);
  EXPECT_EQ(buffers.Channel(0), std::vector<float>(4, 1.0f));
}

}  // namespace
}  // namespace zelk::tests
