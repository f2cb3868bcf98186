// The headless window system routes input, paints and timers the way a
// window system does, so the toolkit above it can be tested through it:
// the conformance suite (tests/windowsystem) on it, driven in memory, and
// what only it does.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/KeyCodes.h"
#include "platform/Region.h"
#include "platform/headless/HeadlessWindows.h"
#include "tests/support/WindowSystemDriver.h"

namespace zelk::tests {
namespace {

using namespace platform;

// Input injected, the clock moved and the framebuffers read in memory.
class THeadlessDriver final : public TWindowSystemDriver {
 public:
  TWindowSystem& Windows() override { return windows; }
  TNativeWindow CreateHostWindow(int32_t width, int32_t height) override {
    return windows.CreateForeignWindow({0, 0, width, height});
  }
  void DestroyHostWindow(TNativeWindow window) override { windows.DestroyWindow(window); }
  std::string Problem() const override { return "no foreign window"; }
  void MovePointer(TNativeWindow window, TPoint point) override { windows.MoveMouse(window, point); }
  void PressButton(TNativeWindow window, TPoint point) override { windows.PressMouse(window, point); }
  void ReleaseButton(TNativeWindow window, TPoint point) override { windows.ReleaseMouse(window, point); }
  void TurnWheel(TNativeWindow window, TPoint point, int notches) override {
    windows.TurnWheel(window, point, notches * 120);
  }
  void TypeLetter(char letter) override {
    windows.PressKey(static_cast<uint16_t>(letter));
    windows.TypeChar(static_cast<char16_t>(letter - 'A' + 'a'));
    windows.ReleaseKey(static_cast<uint16_t>(letter));
  }
  uint32_t PixelAt(TNativeWindow window, int32_t x, int32_t y) override {
    return windows.VisiblePixelAt(window, x, y) & 0xFFFFFF;
  }
  void Idle(uint32_t milliseconds) override {
    windows.AdvanceClock(milliseconds);
    windows.Pump();
  }

 private:
  THeadlessWindowSystem& windows = HeadlessWindows();
};

}  // namespace

TBackendDriver BackendDriver() {
  return {"Headless", []() -> std::unique_ptr<TWindowSystemDriver> { return std::make_unique<THeadlessDriver>(); }};
}

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

  THeadlessWindowSystem& windows = platform::HeadlessWindows();
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

// The key state answers as a keyboard's would while an event is handled.
TEST_F(HeadlessWindows, HeldKeysFollowTheModifiersOfTheLastKeyEvent) {
  windows.PressKey(vkTab, mfShift);
  EXPECT_TRUE(windows.IsKeyDown(vkShift));
  windows.TypeChar(u'x');
  EXPECT_FALSE(windows.IsKeyDown(vkShift));
}

TEST_F(HeadlessWindows, MessageBoxesRecordTheirTextAndReturn) {
  const size_t before = windows.MessagesShown().size();
  windows.ShowMessage(top, "Something failed");
  ASSERT_EQ(windows.MessagesShown().size(), before + 1);
  EXPECT_EQ(windows.MessagesShown().back(), "Something failed");
}

}  // namespace
}  // namespace zelk::tests
