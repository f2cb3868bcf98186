#include "platform/software/WindowCore.h"

#include <algorithm>

namespace zelk::platform {

namespace {

// Paint handlers that keep invalidating their own window would never let
// painting end.
constexpr int kMostPaintRounds = 16;

}  // namespace

bool TWindowCore::PaintInvalid(size_t mostRectangles) {
  bool painted = false;
  for (int round = 0; round < kMostPaintRounds && PaintRound(mostRectangles); ++round) painted = true;
  return painted;
}

// Most idle calls find nothing to paint: they look without allocating.
bool TWindowCore::AnyInvalid() const {
  return std::any_of(windows_.begin(), windows_.end(),
                     [](const auto& entry) { return !entry.second->Invalid.IsEmpty(); });
}

bool TWindowCore::PaintRound(size_t mostRectangles) {
  if (!AnyInvalid()) return false;
  bool delivered = false;
  for (const TNativeWindow id : TreeOrder()) {
    TCoreWindow* window = Find(id);
    if (window == nullptr || window->Invalid.IsEmpty() || !IsShowing(id)) continue;
    std::vector<TRect> areas = window->Invalid.Rects();
    if (areas.size() > mostRectangles) areas = {window->Invalid.Bounds()};
    window->Invalid.Clear();
    for (const TRect& area : areas) {
      TWindowEvent paint;
      paint.Kind = TWindowEventKind::ekPaint;
      paint.Area = area;
      ++paintsDelivered_;
      delivered = true;
      Deliver(id, paint);
    }
  }
  return delivered;
}

}  // namespace zelk::platform
