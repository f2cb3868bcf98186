// A control's hint shows in the hint window after the mouse rested on it
// for the hint pause, just below the pointer and inside the form, and goes
// after the hide pause, at a press or key, or when the mouse moves on. The
// hint window is a facility of its own: any control may show text near a
// point in it.
#include "platform/KeyCodes.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/HintWindow.h"

namespace zelk::tests {
namespace {

class Hints : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    probe = AddProbe({10, 10, 60, 50});
    probe->SetHint("Turn me");
    form->SetShowHint(true);  // the probe follows its parent (ParentShowHint)
    other = AddProbe({100, 10, 140, 50});
  }
  THintWindow& hint = ApplicationHintWindow();
  TProbe* probe = nullptr;
  TProbe* other = nullptr;
};

TEST_F(Hints, AHintShowsBelowThePointerAfterThePauseAndGoesAfterTheHidePause) {
  windows.MoveMouse(Window(), {20, 15});
  windows.AdvanceClock(kHintPause - 1);
  EXPECT_FALSE(hint.Active());
  windows.AdvanceClock(1);
  ASSERT_TRUE(hint.Active());
  EXPECT_EQ(hint.Caption(), "Turn me");
  EXPECT_EQ(windows.ParentOf(hint.Handle()), Window());
  const TPoint size = THintWindow::HintSize("Turn me");
  EXPECT_EQ(windows.BoundsOf(hint.Handle()), (TRect{20, 35, 20 + size.X, 35 + size.Y}));
  windows.Pump();
  // The background pale, the frame and the top of the text's 'T' inked.
  EXPECT_EQ(windows.VisiblePixelAt(Window(), 21, 36), 0x00FFFFE1u);
  EXPECT_EQ(windows.VisiblePixelAt(Window(), 20, 35), 0u);
  EXPECT_EQ(windows.VisiblePixelAt(Window(), 20 + 3 + 2, 35 + 3), 0u);
  EXPECT_EQ(windows.VisiblePixelAt(Window(), 20 + 3 + 2, 35 + 3 + 7), 0x00FFFFE1u);
  windows.AdvanceClock(kHintHidePause);
  EXPECT_FALSE(hint.Active());
}

TEST_F(Hints, APressAKeyOrAnotherControlEndsTheHintAndControlsWithoutOneShowNone) {
  const auto shown = [&](auto action) {
    windows.MoveMouse(Window(), {20, 15});
    windows.AdvanceClock(kHintPause);
    const bool before = hint.Active();
    action();
    return before && !hint.Active();
  };
  EXPECT_TRUE(shown([&] { windows.PressMouse(Window(), {20, 15}); }));
  windows.ReleaseMouse(Window(), {20, 15});
  windows.MoveMouse(Window(), {190, 90});
  windows.SetFocus(Window());
  EXPECT_TRUE(shown([&] { windows.PressKey(vkShift); }));
  windows.ReleaseKey(vkShift);
  windows.MoveMouse(Window(), {190, 90});
  EXPECT_TRUE(shown([&] { windows.MoveMouse(Window(), {120, 20}); }));
  windows.AdvanceClock(kHintPause);  // the other probe has no hint
  EXPECT_FALSE(hint.Active());

  probe->SetShowHint(false);
  windows.MoveMouse(Window(), {20, 15});
  windows.AdvanceClock(kHintPause);
  EXPECT_FALSE(hint.Active());
}

TEST_F(Hints, AControlMayShowTextNearAPointAndTheWindowStaysInsideTheForm) {
  hint.ActivateHint(*other, {90, 0}, "Angle 90");
  const TPoint size = THintWindow::HintSize("Angle 90");
  EXPECT_EQ(windows.BoundsOf(hint.Handle()), (TRect{200 - size.X, 10, 200, 10 + size.Y}));
  hint.ActivateHint(*other, {0, 200}, "Angle 91");  // replaces the text, kept inside
  EXPECT_EQ(hint.Caption(), "Angle 91");
  EXPECT_EQ(windows.BoundsOf(hint.Handle()).Bottom, 100);
  hint.ReleaseHint();
  EXPECT_FALSE(windows.IsShowing(hint.Handle()));
}

TEST_F(Hints, AControlFreedWhileItsHintIsDueLeavesNothingRunning) {
  windows.MoveMouse(Window(), {20, 15});
  TObject::Free(probe);
  windows.AdvanceClock(kHintPause);
  EXPECT_FALSE(hint.Active());
  EXPECT_FALSE(windows.HasTimer(Window(), kHintTimerId));
}

}  // namespace
}  // namespace zelk::tests
