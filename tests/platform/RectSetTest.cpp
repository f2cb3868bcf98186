// Rectangle sets stay disjoint through unions, cuts and intersections, and
// cover exactly the pixels the operations say.
#include <gtest/gtest.h>

#include "platform/RectSet.h"

namespace zelk::tests {
namespace {

using namespace platform;

int Area(const TRectSet& set) {
  int area = 0;
  for (const TRect& rect : set.Rects()) area += rect.Width() * rect.Height();
  return area;
}

// The set covers a pixel exactly when expected says so, everywhere in 0..20.
template <class Expected>
void ExpectCoverage(const TRectSet& set, Expected expected) {
  int covered = 0;
  for (int32_t y = -1; y < 21; ++y) {
    for (int32_t x = -1; x < 21; ++x) {
      EXPECT_EQ(set.Contains({x, y}), expected(TPoint{x, y})) << x << "," << y;
      covered += expected(TPoint{x, y}) ? 1 : 0;
    }
  }
  EXPECT_EQ(Area(set), covered);  // disjoint: no pixel counted twice
}

TEST(RectSet, UnionsCoverBothWithoutOverlap) {
  TRectSet set({0, 0, 10, 10});
  set.Add({5, 5, 15, 15});
  set.Add({2, 2, 4, 4});
  ExpectCoverage(set, [](TPoint p) {
    return TRect{0, 0, 10, 10}.Contains(p) || TRect{5, 5, 15, 15}.Contains(p);
  });
  EXPECT_EQ(set.Bounds(), (TRect{0, 0, 15, 15}));
}

TEST(RectSet, CutsAndIntersectionsLeaveExactlyTheRest) {
  TRectSet set({0, 0, 20, 20});
  set.Subtract({5, 5, 10, 10});
  set.Intersect({0, 0, 12, 20});
  ExpectCoverage(set, [](TPoint p) { return p.X >= 0 && p.X < 12 && p.Y >= 0 && p.Y < 20 && !TRect{5, 5, 10, 10}.Contains(p); });
  EXPECT_TRUE(set.Intersects({6, 0, 7, 6}));
  EXPECT_FALSE(set.Intersects({6, 6, 9, 9}));
  set.Subtract({-5, -5, 50, 50});
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_TRUE(set.Bounds().IsEmpty());
}

}  // namespace
}  // namespace zelk::tests
