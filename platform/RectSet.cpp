#include "platform/RectSet.h"

#include <algorithm>

namespace zelk::platform {

namespace {

// The parts of rect outside cut: at most four rectangles, the bands above
// and below cut's rows and the pieces left and right of it within them.
void AppendDifference(const TRect& rect, const TRect& cut, std::vector<TRect>& out) {
  const TRect common = IntersectRect(rect, cut);
  if (common.IsEmpty()) {
    out.push_back(rect);
    return;
  }
  const TRect pieces[] = {
      {rect.Left, rect.Top, rect.Right, common.Top},
      {rect.Left, common.Bottom, rect.Right, rect.Bottom},
      {rect.Left, common.Top, common.Left, common.Bottom},
      {common.Right, common.Top, rect.Right, common.Bottom},
  };
  for (const TRect& piece : pieces) {
    if (!piece.IsEmpty()) out.push_back(piece);
  }
}

}  // namespace

TRect TRectSet::Bounds() const {
  TRect bounds;
  for (const TRect& rect : rects_) bounds = UnionRect(bounds, rect);
  return bounds;
}

bool TRectSet::Contains(TPoint point) const {
  return std::any_of(rects_.begin(), rects_.end(), [point](const TRect& rect) { return rect.Contains(point); });
}

bool TRectSet::Intersects(const TRect& rect) const {
  return std::any_of(rects_.begin(), rects_.end(), [&rect](const TRect& own) { return RectsIntersect(own, rect); });
}

void TRectSet::Add(const TRect& rect) {
  if (rect.IsEmpty()) return;
  // Only the parts of rect not yet covered are added, so the set stays disjoint.
  std::vector<TRect> fresh{rect};
  for (const TRect& own : rects_) {
    std::vector<TRect> remaining;
    for (const TRect& piece : fresh) AppendDifference(piece, own, remaining);
    fresh = std::move(remaining);
    if (fresh.empty()) return;
  }
  rects_.insert(rects_.end(), fresh.begin(), fresh.end());
}

void TRectSet::Subtract(const TRect& rect) {
  if (rect.IsEmpty()) return;
  std::vector<TRect> remaining;
  for (const TRect& own : rects_) AppendDifference(own, rect, remaining);
  rects_ = std::move(remaining);
}

void TRectSet::Intersect(const TRect& rect) {
  std::vector<TRect> remaining;
  for (const TRect& own : rects_) {
    const TRect common = IntersectRect(own, rect);
    if (!common.IsEmpty()) remaining.push_back(common);
  }
  rects_ = std::move(remaining);
}

void TRectSet::Offset(int32_t dx, int32_t dy) {
  for (TRect& rect : rects_) rect = rect.Offset(dx, dy);
}

}  // namespace zelk::platform
