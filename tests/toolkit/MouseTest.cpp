// The mouse reaches controls without windows through their parent: at the
// control under it, or at the control holding the capture wherever it is;
// entering and leaving are reported to them, during a capture only to the
// capturing control.
#include "tests/toolkit/ToolkitTestSupport.h"

#include <span>

#include "platform/KeyCodes.h"
#include "platform/Region.h"

namespace zelk::tests {
namespace {

using Strings = std::vector<std::string>;

class Mouse : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    left = AddProbe({10, 10, 50, 50});
    right = AddProbe({100, 10, 140, 50});
  }
  TProbe* left = nullptr;
  TProbe* right = nullptr;
};

TEST_F(Mouse, TheCapturingControlGetsTheMovesAndTheReleaseEvenOutsideIt) {
  windows.PressMouse(Window(), {20, 20});
  EXPECT_EQ(CaptureControl(), left);
  EXPECT_EQ(windows.CaptureWindow(), Window());
  windows.MoveMouse(Window(), {120, 20}, platform::mfLeftButton);  // over the other control
  windows.MoveMouse(Window(), {-30, 300}, platform::mfLeftButton);  // outside the form
  windows.ReleaseMouse(Window(), {-30, 300});
  EXPECT_EQ(left->TakeLog(), (Strings{"enter", "down 10,10", "leave", "move 110,10", "move -40,290", "up -40,290"}));
  EXPECT_TRUE(right->TakeLog().empty());
  EXPECT_EQ(CaptureControl(), nullptr);
  EXPECT_EQ(windows.CaptureWindow(), 0u);
}

TEST_F(Mouse, APressAndReleaseInsideClicks) {
  windows.PressMouse(Window(), {20, 20});
  windows.ReleaseMouse(Window(), {49, 49});
  windows.PressMouse(Window(), {20, 20});
  windows.ReleaseMouse(Window(), {50, 50});  // just outside: no click
  EXPECT_EQ(left->TakeLog(), (Strings{"enter", "down 10,10", "up 39,39", "click", "down 10,10", "leave", "up 40,40"}));
}

TEST_F(Mouse, EnterAndLeaveFollowThePointerAcrossControlsAndWindows) {
  const TNativeWindow elsewhere = windows.CreateForeignWindow({300, 0, 400, 100});
  windows.MoveMouse(Window(), {20, 20});
  windows.MoveMouse(Window(), {30, 30});
  windows.MoveMouse(Window(), {110, 20});
  windows.MoveMouse(Window(), {80, 80});
  windows.MoveMouse(Window(), {120, 20});
  windows.MoveMouse(elsewhere, {5, 5});  // the pointer leaves the form's window
  windows.DestroyWindow(elsewhere);
  EXPECT_EQ(left->TakeLog(), (Strings{"enter", "move 10,10", "move 20,20", "leave"}));
  EXPECT_EQ(right->TakeLog(), (Strings{"enter", "move 10,10", "leave", "enter", "move 20,10", "leave"}));
}

// While the left control holds the capture, only it hears of the pointer
// leaving and coming back; the right one hears nothing.
TEST_F(Mouse, DuringACaptureOnlyTheCapturingControlHearsEnterAndLeave) {
  windows.PressMouse(Window(), {20, 20});
  windows.MoveMouse(Window(), {120, 20}, platform::mfLeftButton);
  windows.MoveMouse(Window(), {30, 30}, platform::mfLeftButton);
  windows.MoveMouse(Window(), {120, 20}, platform::mfLeftButton);
  windows.ReleaseMouse(Window(), {120, 20});
  windows.MoveMouse(Window(), {121, 20});
  EXPECT_EQ(left->TakeLog(), (Strings{"enter", "down 10,10", "leave", "move 110,10", "enter", "move 20,20", "leave",
                                      "move 110,10", "up 110,10"}));
  EXPECT_EQ(right->TakeLog(), (Strings{"move 21,10"}));
}

TEST_F(Mouse, AControlThatRefusesAPointIsPassedOver) {
  TProbe* over = AddProbe({10, 10, 50, 50});  // on top of left
  over->Shape = TRect{0, 0, 10, 10};
  windows.MoveMouse(Window(), {15, 15});
  windows.MoveMouse(Window(), {30, 30});
  EXPECT_EQ(over->TakeLog(), (Strings{"enter", "move 5,5", "leave"}));
  EXPECT_EQ(left->TakeLog(), (Strings{"enter", "move 20,20"}));
  EXPECT_EQ(form->ControlAtPos({30, 30}, false), left);
}

TEST_F(Mouse, DisabledControlsTakeNoMouseInput) {
  left->SetEnabled(false);
  windows.PressMouse(Window(), {20, 20});
  windows.ReleaseMouse(Window(), {20, 20});
  EXPECT_EQ(left->TakeLog(), (Strings{"enter"}));  // hovering is still tracked
  EXPECT_EQ(CaptureControl(), nullptr);
}

TEST_F(Mouse, TheCursorIsTheOneOfTheControlUnderIt) {
  left->SetCursor(crHandPoint);
  windows.MoveMouse(Window(), {20, 20});
  EXPECT_EQ(windows.CursorOf(Window()), platform::TCursorShape::csHandPoint);
  windows.MoveMouse(Window(), {80, 80});
  EXPECT_EQ(windows.CursorOf(Window()), platform::TCursorShape::csArrow);
}

TEST_F(Mouse, AShapedWindowKeepsItsRegionAcrossNewWindowsAndTheMousePassesElsewhere) {
  TProbe* under = AddProbe({150, 10, 190, 50});
  TKeyProbe* shaped = AddKeyProbe({150, 10, 190, 50});
  const platform::TRegionRect corner{0, 0, 10, 10};
  platform::TRegionDataHeader header;
  header.Count = 1;
  auto region = platform::RegionFactory().CreateFromData(header, std::span(&corner, 1));
  shaped->SetWindowRegion(region.get());
  region.reset();  // copied
  const std::vector<TRect> expected{{0, 0, 10, 10}};
  EXPECT_EQ(windows.RegionOf(shaped->Handle()), expected);
  shaped->DestroyHandle();
  EXPECT_EQ(windows.RegionOf(shaped->Handle()), expected);
  windows.PressMouse(Window(), {170, 30});  // outside the shape: to the form
  windows.ReleaseMouse(Window(), {170, 30});
  windows.PressMouse(Window(), {155, 15});  // inside: to the shaped window
  windows.ReleaseMouse(Window(), {155, 15});
  EXPECT_EQ(under->TakeLog(), (Strings{"enter", "down 20,20", "up 20,20", "click", "leave"}));
  shaped->SetWindowRegion(nullptr);
  EXPECT_FALSE(windows.RegionOf(shaped->Handle()).has_value());
}

TEST_F(Mouse, AnAutomaticDragDropsOnAControlThatAcceptsItAndEscapeCancels) {
  struct TDragLog : TObject {
    void Over(TObject* sender, TObject* source, int32_t x, int32_t y, TDragState state, bool& accept) {
      Log.push_back("over " + std::to_string(static_cast<int>(state)) + " " + std::to_string(x) + "," + std::to_string(y));
      accept = x < 30;
    }
    void Drop(TObject*, TObject*, int32_t x, int32_t y) { Log.push_back("drop " + std::to_string(x) + "," + std::to_string(y)); }
    void End(TObject*, TObject* target, int32_t, int32_t) { Log.push_back(target != nullptr ? "end on target" : "end"); }
    Strings Log;
  } log;
  left->SetDragMode(TDragMode::dmAutomatic);
  left->OnEndDrag = TEndDragEvent::Bind<&TDragLog::End>(&log);
  right->OnDragOver = TDragOverEvent::Bind<&TDragLog::Over>(&log);
  right->OnDragDrop = TDragDropEvent::Bind<&TDragLog::Drop>(&log);
  windows.PressMouse(Window(), {20, 20});
  EXPECT_TRUE(left->IsDragging());
  windows.MoveMouse(Window(), {110, 20}, platform::mfLeftButton);
  EXPECT_EQ(windows.CursorOf(Window()), platform::TCursorShape::csArrow);  // accepted
  windows.MoveMouse(Window(), {135, 20}, platform::mfLeftButton);
  EXPECT_EQ(windows.CursorOf(Window()), platform::TCursorShape::csNo);  // refused there
  windows.MoveMouse(Window(), {115, 25}, platform::mfLeftButton);
  windows.ReleaseMouse(Window(), {115, 25});
  // The release asks once more, at the drop point.
  EXPECT_EQ(log.Log,
            (Strings{"over 0 10,10", "over 2 35,10", "over 2 15,15", "over 2 15,15", "drop 15,15", "end on target"}));
  EXPECT_FALSE(left->IsDragging());
  EXPECT_EQ(CaptureControl(), nullptr);
  // The source hears its release, and no click.
  EXPECT_EQ(left->TakeLog(), (Strings{"enter", "down 10,10", "leave", "up 105,15"}));

  log.Log.clear();
  windows.SetFocus(Window());
  windows.PressMouse(Window(), {20, 20});
  windows.MoveMouse(Window(), {110, 20}, platform::mfLeftButton);
  windows.PressKey(vkEscape);
  EXPECT_EQ(log.Log, (Strings{"over 0 10,10", "over 1 10,10", "end"}));
  EXPECT_FALSE(left->IsDragging());
}

}  // namespace
}  // namespace zelk::tests
