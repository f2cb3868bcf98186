// A host automates the angle on one thread while its audio thread processes
// through both process entries. Under ThreadSanitizer (scripts/test-tsan)
// this must run without a single report; in every build, no block may come
// out broken (non-finite, or louder than any mix of two coefficients of
// magnitude at most 1 allows), no automation report may be lost, and the
// plug-in must settle on the last value once the storm is over.
//
// ZELK_STRESS_SECONDS sets how long the two threads run (default 0.5 s);
// each thread also stops after a fixed number of calls.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/BuiltPlugin.h"
#include "tests/support/SampleBuffers.h"
#include "tests/support/StressDuration.h"
#include "tools/common/HostSession.h"

namespace zelk::tests {
namespace {

using host::THostSession;

constexpr int32_t kBlockSize = 256;
constexpr int64_t kMaxCallsPerThread = 20'000'000;
// |CosAngle| + |SinAngle| <= 2 even when a block sees a new cosine with an
// old sine, and the inputs stay within [-1, 1].
constexpr float kLoudestPossible = 2.0f;

TAudioBuffers AudioBlock() {
  TAudioBuffers block(2, kBlockSize);
  block.FillNoise(3);
  return block;
}

bool IsSane(TAudioBuffers& block) {
  for (int32_t i = 0; i < kBlockSize; ++i) {
    for (float sample : {block.At(0, i), block.At(1, i)}) {
      if (!std::isfinite(sample) || std::fabs(sample) > kLoudestPossible) {
        return false;
      }
    }
  }
  return true;
}

class AutomationWhileProcessing : public testing::Test {
 protected:
  void SetUp() override {
    std::string plugin;
    ASSERT_TRUE(FindBuiltPlugin(plugin));
    ASSERT_TRUE(m_Session.Open(plugin, {48000.0f, kBlockSize})) << m_Session.ErrorText();
    m_Session.Resume();
  }

  // Sweeps the normalized angle back and forth, reading it back each time.
  void Automate(std::chrono::steady_clock::time_point end) {
    for (int64_t call = 0; call < kMaxCallsPerThread && std::chrono::steady_clock::now() < end; ++call) {
      const float value = static_cast<float>(call % 1001) / 1000.0f;
      m_Session.SetParameter(0, value);
      const float readBack = m_Session.GetParameter(0);
      if (!(readBack >= 0.0f && readBack <= 1.0f)) {
        m_BadReadBacks.fetch_add(1, std::memory_order_relaxed);
      }
      m_SetCalls.fetch_add(1, std::memory_order_relaxed);
    }
  }

  // Alternates the replacing and the accumulating entry on fresh outputs.
  void Process(std::chrono::steady_clock::time_point end) {
    TAudioBuffers input = AudioBlock();
    for (int64_t call = 0; call < kMaxCallsPerThread && std::chrono::steady_clock::now() < end; ++call) {
      TAudioBuffers output(2, kBlockSize);
      if (call % 2 == 0) {
        m_Session.ProcessReplacing(input.Pointers(), output.Pointers(), kBlockSize);
      } else {
        m_Session.ProcessAccumulating(input.Pointers(), output.Pointers(), kBlockSize);
      }
      if (!IsSane(output)) {
        m_BrokenBlocks.fetch_add(1, std::memory_order_relaxed);
      }
      m_ProcessCalls.fetch_add(1, std::memory_order_relaxed);
    }
  }

  THostSession m_Session;
  std::atomic<int64_t> m_SetCalls{0}, m_ProcessCalls{0}, m_BadReadBacks{0}, m_BrokenBlocks{0};
};

TEST_F(AutomationWhileProcessing, NeitherThreadDisturbsTheOther) {
  const auto end = StressEnd();
  std::thread automation([&] { Automate(end); });
  std::thread audio([&] { Process(end); });
  automation.join();
  audio.join();
  std::printf("%lld setParameter/getParameter pairs and %lld process calls in %.1f s\n",
              static_cast<long long>(m_SetCalls.load()), static_cast<long long>(m_ProcessCalls.load()),
              StressDuration().count());

  EXPECT_GT(m_SetCalls.load(), 0);
  EXPECT_GT(m_ProcessCalls.load(), 0);
  EXPECT_EQ(m_BadReadBacks.load(), 0);
  EXPECT_EQ(m_BrokenBlocks.load(), 0);
  EXPECT_EQ(static_cast<int64_t>(m_Session.AutomationReportCount()), m_SetCalls.load());

  // Settled: at 360 degrees the signal passes unchanged.
  m_Session.SetParameter(0, 1.0f);
  EXPECT_EQ(m_Session.GetParameter(0), 1.0f);
  TAudioBuffers input = AudioBlock();
  TAudioBuffers output(2, kBlockSize);
  m_Session.ProcessReplacing(input.Pointers(), output.Pointers(), kBlockSize);
  EXPECT_EQ(output.Channel(0), input.Channel(0));
  EXPECT_EQ(output.Channel(1), input.Channel(1));
}

}  // namespace
}  // namespace zelk::tests
