// A set of pixels held as disjoint rectangles (Right and Bottom exclusive):
// the clip region of a device context and the invalid area of a window.
// Meant for the handful of rectangles those hold; every operation is linear
// in the number of rectangles.
#pragma once

#include <vector>

#include "runtime/Types.h"

namespace zelk::platform {

class TRectSet {
 public:
  TRectSet() = default;
  explicit TRectSet(const TRect& rect) { Add(rect); }

  bool IsEmpty() const { return rects_.empty(); }
  // Disjoint and not empty, in no particular order.
  const std::vector<TRect>& Rects() const { return rects_; }
  // The smallest rectangle holding the set; empty for an empty set.
  TRect Bounds() const;
  bool Contains(TPoint point) const;
  bool Intersects(const TRect& rect) const;

  void Clear() { rects_.clear(); }
  void Add(const TRect& rect);
  void Subtract(const TRect& rect);
  void Intersect(const TRect& rect);
  void Offset(int32_t dx, int32_t dy);

 private:
  std::vector<TRect> rects_;
};

}  // namespace zelk::platform
