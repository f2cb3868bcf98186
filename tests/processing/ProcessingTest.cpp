#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/AudioRoutines.h"
#include "framework/Processing.h"
#include "tests/support/AudioBuffers.h"

namespace zelk::tests {
namespace {

constexpr TChannelCounts kStereo{2, 2};

// ---- The plain routines, also when a host processes in place ----

TEST(AudioRoutines, CopyTouchesOnlyTheSharedChannels) {
  TAudioBuffers inputs(2, 4);
  inputs.FillRamp();
  TAudioBuffers outputs(1, 4, 9.0f);
  CopyChannels(inputs.Pointers(), outputs.Pointers(), 1, 4);
  EXPECT_EQ(outputs.Channel(0), (std::vector<float>{1000, 1001, 1002, 1003}));
}

TEST(AudioRoutines, InPlaceCopyMuteAndAccumulateAreCorrect) {
  TAudioBuffers buffers(2, 4);
  buffers.FillRamp();
  CopyChannels(buffers.Pointers(), buffers.Pointers(), 2, 4);
  EXPECT_EQ(buffers.Channel(1), (std::vector<float>{2000, 2001, 2002, 2003}));
  AccumulateChannels(buffers.Pointers(), buffers.Pointers(), 2, 4);
  EXPECT_EQ(buffers.Channel(0), (std::vector<float>{2000, 2002, 2004, 2006}));
  MuteChannels(buffers.Pointers(), 2, 4);
  EXPECT_EQ(buffers.Channel(1), std::vector<float>(4, 0.0f));
}

TEST(AudioRoutines, NullBuffersAndEmptyCountsTouchNothing) {
  TAudioBuffers outputs(1, 4, 3.0f);
  float* channels[] = {nullptr, outputs.Pointers()[0]};
  MuteChannels(channels, 2, 4);
  MuteChannels(nullptr, 2, 4);
  MuteChannels(outputs.Pointers(), 1, -5);
  CopyChannels(nullptr, outputs.Pointers(), 1, 4);
  EXPECT_EQ(outputs.Channel(0), std::vector<float>(4, 0.0f));
}

// ---- Which handler each entry runs ----

TEST(ProcessRoutes, EachModeRoutesToItsRoutine) {
  TProcessProbe probe;
  const TProcessAudioEvent user = probe.Event();
  EXPECT_EQ(RouteFor(pmNormal, user).Routine, TProcessRoutine::prUser);
  EXPECT_EQ(RouteFor(pmBlockSave, user).Routine, TProcessRoutine::prBlock);
  EXPECT_EQ(RouteFor(pmCopy, user).Routine, TProcessRoutine::prCopy);
  EXPECT_EQ(RouteFor(pmMute, user).Routine, TProcessRoutine::prMute);
  EXPECT_EQ(RouteFor(pmNormal, {}).Routine, TProcessRoutine::prNone);
  EXPECT_EQ(RouteFor(pmBlockSave, {}).Routine, TProcessRoutine::prNone);
  EXPECT_EQ(RouteFor(pmCopy, {}).Routine, TProcessRoutine::prCopy);
}

TEST(ProcessRoutes, AssigningOneEventReroutesOnlyItsEntry) {
  TProcessing processing;
  TProcessProbe accumulate;
  TProcessProbe replace;
  processing.RouteAccumulating(accumulate.Event());
  EXPECT_EQ(processing.EffectiveProcess().Event, accumulate.Event());
  EXPECT_EQ(processing.EffectiveProcessReplacing().Routine, TProcessRoutine::prNone);
  processing.RouteReplacing(replace.Event());
  EXPECT_TRUE(processing.SetMode(pmBlockSave, accumulate.Event(), replace.Event()));
  EXPECT_EQ(processing.EffectiveProcessReplacing().Routine, TProcessRoutine::prBlock);
  EXPECT_EQ(processing.EffectiveProcessReplacing().Event, replace.Event());
  EXPECT_FALSE(processing.SetMode(pmBlockSave, {}, {}));  // unchanged mode: nothing happens
  EXPECT_EQ(processing.EffectiveProcess().Event, accumulate.Event());
}

// A route that was replaced may still be running on the audio thread; it
// must stay valid, and switching back and forth must not pile up routes.
TEST(ProcessRoutes, ReplacedRoutesStayValidAndAreShared) {
  TProcessing processing;
  TProcessProbe probe;
  processing.RouteReplacing(probe.Event());
  const TProcessRoute* first = &processing.EffectiveProcessReplacing();
  processing.RouteReplacing({});
  processing.RouteReplacing(probe.Event());
  EXPECT_EQ(&processing.EffectiveProcessReplacing(), first);
  EXPECT_EQ(first->Event, probe.Event());
}

// ---- The two entries ----

TEST(ProcessEntries, ReplacingHandsTheHostBuffersToTheHandler) {
  TProcessing processing;
  TProcessProbe probe(WriteConstant(2, 0.5f));
  processing.RouteReplacing(probe.Event());
  TAudioBuffers inputs(2, 8);
  TAudioBuffers outputs(2, 8, 1.0f);
  processing.ProcessReplacing(inputs.Pointers(), outputs.Pointers(), 8, kStereo);
  EXPECT_EQ(probe.LastInputs, inputs.Pointers());
  EXPECT_EQ(probe.LastOutputs, outputs.Pointers());
  EXPECT_EQ(outputs.Channel(1), std::vector<float>(8, 0.5f));
}

TEST(ProcessEntries, AccumulatingAddsTheHandlersOutput) {
  TProcessing processing;
  processing.ReserveScratch(kStereo, 8);
  TProcessProbe probe(WriteConstant(2, 0.5f));
  processing.RouteAccumulating(probe.Event());
  TAudioBuffers inputs(2, 8);
  TAudioBuffers outputs(2, 8, 1.0f);
  processing.ProcessAccumulating(inputs.Pointers(), outputs.Pointers(), 8, kStereo);
  EXPECT_EQ(outputs.Channel(0), std::vector<float>(8, 1.5f));
  EXPECT_EQ(outputs.Channel(1), std::vector<float>(8, 1.5f));
  EXPECT_NE(probe.LastOutputs, outputs.Pointers());  // it wrote into scratch buffers
}

// In place, the handler reads the very samples it is added to.
TEST(ProcessEntries, AccumulatingInPlaceAddsTheProcessedInput) {
  TProcessing processing;
  TProcessProbe probe(PassThrough(2));
  processing.RouteAccumulating(probe.Event());
  TAudioBuffers buffers(2, 4);
  buffers.FillRamp();
  processing.ProcessAccumulating(buffers.Pointers(), buffers.Pointers(), 4, kStereo);
  EXPECT_EQ(buffers.Channel(0), (std::vector<float>{2000, 2002, 2004, 2006}));
}

TEST(ProcessEntries, WithoutHandlerOutputsKeepWhatTheyHold) {
  TProcessing processing;
  TAudioBuffers inputs(2, 4, 3.0f);
  TAudioBuffers outputs(2, 4, 1.0f);
  processing.ProcessReplacing(inputs.Pointers(), outputs.Pointers(), 4, kStereo);
  processing.ProcessAccumulating(inputs.Pointers(), outputs.Pointers(), 4, kStereo);
  EXPECT_EQ(outputs.Channel(0), std::vector<float>(4, 1.0f));
}

// A failing handler must never take the host down with it.
TEST(ProcessEntries, AThrowingHandlerLeavesSilenceAndNoException) {
  TProcessing processing;
  TProcessProbe probe([](float**, float** outputs, int32_t) {
    outputs[0][0] = 42.0f;
    throw std::runtime_error("handler failed");
  });
  processing.RouteReplacing(probe.Event());
  processing.RouteAccumulating(probe.Event());
  TAudioBuffers inputs(2, 4);
  TAudioBuffers outputs(2, 4, 1.0f);
  EXPECT_NO_THROW(processing.ProcessAccumulating(inputs.Pointers(), outputs.Pointers(), 4, kStereo));
  EXPECT_EQ(outputs.Channel(0), std::vector<float>(4, 1.0f));
  EXPECT_NO_THROW(processing.ProcessReplacing(inputs.Pointers(), outputs.Pointers(), 4, kStereo));
  EXPECT_EQ(outputs.Channel(0), std::vector<float>(4, 0.0f));
  EXPECT_EQ(outputs.Channel(1), std::vector<float>(4, 0.0f));
}

TEST(ProcessEntries, CopyAndMuteModesNeedNoHandler) {
  TProcessing processing;
  processing.SetMode(pmCopy, {}, {});
  TAudioBuffers inputs(2, 4);
  inputs.FillRamp();
  TAudioBuffers outputs(1, 4, 9.0f);
  processing.ProcessReplacing(inputs.Pointers(), outputs.Pointers(), 4, {2, 1});
  EXPECT_EQ(outputs.Channel(0), (std::vector<float>{1000, 1001, 1002, 1003}));
  processing.SetMode(pmMute, {}, {});
  processing.ProcessReplacing(inputs.Pointers(), inputs.Pointers(), 4, kStereo);
  EXPECT_EQ(inputs.Channel(1), std::vector<float>(4, 0.0f));
}

// A host that sends more than it announced is served in slices of the
// prepared size; the handler sees each stretch of the host's buffers once.
TEST(ProcessEntries, ALongerBlockThanAnnouncedIsProcessedInSlices) {
  TProcessing processing;
  processing.ReserveScratch(kStereo, TScratchBuffers::kMinimumFrames);
  TProcessProbe probe(PassThrough(2));
  processing.RouteAccumulating(probe.Event());
  const int32_t frames = 3 * TScratchBuffers::kMinimumFrames + 5;
  TAudioBuffers buffers(2, frames);
  buffers.FillRamp();
  const std::vector<float> ramp = buffers.Channel(1);
  processing.ProcessAccumulating(buffers.Pointers(), buffers.Pointers(), frames, kStereo);
  for (int32_t i = 0; i < frames; ++i) ASSERT_EQ(buffers.At(1, i), 2 * ramp[i]) << i;
  EXPECT_EQ(probe.Calls, 4);
  EXPECT_EQ(processing.Scratch().Frames(), TScratchBuffers::kMinimumFrames);
}

// Buffers reserved for more channels reach the next call; until then a call
// with more channels than the buffers hold adds nothing rather than write
// past them.
TEST(ProcessEntries, ScratchBuffersFollowTheChannelCounts) {
  TProcessing processing;
  TProcessProbe probe(WriteConstant(4, 0.25f));
  processing.RouteAccumulating(probe.Event());
  TAudioBuffers inputs(4, 8);
  TAudioBuffers outputs(4, 8, 1.0f);
  processing.ProcessAccumulating(inputs.Pointers(), outputs.Pointers(), 8, {4, 4});
  EXPECT_EQ(outputs.Channel(3), std::vector<float>(8, 1.0f));
  processing.ReserveScratch({4, 4}, 8);
  processing.ProcessAccumulating(inputs.Pointers(), outputs.Pointers(), 8, {4, 4});
  EXPECT_EQ(outputs.Channel(3), std::vector<float>(8, 1.25f));
  EXPECT_EQ(processing.Scratch().Channels().Outputs, 4);
}

}  // namespace
}  // namespace zelk::tests
