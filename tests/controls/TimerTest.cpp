// The repeat timer: it fires OnTimer every Interval on the test clock, holds
// a window only while it runs, re-arms on every change that matters and
// survives handlers that stop or free it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/DIBTimer.h"
#include "platform/headless/HeadlessWindows.h"
#include "runtime/Exceptions.h"
#include "toolkit/Toolkit.h"

namespace zelk::tests {
namespace {

using TTimerPtr = std::unique_ptr<TDIBTimer, TFreeObject>;

// Records the clock at every tick; may stop, free or fail its timer.
class TTickLog : public TObject {
 public:
  void Tick(TObject* sender) {
    ticks.push_back(TickCount() - start);
    if (stopAfter != 0 && ticks.size() == stopAfter) static_cast<TDIBTimer*>(sender)->SetEnabled(false);
    if (freeOnTick != nullptr) freeOnTick->reset();
    if (failing) throw Exception("The tick failed");
  }
  TNotifyEvent Handler() { return TNotifyEvent::Bind<&TTickLog::Tick>(this); }

  std::vector<uint32_t> ticks;
  uint32_t start = TickCount();
  size_t stopAfter = 0;
  TTimerPtr* freeOnTick = nullptr;
  bool failing = false;
};

class DIBTimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeToolkit();
    timer.reset(New<TDIBTimer>(nullptr));
  }
  TTimerPtr timer;
  TTickLog log;
  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
};

// A new timer with a handler waits to be enabled, then ticks every second.
TEST_F(DIBTimerTest, StartsDisabledWithAOneSecondInterval) {
  timer->SetOnTimer(log.Handler());
  EXPECT_FALSE(timer->Running());
  windows.AdvanceClock(3000);
  EXPECT_TRUE(log.ticks.empty());
  log.start = TickCount();
  timer->SetEnabled(true);
  windows.AdvanceClock(2500);
  EXPECT_EQ(log.ticks, (std::vector<uint32_t>{1000, 2000}));
}

TEST_F(DIBTimerTest, FiresEveryIntervalUntilDisabled) {
  timer->SetInterval(250);
  timer->SetOnTimer(log.Handler());
  timer->SetEnabled(true);
  ASSERT_TRUE(timer->Running());
  windows.AdvanceClock(800);
  EXPECT_EQ(log.ticks, (std::vector<uint32_t>{250, 500, 750}));
  timer->SetEnabled(false);
  EXPECT_FALSE(timer->Running());
  windows.AdvanceClock(1000);
  EXPECT_EQ(log.ticks.size(), 3u);
}

// Without an interval or a handler there is nothing to run: no window.
TEST_F(DIBTimerTest, HoldsNoWindowWithoutIntervalOrHandler) {
  timer->SetEnabled(true);
  EXPECT_FALSE(timer->Running()) << "no OnTimer";
  timer->SetOnTimer(log.Handler());
  EXPECT_TRUE(timer->Running());
  timer->SetInterval(0);
  EXPECT_FALSE(timer->Running()) << "Interval 0";
  windows.AdvanceClock(5000);
  EXPECT_TRUE(log.ticks.empty());
  timer->SetInterval(100);
  timer->SetOnTimer({});
  EXPECT_FALSE(timer->Running()) << "OnTimer cleared";
  EXPECT_TRUE(timer->Enabled());
}

// Re-arming restarts the interval: writing the same Interval does not,
// assigning OnTimer always does.
TEST_F(DIBTimerTest, OnlyRealChangesRearm) {
  timer->SetInterval(100);
  timer->SetOnTimer(log.Handler());
  timer->SetEnabled(true);
  windows.AdvanceClock(60);
  timer->SetInterval(100);
  windows.AdvanceClock(40);
  EXPECT_EQ(log.ticks, (std::vector<uint32_t>{100}));
  windows.AdvanceClock(60);
  timer->SetOnTimer(log.Handler());
  windows.AdvanceClock(40);
  EXPECT_EQ(log.ticks, (std::vector<uint32_t>{100})) << "re-armed at 160, next tick at 260";
  windows.AdvanceClock(60);
  EXPECT_EQ(log.ticks, (std::vector<uint32_t>{100, 260}));
}

TEST_F(DIBTimerTest, AHandlerMayStopOrFreeItsTimer) {
  timer->SetInterval(10);
  timer->SetOnTimer(log.Handler());
  log.stopAfter = 2;
  timer->SetEnabled(true);
  windows.AdvanceClock(100);
  EXPECT_EQ(log.ticks.size(), 2u);
  EXPECT_FALSE(timer->Running());

  log.stopAfter = 0;
  log.freeOnTick = &timer;
  timer->SetEnabled(true);
  windows.AdvanceClock(100);
  EXPECT_EQ(log.ticks.size(), 3u);
  EXPECT_EQ(timer, nullptr);
}

TEST_F(DIBTimerTest, AnExceptionFromTheHandlerIsShownAndTheTimerRunsOn) {
  const size_t shown = windows.MessagesShown().size();
  log.failing = true;
  timer->SetInterval(10);
  timer->SetOnTimer(log.Handler());
  timer->SetEnabled(true);
  windows.AdvanceClock(20);
  ASSERT_EQ(windows.MessagesShown().size(), shown + 2);
  EXPECT_EQ(windows.MessagesShown().back(), "The tick failed");
  EXPECT_TRUE(timer->Running());
}

TEST_F(DIBTimerTest, FreeingARunningTimerStopsIt) {
  timer->SetInterval(10);
  timer->SetOnTimer(log.Handler());
  timer->SetEnabled(true);
  timer.reset();
  windows.AdvanceClock(100);
  EXPECT_TRUE(log.ticks.empty());
}

}  // namespace
}  // namespace zelk::tests
