// The window core keeps its promises to clients that change the windows
// while they are told something: timers that fire once per call, handlers
// that kill timers or destroy windows, and subtrees whose clients act on
// their own destruction. (The headless window system's suite covers what
// the core does for it on every backend's terms.)
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/software/WindowCore.h"

namespace zelk::tests {
using namespace platform;
namespace {

// What a client heard: the window, the kind, and the timer's id or the
// painted width.
using THeard = std::tuple<TNativeWindow, TWindowEventKind, int64_t>;

// Records what it hears and runs a reaction the test installs.
class TActingClient : public TWindowClient {
 public:
  void HandleWindowEvent(TNativeWindow window, const TWindowEvent& event) override {
    const int64_t detail = event.Kind == TWindowEventKind::ekPaint ? event.Area.Width() : event.Code;
    log.emplace_back(window, event.Kind, detail);
    if (react) react(window, event);
  }

  std::vector<THeard> log;
  std::function<void(TNativeWindow, const TWindowEvent&)> react;
};

constexpr auto kTimer = TWindowEventKind::ekTimer;
constexpr auto kPaint = TWindowEventKind::ekPaint;
constexpr auto kDestroyed = TWindowEventKind::ekDestroyed;

class WindowCore : public ::testing::Test {
 protected:
  TNativeWindow Add(TNativeWindow parent, TRect bounds = {0, 0, 100, 100}) {
    auto window = std::make_unique<TCoreWindow>();
    window->Parent = parent;
    window->Client = &client;
    window->Bounds = bounds;
    window->Visible = true;
    core.Add(++lastId, std::move(window));
    return lastId;
  }

  TWindowCore core;
  TActingClient client;
  TNativeWindow lastId = 0;
};

TEST_F(WindowCore, OncePerCallTimersFoldMissedPeriodsIntoOneLateFiring) {
  const TNativeWindow window = Add(0);
  core.SetTimer(window, 1, 10, 0);
  struct TCall {
    uint64_t Now;
    size_t Firings;
  };
  // Due at 10; a call at 35 fires once and sets the next due time a period
  // after the call (45), not at the missed 20 and 30.
  for (const TCall& call : {TCall{5, 0}, TCall{35, 1}, TCall{44, 1}, TCall{45, 2}}) {
    core.FireDueTimers(call.Now, TTimerCatchUp::tcOncePerCall);
    EXPECT_EQ(client.log.size(), call.Firings) << "at " << call.Now;
  }
}

TEST_F(WindowCore, HandlersMayKillTimersAndDestroyWindowsWhileTimersFire) {
  const TNativeWindow first = Add(0);
  const TNativeWindow second = Add(0);
  const TNativeWindow third = Add(0);
  core.SetTimer(first, 1, 10, 0);
  core.SetTimer(second, 2, 10, 0);
  core.SetTimer(third, 3, 10, 0);
  client.react = [&](TNativeWindow window, const TWindowEvent& event) {
    if (event.Kind != TWindowEventKind::ekTimer || window != first) return;
    core.KillTimer(second, 2);
    core.TellDestroyed(core.Detach(first, false));
  };
  core.FireDueTimers(30, TTimerCatchUp::tcEveryPeriod);
  // The third timer keeps every period; the others are gone after the first firing.
  EXPECT_EQ(client.log, (std::vector<THeard>{{first, kTimer, 1}, {third, kTimer, 3}, {third, kTimer, 3},
                                              {third, kTimer, 3}}));
  EXPECT_EQ(core.TimerCount(), 1u);
}

TEST_F(WindowCore, DestroyedSubtreesAreGoneBeforeTheirClientsHearAndClientsMayActOnIt) {
  const TNativeWindow root = Add(0);
  const TNativeWindow left = Add(root);
  const TNativeWindow right = Add(root);
  const TNativeWindow inner = Add(left);
  core.MoveFocus(inner);
  core.SetCapture(right);
  client.log.clear();
  TNativeWindow created = 0;
  client.react = [&](TNativeWindow window, const TWindowEvent& event) {
    if (event.Kind != TWindowEventKind::ekDestroyed || window != left) return;
    EXPECT_EQ(core.Find(inner), nullptr);
    core.TellDestroyed(core.Detach(right, false));  // already gone: nothing happens
    created = Add(0);
  };
  core.TellDestroyed(core.Detach(root, false));
  EXPECT_EQ(client.log, (std::vector<THeard>{{left, kDestroyed, 0}, {right, kDestroyed, 0}, {inner, kDestroyed, 0}}));
  EXPECT_EQ(core.Windows().size(), 1u);
  EXPECT_NE(core.Find(created), nullptr);
  EXPECT_EQ(core.Focus(), 0u);
  EXPECT_EQ(core.Capture(), 0u);
}

TEST_F(WindowCore, MoreRectanglesThanTheBackendTakesArePaintedAsTheirBounds) {
  struct TCase {
    size_t MostRectangles;
    std::vector<int32_t> PaintWidths;
  };
  for (const TCase& test : {TCase{2, {10, 10}}, TCase{1, {40}}}) {
    core.Clear();
    client.log.clear();
    const TNativeWindow window = Add(0);
    core.Invalidate(window, {0, 0, 10, 10});
    core.Invalidate(window, {30, 0, 40, 10});
    core.PaintInvalid(test.MostRectangles);
    std::vector<THeard> expected;
    for (const int32_t width : test.PaintWidths) expected.emplace_back(window, kPaint, width);
    EXPECT_EQ(client.log, expected) << test.MostRectangles;
  }
}

}  // namespace
}  // namespace zelk::tests
