// The audio path must not allocate in steady state: an allocation can take
// a lock inside the allocator and stall the host's audio thread. This
// binary replaces the global allocation functions to count allocations made
// on the testing thread while a measurement is open.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/AllocationCounting.h"
#include "tests/support/AudioBuffers.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestModule.h"

namespace zelk::tests {
namespace {

constexpr int32_t kBlockSize = 64;

class RealTimeSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    host.Calls.reserve(100000);
    module = MakeTestModule();
    module->HostCallback = TRecordingHost::Callback();
    AddParameter(*module, 0, 360);
    module->SetOnProcess(probe.Event());
    module->SetOnProcessReplacing(probe.Event());
    module->Dispatch(effSetBlockSize, 0, kBlockSize, nullptr, 0.0f);
    module->Dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
  }

  // What a host does on its audio thread, with blocks up to the announced size.
  void RunAudioCalls(int rounds) {
    for (int round = 0; round < rounds; ++round) {
      const int32_t frames = kBlockSize - round % 7;
      module->Effect.setParameter(&module->Effect, 0, static_cast<float>(round % 10) / 10.0f);
      module->Effect.processReplacing(&module->Effect, inputs.Pointers(), outputs.Pointers(), frames);
      module->Effect.process(&module->Effect, inputs.Pointers(), outputs.Pointers(), frames);
      module->Effect.process(&module->Effect, outputs.Pointers(), outputs.Pointers(), frames);  // in place
      module->Effect.getParameter(&module->Effect, 0);
    }
  }

  TRecordingHost host;
  TTestModulePtr module;
  TProcessProbe probe{PassThrough(2)};
  TAudioBuffers inputs{2, kBlockSize, 0.25f};
  TAudioBuffers outputs{2, kBlockSize};
};

TEST_F(RealTimeSafety, NoAllocationInAnyModeOnceRunning) {
  for (TProcessingMode mode : {pmNormal, pmBlockSave, pmCopy, pmMute}) {
    module->SetBlockModeSize(48);
    module->SetBlockModeOverlap(16);
    module->SetProcessingMode(mode);
    RunAudioCalls(2);  // the first calls may still settle
    TAllocationCount count;
    RunAudioCalls(200);
    EXPECT_EQ(count.Stop(), 0) << "mode " << mode;
  }
  EXPECT_GT(probe.Calls, 0);
}

TEST_F(RealTimeSafety, PendingMidiIsSentWithoutAllocating) {
  host.EventCounts.reserve(1000);
  RunAudioCalls(1);
  TAllocationCount count;
  for (int round = 0; round < 100; ++round) {
    module->MidiOutCount = 3;
    module->Effect.processReplacing(&module->Effect, inputs.Pointers(), outputs.Pointers(), kBlockSize);
  }
  EXPECT_EQ(count.Stop(), 0);
  EXPECT_EQ(host.EventCounts.size(), 100u);
}

// Hosts change the block size while running and break the size they
// announced: the new buffers are prepared on the dispatching thread, and the
// audio thread takes them over, or works in slices, without allocating.
TEST_F(RealTimeSafety, BlockSizeChangesAndLongerBlocksDoNotAllocateOnTheAudioPath) {
  TAudioBuffers longInputs(2, 4 * kBlockSize, 0.25f);
  TAudioBuffers longOutputs(2, 4 * kBlockSize);
  for (int32_t blockSize : {4 * kBlockSize, kBlockSize / 2, 3 * kBlockSize}) {
    module->Dispatch(effSetBlockSize, 0, blockSize, nullptr, 0.0f);
    TAllocationCount count;
    module->Effect.process(&module->Effect, longInputs.Pointers(), longOutputs.Pointers(), 4 * kBlockSize);
    module->Effect.process(&module->Effect, inputs.Pointers(), outputs.Pointers(), kBlockSize);
    EXPECT_EQ(count.Stop(), 0) << "block size " << blockSize;
  }
}

// The counter itself must see allocations, or the tests above prove nothing.
TEST_F(RealTimeSafety, TheCounterSeesAHandlerThatAllocates) {
  std::unique_ptr<float[]> kept;
  TProcessProbe allocating([&kept](float**, float**, int32_t frames) { kept.reset(new float[frames]); });
  module->SetOnProcess(allocating.Event());
  TAllocationCount count;
  module->Effect.process(&module->Effect, inputs.Pointers(), outputs.Pointers(), kBlockSize);
  EXPECT_GT(count.Stop(), 0);
}

}  // namespace
}  // namespace zelk::tests
