#include <gtest/gtest.h>

#include "framework/BlockProcessor.h"
#include "tests/support/AudioBuffers.h"

namespace zelk::tests {
namespace {

// Feeds a ramp through the processor in host blocks of hostFrames and
// answers what came out of channel 0.
std::vector<float> RunRamp(TBlockProcessor& blocks, TProcessProbe& probe, int32_t hostFrames, int32_t calls,
                           bool inPlace = false) {
  std::vector<float> heard;
  for (int32_t call = 0; call < calls; ++call) {
    TAudioBuffers inputs(1, hostFrames);
    inputs.FillRamp(call * hostFrames);
    TAudioBuffers outputs(1, hostFrames, -1.0f);
    float** out = inPlace ? inputs.Pointers() : outputs.Pointers();
    blocks.Process(probe.Event(), inputs.Pointers(), out, hostFrames);
    for (int32_t frame = 0; frame < hostFrames; ++frame) heard.push_back(out[0][frame]);
  }
  return heard;
}

// Blocks of 4 from host blocks of 3: the handler always sees 4 frames, and
// the host hears 4 frames of silence, then the input 4 frames late.
TEST(BlockProcessor, GathersHostBlocksIntoFixedBlocksWithDelay) {
  TBlockProcessor blocks;
  ASSERT_TRUE(blocks.SetSize(4));
  blocks.Prepare(1, 1);
  TProcessProbe probe(PassThrough(1));
  probe.FrameCounts.reserve(16);
  const std::vector<float> heard = RunRamp(blocks, probe, 3, 4);

  EXPECT_EQ(probe.Calls, 3);  // 12 frames make three blocks
  EXPECT_EQ(probe.FrameCounts, (std::vector<int32_t>{4, 4, 4}));
  ASSERT_EQ(heard.size(), 12u);
  for (int frame = 0; frame < 4; ++frame) EXPECT_EQ(heard[frame], 0.0f) << frame;
  for (int frame = 4; frame < 12; ++frame) EXPECT_EQ(heard[frame], 1000.0f + (frame - 4)) << frame;
  EXPECT_EQ(blocks.Latency(), 4);
}

// Hosts that process in place hand the same buffer in and out.
TEST(BlockProcessor, InPlaceBuffersGiveTheSameResult) {
  TBlockProcessor separate;
  TBlockProcessor inPlace;
  for (TBlockProcessor* blocks : {&separate, &inPlace}) {
    blocks->SetSize(8);
    blocks->SetOverlap(2);
    blocks->Prepare(1, 1);
  }
  TProcessProbe probe(PassThrough(1));
  EXPECT_EQ(RunRamp(separate, probe, 5, 9), RunRamp(inPlace, probe, 5, 9, true));
}

// With overlap V each block starts with the newest V samples of the last.
TEST(BlockProcessor, OverlapKeepsTheNewestSamplesInFront) {
  TBlockProcessor blocks;
  blocks.SetSize(4);
  blocks.SetOverlap(1);
  blocks.Prepare(1, 1);
  std::vector<std::vector<float>> seen;
  TProcessProbe probe([&seen](float** inputs, float**, int32_t frames) {
    seen.emplace_back(inputs[0], inputs[0] + frames);
  });
  RunRamp(blocks, probe, 2, 5);  // 10 frames: 1000..1009
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], (std::vector<float>{0, 1000, 1001, 1002}));
  EXPECT_EQ(seen[1], (std::vector<float>{1002, 1003, 1004, 1005}));
  EXPECT_EQ(seen[2], (std::vector<float>{1005, 1006, 1007, 1008}));
  EXPECT_EQ(blocks.Latency(), 3);
}

// Sizes and overlaps that would stop the blocks from advancing are refused.
TEST(BlockProcessor, RefusesSizesThatCannotAdvance) {
  TBlockProcessor blocks;
  blocks.SetSize(4);
  EXPECT_FALSE(blocks.SetOverlap(4));
  EXPECT_FALSE(blocks.SetOverlap(-1));
  EXPECT_TRUE(blocks.SetOverlap(3));
  EXPECT_FALSE(blocks.SetSize(3));
  EXPECT_FALSE(blocks.SetSize(0));
  EXPECT_EQ(blocks.Size(), 4);
  EXPECT_EQ(blocks.Overlap(), 3);
}

// Blocks of an old size must not be used after the size changed.
TEST(BlockProcessor, UnpreparedBlocksGiveSilence) {
  TBlockProcessor blocks;
  blocks.SetSize(4);
  blocks.Prepare(1, 2);
  blocks.SetSize(64);
  EXPECT_FALSE(blocks.IsPrepared());
  TAudioBuffers inputs(1, 8, 1.0f);
  TAudioBuffers outputs(2, 8, 7.0f);
  TProcessProbe probe(PassThrough(1));
  blocks.Process(probe.Event(), inputs.Pointers(), outputs.Pointers(), 8);
  EXPECT_EQ(probe.Calls, 0);
  EXPECT_EQ(outputs.Channel(1), std::vector<float>(8, 0.0f));
}

TEST(BlockProcessor, PrepareKeepsSamplesAndRewinds) {
  TBlockProcessor blocks;
  blocks.SetSize(4);
  blocks.SetOverlap(2);
  blocks.Prepare(1, 1);
  blocks.BlockOutputs()[0][3] = 5.0f;
  blocks.Prepare(2, 1);
  EXPECT_EQ(blocks.BlockOutputs()[0][3], 5.0f);
  EXPECT_EQ(blocks.InputChannels(), 2);
  EXPECT_EQ(blocks.BlockInputs()[1][3], 0.0f);
  EXPECT_EQ(blocks.Position(), 2);
  blocks.Release();
  EXPECT_EQ(blocks.InputChannels(), 0);
}

}  // namespace
}  // namespace zelk::tests
