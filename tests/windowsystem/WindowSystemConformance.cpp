// What every window system does the same way, run on each backend through
// its driver (tests/support/WindowSystemDriver.h): the headless one in
// memory, X11 on the test server, Win32 under Wine. Windows of a host's
// window, laid out as
//
//   host 200 x 150
//     outer  {10, 10, 110, 110}
//       inner  {20, 20, 40, 40} of outer: (30, 30) to (50, 50) of the host
//     other  {120, 10, 170, 60}
//
// record every event they hear; each case compares what reached them. Real
// systems may repeat a pointer position, so repeated lines count once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/Region.h"
#include "platform/software/SoftwareRegion.h"
#include "platform/software/SoftwareSurface.h"
#include "tests/support/WindowSystemDriver.h"

namespace zelk::tests {

using platform::TNativeWindow;
using platform::TWindowEvent;
using K = platform::TWindowEventKind;

namespace {

// "<name> <kind> <detail>" for an event.
std::string Line(const std::string& name, const TWindowEvent& event) {
  static const char* const kNames[] = {"paint",   "move",     "down",        "up",    "leave",     "keydown", "keyup",
                                       "char",    "focusin",  "focusout",    "capturelost", "timer", "destroyed", "wheel"};
  std::string line = name + " " + kNames[static_cast<int>(event.Kind)];
  const auto point = [](TPoint at) { return " " + std::to_string(at.X) + "," + std::to_string(at.Y); };
  switch (event.Kind) {
    case K::ekPaint:
      return line + point(event.Area.TopLeft()) + point({event.Area.Right, event.Area.Bottom});
    case K::ekMouseMove:
    case K::ekMouseDown:
    case K::ekMouseUp:
      return line + point(event.Point);
    case K::ekMouseWheel:
      return line + " " + std::to_string(event.WheelDelta) + point(event.Point);
    case K::ekChar:
      return line + " " + static_cast<char>(event.Code);
    case K::ekKeyDown:
    case K::ekKeyUp:
    case K::ekTimer:
      return line + " " + std::to_string(event.Code);
    default:
      return line;
  }
}

}  // namespace

class WindowSystemConformance : public ::testing::TestWithParam<TBackendDriver>,
                                public platform::TWindowClient {
 protected:
  static constexpr uint32_t kColour = 0x2080C0;

  void SetUp() override {
    driver = GetParam().Make();
    host = driver->CreateHostWindow(200, 150);
    ASSERT_NE(host, 0u) << driver->Problem();
    names[host] = "host";
    outer = Make("outer", host, {10, 10, 110, 110});
    inner = Make("inner", outer, {20, 20, 40, 40});
    other = Make("other", host, {120, 10, 170, 60});
    Settle();
    events.clear();
  }

  void TearDown() override {
    if (host == 0) return;
    Windows().SetCapture(0);
    Windows().SetFocus(0);
    for (const TNativeWindow window : {outer, other}) Windows().DestroyWindow(window);
    driver->DestroyHostWindow(host);
    driver->Idle();
  }

  void HandleWindowEvent(TNativeWindow window, const TWindowEvent& event) override {
    events.emplace_back(window, event);
    if (event.Kind == K::ekTimer && onTimer) {
      Windows().KillTimer(window, event.Code);
      std::exchange(onTimer, nullptr)();
    }
    if (event.Kind == K::ekPaint && presenting) {
      const auto surface = platform::SoftwareSurfaceFactory().CreateSurface(event.Area.Width(), event.Area.Height());
      auto* pixels = reinterpret_cast<uint32_t*>(surface->Bits());
      const auto colour = colours.find(window);
      std::fill(pixels, pixels + event.Area.Width() * event.Area.Height(),
                0xFF000000u | (colour == colours.end() ? kColour : colour->second));
      Windows().Present(window, event.Area, *surface, {0, 0});
    }
  }

  platform::TWindowSystem& Windows() { return driver->Windows(); }

  // A shown window of ours.
  TNativeWindow Make(const std::string& name, TNativeWindow parent, const TRect& bounds) {
    const TNativeWindow window = Windows().CreateChild(parent, bounds, *this);
    EXPECT_NE(window, 0u) << name;
    names[window] = name;
    Windows().ShowWindow(window, true);
    return window;
  }

  // A few idle calls, so that what the system sends back in answer to them
  // (X11's exposures) has arrived too.
  void Settle() {
    for (int round = 0; round < 3; ++round) driver->Idle();
  }

  // Idle calls of step milliseconds until done or limit milliseconds passed.
  void IdleUntil(const std::function<bool()>& done, uint32_t limit = 3000, uint32_t step = 10) {
    for (uint32_t waited = 0; waited < limit && !done(); waited += step) driver->Idle(step);
  }

  // What the windows heard of the given kinds (of every window, or of one),
  // repeated lines once.
  std::vector<std::string> Seen(std::set<K> kinds, TNativeWindow only = 0) const {
    std::vector<std::string> lines;
    for (const auto& [window, event] : events) {
      if (!kinds.contains(event.Kind) || (only != 0 && window != only)) continue;
      const auto name = names.find(window);
      std::string line = Line(name == names.end() ? "unknown" : name->second, event);
      if (lines.empty() || lines.back() != line) lines.push_back(std::move(line));
    }
    return lines;
  }

  size_t Count(K kind, TNativeWindow window) const {
    return static_cast<size_t>(std::count_if(events.begin(), events.end(), [&](const auto& heard) {
      return heard.first == window && heard.second.Kind == kind;
    }));
  }

  std::unique_ptr<TWindowSystemDriver> driver;
  std::map<TNativeWindow, std::string> names;
  std::map<TNativeWindow, uint32_t> colours;  // of what is presented; kColour for others
  std::vector<std::pair<TNativeWindow, TWindowEvent>> events;
  bool presenting = false;
  std::function<void()> onTimer;  // runs at the next timer, which it kills
  TNativeWindow host = 0;
  TNativeWindow outer = 0;
  TNativeWindow inner = 0;
  TNativeWindow other = 0;
};

// Destroying a window tells its descendants, not itself; destroying the
// host's window tells the windows inside it.
TEST_P(WindowSystemConformance, DestroyingAWindowTellsItsDescendantsOnly) {
  Make("innermost", inner, {2, 2, 8, 8});
  Windows().DestroyWindow(outer);
  Settle();
  std::vector<std::string> told = Seen({K::ekDestroyed});
  std::sort(told.begin(), told.end());
  EXPECT_EQ(told, (std::vector<std::string>{"inner destroyed", "innermost destroyed"}));
  Windows().Invalidate(inner, {0, 0, 5, 5});  // a stale handle is ignored
  events.clear();
  driver->DestroyHostWindow(host);
  host = 0;
  Settle();
  EXPECT_EQ(Seen({K::ekDestroyed}), std::vector<std::string>{"other destroyed"});
}

TEST_P(WindowSystemConformance, HiddenWindowsPaintNothingAndAllOfAWindowWhenShown) {
  Windows().ShowWindow(outer, false);
  Settle();
  events.clear();
  Windows().Invalidate(outer, {0, 0, 5, 5});
  Windows().Invalidate(inner, {0, 0, 5, 5});
  Settle();
  EXPECT_EQ(Seen({K::ekPaint}), std::vector<std::string>{});
  Windows().ShowWindow(outer, true);
  Settle();
  // The shown window is painted whole, the one inside it at least where it
  // was invalid.
  const std::vector<std::string> paints = Seen({K::ekPaint}, outer);
  ASSERT_FALSE(paints.empty());
  EXPECT_EQ(paints.back(), "outer paint 0,0 100,100");
  EXPECT_GT(Count(K::ekPaint, inner), 0u);
}

TEST_P(WindowSystemConformance, AnInvalidatedAreaIsPaintedOnceAndWhatIsPresentedShows) {
  presenting = true;
  Windows().Invalidate(outer, {5, 6, 25, 16});
  Settle();
  EXPECT_EQ(Seen({K::ekPaint}), std::vector<std::string>{"outer paint 5,6 25,16"});
  EXPECT_EQ(driver->PixelAt(outer, 5, 6), kColour);
  EXPECT_EQ(driver->PixelAt(outer, 24, 15), kColour);
}

// A window hidden or moved away by a handler (as a hint goes at a button's
// release) shows what lies beneath when that idle call returns, not when the
// system tells of it later (X11 keeps no pixels under a window).
TEST_P(WindowSystemConformance, WhatAWindowUncoversShowsWhenTheIdleCallReturns) {
  constexpr uint32_t kCoverColour = 0xC04020;
  const struct {
    const char* Change;
    std::function<void(TNativeWindow)> Uncover;
  } cases[] = {{"hidden", [this](TNativeWindow cover) { Windows().ShowWindow(cover, false); }},
               {"moved", [this](TNativeWindow cover) { Windows().PlaceWindow(cover, {60, 60, 100, 100}); }}};
  presenting = true;
  for (const auto& change : cases) {
    SCOPED_TRACE(change.Change);
    Windows().Invalidate(outer, {0, 0, 100, 100});
    const TNativeWindow cover = Make("cover", outer, {40, 40, 80, 80});  // (50, 50) to (90, 90) of the host
    colours[cover] = kCoverColour;
    Settle();
    ASSERT_EQ(driver->PixelAt(host, 60, 60), kCoverColour);
    onTimer = [&] { change.Uncover(cover); };
    ASSERT_TRUE(Windows().SetTimer(outer, 1, 5));
    driver->Idle(20);
    EXPECT_EQ(driver->PixelAt(host, 60, 60), kColour);
    Windows().DestroyWindow(cover);
  }
}

// Points of the host: the deepest window under the pointer hears it in its
// own coordinates; a window's region decides which points are its own.
TEST_P(WindowSystemConformance, MouseEventsGoToTheDeepestWindowUnderThePointer) {
  const struct {
    TPoint At;  // in the host
    bool Region;
    const char* Heard;
  } cases[] = {{{35, 36}, false, "inner move 5,6"},
               {{15, 17}, false, "outer move 5,7"},
               {{125, 20}, false, "other move 5,10"},
               {{32, 33}, true, "inner move 2,3"},
               {{45, 45}, true, "outer move 35,35"}};
  const platform::TRegionRect kept{0, 0, 5, 5};
  platform::TRegionDataHeader header;
  header.Count = 1;
  const auto region = platform::TSoftwareRegionFactory().CreateFromData(header, std::span(&kept, 1));
  for (const auto& move : cases) {
    SCOPED_TRACE(move.Heard);
    Windows().SetWindowRegion(inner, move.Region ? region.get() : nullptr);
    driver->MovePointer(host, {5, 140});  // over the host's own pixels
    Settle();
    events.clear();
    driver->MovePointer(host, move.At);
    Settle();
    // X11 tells the windows the pointer passed on its way of entering too.
    const std::vector<std::string> moves = Seen({K::ekMouseMove});
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), move.Heard);
  }
}

TEST_P(WindowSystemConformance, TheWindowHoldingTheCaptureHearsTheMouseWhereverThePointerIs) {
  driver->MovePointer(host, {5, 140});
  Settle();
  events.clear();
  Windows().SetCapture(inner);
  driver->MovePointer(host, {60, 70});
  driver->PressButton(host, {60, 70});
  driver->ReleaseButton(host, {60, 70});
  Settle();
  EXPECT_EQ(Seen({K::ekMouseMove, K::ekMouseDown, K::ekMouseUp}),
            (std::vector<std::string>{"inner move 30,40", "inner down 30,40", "inner up 30,40"}));
}

TEST_P(WindowSystemConformance, TheCaptureTakenByAnotherWindowIsLostAndReleasingItTellsNothing) {
  Windows().SetCapture(inner);
  Windows().SetCapture(outer);
  Windows().SetCapture(0);
  Settle();
  EXPECT_EQ(Seen({K::ekCaptureLost}), std::vector<std::string>{"inner capturelost"});
}

// The pointer leaves for the host's own pixels; holding the capture, the
// window keeps it.
TEST_P(WindowSystemConformance, APointerLeavingTheWindowIsToldUnlessItHoldsTheCapture) {
  for (const bool captured : {false, true}) {
    SCOPED_TRACE(captured ? "captured" : "not captured");
    driver->MovePointer(host, {35, 35});
    Settle();
    Windows().SetCapture(captured ? inner : 0);
    events.clear();
    driver->MovePointer(host, {5, 140});
    IdleUntil([&] { return Count(K::ekMouseLeave, inner) > 0; }, captured ? 600 : 3000, 50);
    EXPECT_EQ(Count(K::ekMouseLeave, inner), captured ? 0u : 1u);
    Windows().SetCapture(0);
  }
}

// Between the calls the system has no time to answer: its late answers
// must not move the focus again.
TEST_P(WindowSystemConformance, FocusMovesWithFocusOutBeforeFocusIn) {
  for (const TNativeWindow window : {outer, other, TNativeWindow{0}}) Windows().SetFocus(window);
  Settle();
  EXPECT_EQ(Seen({K::ekFocusIn, K::ekFocusOut}), (std::vector<std::string>{"outer focusin", "outer focusout",
                                                                         "other focusin", "other focusout"}));
}

// Keys typed as soon as SetFocus returns go to the new holder: on X11 the
// key comes through another client, and the server must have moved the
// focus before it.
TEST_P(WindowSystemConformance, KeysAndCharactersGoToTheFocusedWindow) {
  driver->MovePointer(host, {35, 35});  // the pointer's window is no matter
  Windows().SetFocus(other);
  driver->TypeLetter('A');
  Settle();
  EXPECT_EQ(Seen({K::ekKeyDown, K::ekChar, K::ekKeyUp}),
            (std::vector<std::string>{"other keydown 65", "other char a", "other keyup 65"}));
}

TEST_P(WindowSystemConformance, AWheelNotchIs120AwayFromTheUser) {
  Windows().SetFocus(outer);
  driver->MovePointer(host, {15, 17});
  Settle();
  driver->TurnWheel(host, {15, 17}, 1);
  Settle();
  driver->TurnWheel(host, {15, 17}, -1);
  Settle();
  EXPECT_EQ(Seen({K::ekMouseWheel}), (std::vector<std::string>{"outer wheel 120 5,7", "outer wheel -120 5,7"}));
}

// Timer 2 is due first and fires again before timer 1; timer 3, restarted
// with a long interval, and timer 4, killed, never fire.
TEST_P(WindowSystemConformance, TimersFireByIntervalUntilRestartedOrKilled) {
  for (const auto& [id, interval] : {std::pair{1u, 300u}, {2u, 20u}, {3u, 20u}, {3u, 60000u}, {4u, 20u}}) {
    ASSERT_TRUE(Windows().SetTimer(outer, id, interval));
  }
  Windows().KillTimer(outer, 4);
  IdleUntil([&] { return Seen({K::ekTimer}).size() >= 3; });
  const std::vector<std::string> fired = Seen({K::ekTimer});
  ASSERT_GE(fired.size(), 3u);
  EXPECT_EQ(fired[0], "outer timer 2");
  EXPECT_EQ(fired[1], "outer timer 1");
  EXPECT_EQ(fired[2], "outer timer 2");
}

INSTANTIATE_TEST_SUITE_P(WindowSystem, WindowSystemConformance, ::testing::Values(BackendDriver()),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace zelk::tests
