// The software region: its rectangles are always in the one banded form of
// the points they cover, whatever order and overlap they arrive in, and
// Contains, Unite and the rectangles agree with a plain map of points.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/software/SoftwareRegion.h"

namespace zelk::tests {
namespace {

using namespace platform;

using TRects = std::vector<TRegionRect>;

TRects RectanglesOf(TRects rects) { return TSoftwareRegion(std::move(rects)).Rectangles(); }

TRects UnionOf(TRects first, TRects second) {
  TSoftwareRegion region(std::move(first));
  region.Unite(TSoftwareRegion(std::move(second)));
  return region.Rectangles();
}

// A region of another implementation, whose rectangles come in a form of
// its own.
class TForeignRegion final : public TRegion {
 public:
  explicit TForeignRegion(TRects rects) : rects_(std::move(rects)) {}
  void Unite(const TRegion&) override {}
  bool Contains(int32_t, int32_t) const override { return false; }
  TRects Rectangles() const override { return rects_; }

 private:
  TRects rects_;
};

struct TBandingCase {
  const char* Name;
  TRects Input;
  TRects Banded;
};

TEST(SoftwareRegionTest, RectanglesAreBrokenIntoBandsJoinedWhereTheyMatch) {
  const TBandingCase cases[] = {
      {"nothing", {}, {}},
      {"empty rectangles cover nothing", {{0, 0, 0, 5}, {3, 3, 9, 3}, {5, 5, 4, 9}}, {}},
      {"one rectangle", {{1, 2, 3, 4}}, {{1, 2, 3, 4}}},
      {"overlapping: three bands", {{0, 0, 4, 4}, {2, 2, 6, 6}}, {{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}},
      {"side by side and touching: one", {{2, 0, 4, 3}, {0, 0, 2, 3}}, {{0, 0, 4, 3}}},
      {"stacked rows of one picture run: one", {{1, 0, 3, 1}, {1, 1, 3, 2}, {1, 2, 3, 3}}, {{1, 0, 3, 3}}},
      {"a gap between rows keeps two", {{1, 0, 3, 1}, {1, 2, 3, 3}}, {{1, 0, 3, 1}, {1, 2, 3, 3}}},
      {"contained", {{0, 0, 10, 10}, {2, 2, 3, 3}}, {{0, 0, 10, 10}}},
      {"cross", {{4, 0, 6, 10}, {0, 4, 10, 6}}, {{4, 0, 6, 4}, {0, 4, 10, 6}, {4, 6, 6, 10}}},
      {"two in a band, bottom first", {{5, 2, 7, 4}, {0, 0, 2, 4}}, {{0, 0, 2, 2}, {0, 2, 2, 4}, {5, 2, 7, 4}}},
      {"negative coordinates", {{-5, -5, -1, -1}, {-3, -3, 0, 0}},
       {{-5, -5, -1, -3}, {-5, -3, 0, -1}, {-3, -1, 0, 0}}},
  };
  for (const TBandingCase& c : cases) EXPECT_EQ(RectanglesOf(c.Input), c.Banded) << c.Name;
}

TEST(SoftwareRegionTest, UnionsStayBanded) {
  const TBandingCase cases[] = {
      {"with nothing", {{0, 0, 2, 2}}, {{0, 0, 2, 2}}},
      {"below, meeting it: joined", {{0, 0, 2, 2}, {0, 2, 2, 4}}, {{0, 0, 2, 4}}},
      {"below, apart", {{0, 0, 2, 2}, {0, 3, 2, 4}}, {{0, 0, 2, 2}, {0, 3, 2, 4}}},
      {"above", {{0, 5, 2, 6}, {0, 0, 2, 2}}, {{0, 0, 2, 2}, {0, 5, 2, 6}}},
      {"beside, filling the gap", {{0, 0, 2, 2}, {2, 0, 4, 2}}, {{0, 0, 4, 2}}},
      {"overlapping", {{0, 0, 4, 4}, {2, 2, 6, 6}}, {{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}},
  };
  for (const TBandingCase& c : cases) {
    const TRects first = {c.Input[0]};
    const TRects second(c.Input.begin() + 1, c.Input.end());
    EXPECT_EQ(UnionOf(first, second), c.Banded) << c.Name;
    EXPECT_EQ(UnionOf(second, first), c.Banded) << c.Name << ", the other way round";
  }

  TSoftwareRegion ring({{0, 0, 9, 3}, {0, 3, 3, 6}, {6, 3, 9, 6}, {0, 6, 9, 9}});
  const TRects before = ring.Rectangles();
  ring.Unite(ring);
  EXPECT_EQ(ring.Rectangles(), before) << "united with itself";
  ring.Unite(TForeignRegion({{3, 3, 4, 6}, {4, 3, 6, 4}, {4, 4, 6, 6}}));
  EXPECT_EQ(ring.Rectangles(), (TRects{{0, 0, 9, 9}})) << "the hole filled by another implementation";
}

TEST(SoftwareRegionTest, ContainsTakesLeftAndTopEdgesButNotRightAndBottom) {
  const TSoftwareRegion region({{0, 0, 2, 2}, {4, 0, 6, 2}, {0, 5, 6, 6}});
  const struct {
    int32_t X, Y;
    bool Inside;
  } points[] = {{0, 0, true},   {1, 1, true},   {2, 0, false}, {3, 1, false}, {4, 1, true},   {5, 1, true},
                {6, 1, false},  {0, 2, false},  {0, 4, false}, {0, 5, true},  {5, 5, true},   {6, 5, false},
                {0, 6, false},  {-1, 0, false}, {0, -1, false}};
  for (const auto& point : points) {
    EXPECT_EQ(region.Contains(point.X, point.Y), point.Inside) << point.X << ", " << point.Y;
  }
  EXPECT_FALSE(TSoftwareRegion({}).Contains(0, 0));
}

TEST(SoftwareRegionTest, FactoryTakesTheCountOfTheHeaderWithinTheRectanglesGiven) {
  TSoftwareRegionFactory factory;
  const TRects rects = {{0, 0, 1, 1}, {5, 5, 6, 6}};
  TRegionDataHeader header;
  header.Count = 1;
  EXPECT_EQ(factory.CreateFromData(header, rects)->Rectangles(), (TRects{{0, 0, 1, 1}}));
  header.Count = 1000;
  EXPECT_EQ(factory.CreateFromData(header, rects)->Rectangles(), rects);
}

// ---- Against a map of points ------------------------------------------------

constexpr int32_t kLow = -3;
constexpr int32_t kHigh = 40;  // coordinates of rectangles lie in [kLow, kHigh]
constexpr int32_t kSide = kHigh - kLow + 2;

class TPointMap {
 public:
  void Add(const TRegionRect& rect) {
    for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
      for (int32_t x = rect.Left; x < rect.Right; ++x) points_[Index(x, y)] = true;
    }
  }
  bool Contains(int32_t x, int32_t y) const { return points_[Index(x, y)]; }

 private:
  static size_t Index(int32_t x, int32_t y) { return static_cast<size_t>((y - kLow + 1) * kSide + (x - kLow + 1)); }
  std::vector<bool> points_ = std::vector<bool>(kSide * kSide, false);
};

// Rectangles of all shapes: thin, wide, empty, overlapping, touching.
TRects RandomRectangles(std::mt19937& random, int count) {
  std::uniform_int_distribution<int32_t> coordinate(kLow, kHigh);
  TRects rects;
  for (int index = 0; index < count; ++index) {
    const int32_t x = coordinate(random);
    const int32_t y = coordinate(random);
    rects.push_back({x, y, std::min(kHigh, x + coordinate(random) % 12), std::min(kHigh, y + coordinate(random) % 9)});
  }
  return rects;
}

// The one banded form, checked rectangle by rectangle.
void ExpectBanded(const TRects& rects) {
  for (size_t index = 0; index < rects.size(); ++index) {
    const TRegionRect& rect = rects[index];
    ASSERT_TRUE(rect.Left < rect.Right && rect.Top < rect.Bottom) << "empty rectangle " << index;
    if (index == 0) continue;
    const TRegionRect& before = rects[index - 1];
    if (rect.Top == before.Top) {
      ASSERT_EQ(rect.Bottom, before.Bottom) << "ragged band at " << index;
      ASSERT_GT(rect.Left, before.Right) << "intervals overlap or touch at " << index;
    } else {
      ASSERT_GE(rect.Top, before.Bottom) << "bands overlap at " << index;
    }
  }
  // Two bands that meet never carry the same intervals.
  size_t above = 0;
  while (above < rects.size()) {
    size_t below = above;
    while (below < rects.size() && rects[below].Top == rects[above].Top) ++below;
    size_t end = below;
    while (end < rects.size() && rects[end].Top == rects[below].Top) ++end;
    if (below < rects.size() && rects[below].Top == rects[above].Bottom && end - below == below - above) {
      bool same = true;
      for (size_t i = 0; i < below - above; ++i) {
        same = same && rects[above + i].Left == rects[below + i].Left && rects[above + i].Right == rects[below + i].Right;
      }
      ASSERT_FALSE(same) << "bands at " << above << " and " << below << " should be one";
    }
    above = below;
  }
}

void ExpectSamePoints(const TSoftwareRegion& region, const TPointMap& map) {
  TPointMap fromRectangles;
  for (const TRegionRect& rect : region.Rectangles()) fromRectangles.Add(rect);
  for (int32_t y = kLow - 1; y <= kHigh; ++y) {
    for (int32_t x = kLow - 1; x <= kHigh; ++x) {
      ASSERT_EQ(region.Contains(x, y), map.Contains(x, y)) << x << ", " << y;
      ASSERT_EQ(fromRectangles.Contains(x, y), map.Contains(x, y)) << x << ", " << y;
    }
  }
}

TEST(SoftwareRegionTest, RandomRegionsAndUnionsMatchAMapOfPoints) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    TPointMap map;
    const TRects first = RandomRectangles(random, 1 + static_cast<int>(seed % 25));
    for (const TRegionRect& rect : first) map.Add(rect);
    TSoftwareRegion region(first);
    ASSERT_NO_FATAL_FAILURE(ExpectBanded(region.Rectangles()));
    ASSERT_NO_FATAL_FAILURE(ExpectSamePoints(region, map));

    for (int step = 0; step < 3; ++step) {
      const TRects more = RandomRectangles(random, 1 + static_cast<int>((seed + step) % 9));
      for (const TRegionRect& rect : more) map.Add(rect);
      if (step == 2) {
        region.Unite(TForeignRegion(more));
      } else {
        region.Unite(TSoftwareRegion(more));
      }
      ASSERT_NO_FATAL_FAILURE(ExpectBanded(region.Rectangles()));
      ASSERT_NO_FATAL_FAILURE(ExpectSamePoints(region, map));
    }
    // The form is unique: the same points built in one go give the same list.
    TRects all;
    for (int32_t y = kLow; y < kHigh; ++y) {
      for (int32_t x = kLow; x < kHigh; ++x) {
        if (map.Contains(x, y)) all.push_back({x, y, x + 1, y + 1});
      }
    }
    ASSERT_EQ(RectanglesOf(all), region.Rectangles());
  }
}

}  // namespace
}  // namespace zelk::tests
