// zelk-render hosts the real plug-in and writes what it produced: at 360
// degrees the file comes back unchanged (same samples, same format), at 180
// the channels are exchanged with the new right inverted, and a sweep sets
// the angle per block from FROM at the first frame to TO at the last.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

#include "RenderTestSupport.h"

namespace zelk::tests {
namespace {

class RenderAngles : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FindPluginUnderTest(m_Plugin));
  }

  // Renders `frames` through the plug-in with the extra arguments and
  // answers the output frames.
  std::vector<TFrame> Render(const std::vector<TFrame>& frames, std::vector<std::string> arguments,
                             int* format = nullptr) {
    WriteStereoWav(m_Folder.PathOf("in.wav"), frames);
    arguments.insert(arguments.end(), {"--plugin", m_Plugin, m_Folder.PathOf("in.wav"), m_Folder.PathOf("out.wav")});
    const TRunResult run = RunRenderer(arguments);
    EXPECT_EQ(run.ExitCode, 0) << run.Errors;
    return ReadStereoWav(m_Folder.PathOf("out.wav"), format);
  }

  std::string m_Plugin;
  TTemporaryFolder m_Folder;
};

TEST_F(RenderAngles, At360DegreesTheFileComesBackUnchanged) {
  const std::vector<TFrame> input = TestFrames(3000);
  int format = 0;
  const std::vector<TFrame> output = Render(input, {"--angle", "360"}, &format);
  EXPECT_EQ(format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  ASSERT_EQ(output.size(), input.size());
  for (size_t i = 0; i < input.size(); ++i) {
    ASSERT_EQ(output[i].Left, input[i].Left) << "frame " << i;
    ASSERT_EQ(output[i].Right, input[i].Right) << "frame " << i;
  }
}

TEST_F(RenderAngles, At180DegreesLeftTakesRightAndRightTakesMinusLeft) {
  const std::vector<TFrame> input = TestFrames(3000);
  // An odd block size leaves a short last block.
  const std::vector<TFrame> output = Render(input, {"--angle", "180", "--block", "333"});
  ASSERT_EQ(output.size(), input.size());
  for (size_t i = 0; i < input.size(); ++i) {
    ASSERT_EQ(output[i].Left, input[i].Right) << "frame " << i;
    ASSERT_EQ(output[i].Right, -input[i].Left) << "frame " << i;
  }
}

TEST_F(RenderAngles, ASweepSetsTheAngleOncePerBlockFromFirstToLastFrame) {
  // Half scale, so that the mix at 270 degrees cannot clip.
  std::vector<TFrame> input = TestFrames(1001);
  for (TFrame& frame : input) {
    frame = {static_cast<int16_t>(frame.Left / 2), static_cast<int16_t>(frame.Right / 2)};
  }
  // Blocks start at frames 0, 250, 500, 750 and 1000 (the last frame alone):
  // 180, 225, 270, 315 and 360 degrees.
  const std::vector<TFrame> output = Render(input, {"--sweep", "180:360", "--block", "250"});
  ASSERT_EQ(output.size(), input.size());
  for (size_t i = 0; i < 250; ++i) {
    ASSERT_EQ(output[i].Left, input[i].Right) << "frame " << i;
    ASSERT_EQ(output[i].Right, -input[i].Left) << "frame " << i;
  }
  const double half = std::sqrt(0.5);
  for (size_t i = 500; i < 750; ++i) {
    const double left = input[i].Left, right = input[i].Right;
    ASSERT_NEAR(output[i].Left, half * (left + right), 1.0) << "frame " << i;
    ASSERT_NEAR(output[i].Right, half * (right - left), 1.0) << "frame " << i;
  }
  EXPECT_EQ(output[1000].Left, input[1000].Left);
  EXPECT_EQ(output[1000].Right, input[1000].Right);
}

}  // namespace
}  // namespace zelk::tests
