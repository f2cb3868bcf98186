// The headless window system routes input, paints and timers the way a
// window system does, so the toolkit above it can be tested through it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/KeyCodes.h"
#include "platform/Region.h"
#include "platform/headless/HeadlessWindows.h"

namespace zelk::platform {
namespace {

// Records every event as "<window> <kind> <detail>".
class TRecordingClient : public TWindowClient {
 public:
  void HandleWindowEvent(TNativeWindow window, const TWindowEvent& event) override {
    static const char* const kNames[] = {"paint", "move", "down", "up", "leave", "keydown", "keyup",
                                         "char", "focusin", "focusout", "capturelost", "timer", "destroyed"};
    std::ostringstream line;
    line << window << " " << kNames[static_cast<int>(event.Kind)];
    if (event.Kind == TWindowEventKind::ekPaint) {
      line << " " << event.Area.Left << "," << event.Area.Top << "," << event.Area.Right << "," << event.Area.Bottom;
    } else if (event.Kind <= TWindowEventKind::ekMouseUp) {
      line << " " << event.Point.X << "," << event.Point.Y;
    } else if (event.Kind == TWindowEventKind::ekTimer) {
      line << " " << windows.TickCount();
    }
    log.push_back(line.str());
  }
  std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

  THeadlessWindowSystem& windows = HeadlessWindows();
  std::vector<std::string> log;
};

class HeadlessWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    top = windows.CreateChild(0, {100, 100, 200, 200}, client);
    child = windows.CreateChild(top, {10, 10, 30, 30}, client);
    windows.ShowWindow(top, true);
    windows.ShowWindow(child, true);
    windows.Pump();
    client.TakeLog();
  }
  void TearDown() override {
    windows.SetCapture(0);
    windows.DestroyWindow(top);
  }
  std::string Id(TNativeWindow window) { return std::to_string(window); }

  THeadlessWindowSystem& windows = platform::HeadlessWindows();
  TRecordingClient client;
  TNativeWindow top = 0;
  TNativeWindow child = 0;
};

TEST_F(HeadlessWindows, MouseEventsGoToTheWindowUnderThePointerWithLeaveEvents) {
  windows.MoveMouse(top, {5, 5});
  windows.MoveMouse(top, {15, 12});
  windows.MoveMouse(child, {25, 0});
  EXPECT_EQ(client.TakeLog(), (std::vector<std::string>{Id(top) + " move 5,5", Id(top) + " leave",
                                                        Id(child) + " move 5,2", Id(child) + " leave",
                                                        Id(top) + " move 35,10"}));
}

TEST_F(HeadlessWindows, TheCapturingWindowGetsEveryMouseEventAndLosesItToAnother) {
  windows.SetCapture(child);
  windows.MoveMouse(top, {-50, 5});
  windows.ReleaseMouse(top, {90, 90});
  windows.SetCapture(top);
  EXPECT_EQ(client.TakeLog(), (std::vector<std::string>{Id(child) + " move -60,-5", Id(child) + " up 80,80",
                                                        Id(child) + " capturelost"}));
}

TEST_F(HeadlessWindows, ARegionShapesWhereTheWindowTakesInputAndShowsPixels) {
  const std::vector<TRegionRect> rects{{0, 0, 5, 5}};
  TRegionDataHeader header;
  header.Count = 1;
  const auto region = RegionFactory().CreateFromData(header, rects);
  windows.SetWindowRegion(child, region.get());
  windows.MoveMouse(top, {12, 12});
  windows.MoveMouse(top, {18, 18});  // inside the child's rectangle, outside its region
  EXPECT_EQ(client.TakeLog(), (std::vector<std::string>{Id(child) + " move 2,2", Id(child) + " leave",
                                                        Id(top) + " move 18,18"}));
  EXPECT_EQ(windows.RegionOf(child), (std::vector<TRect>{{0, 0, 5, 5}}));
}

TEST_F(HeadlessWindows, InvalidationsAreUnitedAndPaintedByPump) {
  windows.Invalidate(top, {0, 0, 10, 10});
  windows.Invalidate(top, {5, 5, 20, 8});
  windows.Invalidate(top, {90, 90, 200, 200});  // clipped to the window
  EXPECT_EQ(windows.PendingPaint(top), (TRect{0, 0, 100, 100}));
  windows.Pump();
  EXPECT_EQ(client.TakeLog(), (std::vector<std::string>{Id(top) + " paint 0,0,100,100"}));
  windows.SetPaintDelivery(THeadlessWindowSystem::TPaintDelivery::pdRectangles);
  windows.Invalidate(top, {0, 0, 10, 10});
  windows.Invalidate(top, {5, 0, 15, 10});
  windows.Pump();
  windows.SetPaintDelivery(THeadlessWindowSystem::TPaintDelivery::pdBounds);
  EXPECT_EQ(client.TakeLog(), (std::vector<std::string>{Id(top) + " paint 0,0,10,10", Id(top) + " paint 10,0,15,10"}));
}

TEST_F(HeadlessWindows, HiddenWindowsPaintWhenShownAgain) {
  windows.ShowWindow(top, false);
  windows.Invalidate(child, {0, 0, 1, 1});
  windows.Pump();
  EXPECT_TRUE(client.TakeLog().empty());
  windows.ShowWindow(top, true);
  windows.Pump();
  EXPECT_EQ(client.TakeLog(), (std::vector<std::string>{Id(top) + " paint 0,0,100,100", Id(child) + " paint 0,0,1,1"}));
}

TEST_F(HeadlessWindows, TimersFireWhenDueInOrderUntilKilled) {
  const uint32_t start = windows.TickCount();
  windows.SetTimer(top, 1, 30);
  windows.SetTimer(child, 2, 20);
  windows.AdvanceClock(65);
  windows.KillTimer(child, 2);
  windows.AdvanceClock(30);
  // Timers due at the same time fire in the order they were set.
  std::vector<std::string> expected;
  for (const auto& [window, at] : std::vector<std::pair<TNativeWindow, uint32_t>>{
           {child, 20}, {top, 30}, {child, 40}, {top, 60}, {child, 60}, {top, 90}}) {
    expected.push_back(Id(window) + " timer " + std::to_string(start + at));
  }
  EXPECT_EQ(client.TakeLog(), expected);
  EXPECT_EQ(windows.TickCount(), start + 95);
}

TEST_F(HeadlessWindows, KeysGoToTheFocusedWindowAfterFocusEvents) {
  windows.SetFocus(top);
  windows.SetFocus(child);
  windows.PressKey(vkTab, mfShift);
  EXPECT_TRUE(windows.IsKeyDown(vkShift));
  windows.TypeChar(u'x');
  EXPECT_FALSE(windows.IsKeyDown(vkShift));
  EXPECT_EQ(client.TakeLog(), (std::vector<std::string>{Id(top) + " focusin", Id(top) + " focusout",
                                                        Id(child) + " focusin", Id(child) + " keydown",
                                                        Id(child) + " char"}));
}

// A host may destroy its window before the plug-in closes its editor.
TEST_F(HeadlessWindows, WindowsDestroyedWithAForeignParentAreTold) {
  const TNativeWindow host = windows.CreateForeignWindow({0, 0, 50, 50});
  const TNativeWindow embedded = windows.CreateChild(host, {0, 0, 10, 10}, client);
  windows.SetFocus(embedded);
  client.TakeLog();
  windows.DestroyWindow(host);
  EXPECT_EQ(client.TakeLog(), (std::vector<std::string>{Id(embedded) + " destroyed"}));
  EXPECT_FALSE(windows.Exists(embedded));
  EXPECT_EQ(windows.FocusWindow(), 0u);
  windows.Invalidate(embedded, {0, 0, 1, 1});  // a stale handle is ignored
}

TEST_F(HeadlessWindows, MessageBoxesRecordTheirTextAndReturn) {
  const size_t before = windows.MessagesShown().size();
  windows.ShowMessage(top, "Something failed");
  ASSERT_EQ(windows.MessagesShown().size(), before + 1);
  EXPECT_EQ(windows.MessagesShown().back(), "Something failed");
}

}  // namespace
}  // namespace zelk::platform
