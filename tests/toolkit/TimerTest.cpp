// Window timers fire as wmTimer messages when the clock reaches them, every
// interval, until killed; an exception from a timer's handler goes to the
// application's handler, which shows it in a message box, and the timer runs
// on.
#include "tests/toolkit/ToolkitTestSupport.h"

#include "runtime/Exceptions.h"
#include "toolkit/MessageWindow.h"

namespace zelk::tests {
namespace {

// Records the tick count at every wmTimer; throws when asked to.
class TTimerControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  void WndProc(TMessage& message) override {
    if (message.Msg == wmTimer) {
      fired.push_back(TickCount() - start);
      if (failing) throw Exception("The timer failed");
      return;
    }
    TCustomControl::WndProc(message);
  }
  std::vector<uint32_t> fired;
  uint32_t start = TickCount();
  bool failing = false;
};

class Timers : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    control = New<TTimerControl>(form.get());
    control->SetParent(form.get());
  }
  TTimerControl* control = nullptr;
};

TEST_F(Timers, ATimerFiresEveryIntervalAsTheClockAdvancesAndNeverAfterItIsKilled) {
  ASSERT_TRUE(control->SetTimer(1, 250));
  windows.AdvanceClock(249);
  EXPECT_TRUE(control->fired.empty());
  windows.AdvanceClock(1);
  windows.AdvanceClock(600);
  EXPECT_EQ(control->fired, (std::vector<uint32_t>{250, 500, 750}));
  control->KillTimer(1);
  windows.AdvanceClock(1000);
  EXPECT_EQ(control->fired.size(), 3u);
}

TEST_F(Timers, AnExceptionFromATimerIsShownAndTheTimerRunsOn) {
  const size_t shown = windows.MessagesShown().size();
  control->failing = true;
  control->SetTimer(7, 100);
  windows.AdvanceClock(200);
  ASSERT_EQ(windows.MessagesShown().size(), shown + 2);
  EXPECT_EQ(windows.MessagesShown().back(), "The timer failed");
  EXPECT_EQ(control->fired.size(), 2u);
}

// A message window carries timers for components without a window.
TEST_F(Timers, AMessageWindowHandsItsTimersToItsHandler) {
  class TTicks : public TObject {
   public:
    void Tick(TMessage& message) { ids.push_back(static_cast<uint32_t>(message.WParam)); }
    std::vector<uint32_t> ids;
  } ticks;
  {
    TMessageWindow window(TWndMethod::Bind<&TTicks::Tick>(&ticks));
    ASSERT_TRUE(window.SetTimer(3, 10));
    windows.AdvanceClock(25);
  }
  windows.AdvanceClock(100);  // gone with its window
  EXPECT_EQ(ticks.ids, (std::vector<uint32_t>{3, 3}));
}

}  // namespace
}  // namespace zelk::tests
