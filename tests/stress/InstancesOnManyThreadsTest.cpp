// Hosts scan and instantiate plug-ins on worker threads: several threads
// create instances through the entry point, use them and close them again,
// all at once. Under ThreadSanitizer (scripts/test-tsan) this runs without a
// report; in every build every entry-point call answers an effect, and each
// instance works on its own.
//
// ZELK_STRESS_SECONDS bounds how long the threads run (default 0.5 s); each
// thread also stops after kInstancesPerThread instances.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
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

constexpr int kThreads = 4;
constexpr int kInstancesPerThread = 100;
constexpr int32_t kFrames = 64;

class InstancesOnManyThreads : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FindBuiltPlugin(m_Plugin));
    // Holds the library loaded, so that the threads share one copy of it
    // rather than load and unload it in turn.
    ASSERT_TRUE(m_Holder.Open(m_Plugin, {})) << m_Holder.ErrorText();
  }

  // Creates, uses and closes one instance after another. Each instance
  // passes its input through at 360 degrees and exchanges the channels with
  // one inverted at 180 degrees.
  void CreateUseAndClose(std::chrono::steady_clock::time_point end) {
    TAudioBuffers input(2, kFrames, 0.25f);
    std::fill_n(input.Data(1), kFrames, -0.5f);
    TAudioBuffers output(2, kFrames);
    for (int instance = 0; instance < kInstancesPerThread && std::chrono::steady_clock::now() < end; ++instance) {
      THostSession session;
      if (!session.Open(m_Plugin, {44100.0f, kFrames})) {
        std::lock_guard lock(m_FailureLock);
        m_Failures.push_back(session.ErrorText());
        continue;
      }
      session.Resume();
      session.SetParameter(0, 1.0f);
      session.ProcessReplacing(input.Pointers(), output.Pointers(), kFrames);
      if (output.Channel(0) != input.Channel(0) || output.Channel(1) != input.Channel(1)) m_WrongInstances.fetch_add(1, std::memory_order_relaxed);
      session.Close();
      m_Instances.fetch_add(1, std::memory_order_relaxed);
    }
  }

  std::string m_Plugin;
  THostSession m_Holder;
  std::atomic<int> m_Instances{0}, m_WrongInstances{0};
  std::mutex m_FailureLock;
  std::vector<std::string> m_Failures;
};

TEST_F(InstancesOnManyThreads, EveryThreadGetsWorkingInstances) {
  const auto end = StressEnd();
  std::vector<std::thread> threads;
  for (int thread = 0; thread < kThreads; ++thread) threads.emplace_back([&] { CreateUseAndClose(end); });
  for (std::thread& thread : threads) thread.join();
  std::printf("%d instances on %d threads\n", m_Instances.load(), kThreads);
  EXPECT_TRUE(m_Failures.empty()) << m_Failures.size() << " failed, the first: " << m_Failures.front();
  EXPECT_GE(m_Instances.load(), kThreads);
  EXPECT_EQ(m_WrongInstances.load(), 0);
}

}  // namespace
}  // namespace zelk::tests
