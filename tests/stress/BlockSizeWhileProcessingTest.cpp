// A host changes the block size every few milliseconds (effSetBlockSize,
// effSetBlockSizeAndSampleRate, suspend and resume) while its audio thread
// keeps calling the accumulating entry with blocks of any length, also
// longer than announced. The buffers the audio thread uses must never be
// replaced or freed under it: under ThreadSanitizer (scripts/test-tsan) and
// AddressSanitizer this runs without a report, and in every build each block
// comes out as the rotation of its input added to what the outputs held.
//
// ZELK_STRESS_SECONDS sets how long the two threads run (default 0.5 s).

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

#include "tests/support/BuiltPlugin.h"
#include "tests/support/SampleBuffers.h"
#include "tests/support/StressDuration.h"
#include "tools/common/HostSession.h"

namespace zelk::tests {
namespace {

using host::THostSession;

constexpr int32_t kLongestBlock = 3000;
constexpr float kHeldBefore = 0.5f;

// What an output sample holds after the block: the sum rounded to a float,
// as the plug-in stores it (x87 code would otherwise compare the unrounded
// sum of its wider registers).
float HeldPlus(float input) {
  volatile float sum = input + kHeldBefore;
  return sum;
}

class BlockSizeWhileProcessing : public testing::Test {
 protected:
  void SetUp() override {
    std::string plugin;
    ASSERT_TRUE(FindBuiltPlugin(plugin));
    ASSERT_TRUE(m_Session.Open(plugin, {48000.0f, 512})) << m_Session.ErrorText();
    // At 360 degrees the module passes its input unchanged: every output
    // sample must be the input plus what the output held.
    m_Session.SetParameter(0, 1.0f);
    m_Session.Resume();
  }

  // What a host's settings thread does while the audio runs.
  void ChangeSettings(std::chrono::steady_clock::time_point end) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> blockSize(16, 2048);
    while (std::chrono::steady_clock::now() < end) {
      switch (m_Changes % 3) {
        case 0:
          m_Session.Dispatch(effSetBlockSize, 0, blockSize(random));
          break;
        case 1:
          m_Session.Dispatch(effSetBlockSizeAndSampleRate, 0, blockSize(random), nullptr, 44100.0f);
          break;
        default:
          m_Session.Suspend();
          m_Session.Dispatch(effSetBlockSize, 0, blockSize(random));
          m_Session.Resume();
          break;
      }
      ++m_Changes;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  void Process(std::chrono::steady_clock::time_point end) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int32_t> frames(1, kLongestBlock);
    std::uniform_real_distribution<float> audio(-1.0f, 1.0f);
    TAudioBuffers input(2, kLongestBlock);
    input.FillNoise(7);
    while (std::chrono::steady_clock::now() < end) {
      const int32_t count = frames(random);
      TAudioBuffers output(2, kLongestBlock, kHeldBefore);
      m_Session.ProcessAccumulating(input.Pointers(), output.Pointers(), count);
      for (int32_t i = 0; i < count; ++i) {
        if (output.At(0, i) != HeldPlus(input.At(0, i)) || output.At(1, i) != HeldPlus(input.At(1, i))) {
          m_WrongBlocks.fetch_add(1, std::memory_order_relaxed);
          break;
        }
      }
      m_ProcessCalls.fetch_add(1, std::memory_order_relaxed);
    }
  }

  THostSession m_Session;
  int64_t m_Changes = 0;
  std::atomic<int64_t> m_ProcessCalls{0}, m_WrongBlocks{0};
};

TEST_F(BlockSizeWhileProcessing, TheAudioThreadNeverSeesBuffersReplacedUnderIt) {
  const auto end = StressEnd();
  std::thread settings([&] { ChangeSettings(end); });
  std::thread audio([&] { Process(end); });
  settings.join();
  audio.join();
  std::printf("%lld settings changes and %lld process calls\n", static_cast<long long>(m_Changes),
              static_cast<long long>(m_ProcessCalls.load()));
  EXPECT_GT(m_Changes, 10);
  EXPECT_GT(m_ProcessCalls.load(), 10);
  EXPECT_EQ(m_WrongBlocks.load(), 0);
}

}  // namespace
}  // namespace zelk::tests
