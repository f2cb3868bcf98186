// What every window system that keeps its own windows needs, written once:
// the window tree, the invalid area of each window and the paint loop that
// delivers it, the timer queue, subtree destruction, and the bookkeeping of
// the focus and the capture. The headless and X11 window systems hold one
// core each; they add what is theirs (a test clock and injected input; the
// server's windows, images and events) and keep per-window data of their own
// in records derived from TCoreWindow.
//
// Handles are the backend's choice; the core only keeps records by them. A
// window whose parent is not in the core (0, or a host's window) is a root.
// Clients hear of everything through Deliver; each delivery looks its window
// up again, so clients may create and destroy windows while they are told.
// Window thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/RectSet.h"
#include "platform/WindowSystem.h"

namespace zelk::platform {

struct TCoreTimer {
  uint32_t Interval = 0;
  uint64_t Due = 0;
  uint64_t Sequence = 0;  // orders timers due at the same time
};

struct TCoreWindow {
  virtual ~TCoreWindow() = default;

  TNativeWindow Parent = 0;
  TWindowClient* Client = nullptr;  // null: the window's events go nowhere
  TRect Bounds;
  bool Visible = false;
  std::optional<TRectSet> Region;  // mouse input outside it falls through
  TRectSet Invalid;
  std::map<uint32_t, TCoreTimer> Timers;
  std::vector<TNativeWindow> Children;  // the last one on top

  TRect ClientRect() const { return {0, 0, Bounds.Width(), Bounds.Height()}; }
};

// The records of a destroyed subtree, taken out of the core before any
// client hears of it; the backend frees what it holds for them, then calls
// TellDestroyed.
struct TDetachedWindows {
  std::vector<std::pair<TNativeWindow, std::unique_ptr<TCoreWindow>>> Windows;  // the root first
  bool TellRoot = false;
};

// How due timers fire: every period that fell due (a clock that jumps, as a
// test's does), or once per call with missed periods folded into one late
// firing (as a window system coalesces them between two idle calls).
enum class TTimerCatchUp : uint8_t { tcEveryPeriod, tcOncePerCall };

class TWindowCore {
 public:
  using TWindowMap = std::map<TNativeWindow, std::unique_ptr<TCoreWindow>>;

  // --- The tree (WindowCore.cpp) ---

  // Adds the record under id, as the last child of its parent when that is
  // in the core.
  TCoreWindow& Add(TNativeWindow id, std::unique_ptr<TCoreWindow> window);
  TCoreWindow* Find(TNativeWindow window) const;
  const TWindowMap& Windows() const { return windows_; }
  bool IsRoot(const TCoreWindow& window) const { return Find(window.Parent) == nullptr; }
  // The window and all its ancestors in the core are shown.
  bool IsShowing(TNativeWindow window) const;
  // Sets the bounds; a new size makes all of the window invalid. True when
  // the size changed.
  bool Place(TNativeWindow window, const TRect& bounds);
  // True when the visibility changed; showing makes all of the window invalid.
  bool Show(TNativeWindow window, bool visible);
  void Invalidate(TNativeWindow window, const TRect& area);
  // The top-left of the window in the coordinates of its root's parent.
  TPoint ScreenOrigin(const TCoreWindow& window) const;
  // The deepest visible window under screenPoint inside window (itself
  // included), regions respected; 0 for none.
  TNativeWindow DeepestAt(TNativeWindow window, TPoint screenPoint) const;
  // The same over all roots, the newest on top.
  TNativeWindow WindowAt(TPoint screenPoint) const;
  // Roots in handle order, then each generation of children in order.
  std::vector<TNativeWindow> TreeOrder() const;

  // Takes the window and its descendants out, forgetting them as capture
  // and focus; tellRoot also tells the window itself (one destroyed by
  // someone else).
  TDetachedWindows Detach(TNativeWindow root, bool tellRoot);
  void TellDestroyed(const TDetachedWindows& detached) const;
  // Drops every record without telling anyone (the system going away).
  void Clear();

  void Deliver(TNativeWindow window, const TWindowEvent& event) const;

  // --- Focus and capture (WindowCore.cpp) ---

  TNativeWindow Capture() const { return capture_; }
  TNativeWindow Focus() const { return focus_; }
  // The window losing the capture to another hears ekCaptureLost; releasing
  // it (0) tells nobody. Unknown windows are ignored.
  void SetCapture(TNativeWindow window);
  // Moves the focus to window (0: none) unless it is there or unknown;
  // moved runs with the previous holder before ekFocusOut and ekFocusIn go out.
  void MoveFocus(TNativeWindow window, const std::function<void(TNativeWindow previous)>& moved = {});

  // --- Timers (WindowCoreTimers.cpp) ---

  // Starts or restarts the timer, due an interval (at least 1 ms) after now.
  bool SetTimer(TNativeWindow window, uint32_t id, uint32_t milliseconds, uint64_t now);
  void KillTimer(TNativeWindow window, uint32_t id);
  bool HasTimer(TNativeWindow window, uint32_t id) const;
  size_t TimerCount() const;
  // Fires the timers due by now in the order of their due times (ties in
  // the order they were set); before each, clock learns the due time.
  // Timers set or killed by a handler are seen at once.
  void FireDueTimers(uint64_t now, TTimerCatchUp catchUp, const std::function<void(uint64_t due)>& clock = {});

  // --- Painting (WindowCorePaint.cpp) ---

  // Delivers the invalid area of every showing window in tree order, as
  // one paint per rectangle, or one of their bounds when there are more
  // than mostRectangles; repeats while painting invalidates more, a few
  // rounds at most. True when anything was painted.
  bool PaintInvalid(size_t mostRectangles);
  uint32_t PaintsDelivered() const { return paintsDelivered_; }
  void ResetPaintCount() { paintsDelivered_ = 0; }

 private:
  bool PaintRound(size_t mostRectangles);
  bool AnyInvalid() const;
  std::optional<std::pair<TNativeWindow, uint32_t>> NextDue(
      uint64_t now, const std::vector<std::pair<TNativeWindow, uint32_t>>& fired) const;

  TWindowMap windows_;
  TNativeWindow capture_ = 0;
  TNativeWindow focus_ = 0;
  uint64_t timerSequence_ = 0;
  uint32_t paintsDelivered_ = 0;
};

}  // namespace zelk::platform
