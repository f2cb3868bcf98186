#include "platform/software/SoftwareRegion.h"

#include <algorithm>

namespace zelk::platform {

namespace {

struct TInterval {
  int32_t Left;
  int32_t Right;
  bool operator==(const TInterval&) const = default;
};

// The x-intervals that cover the band [top, bottom), merged.
std::vector<TInterval> IntervalsOfBand(const std::vector<TRegionRect>& rects, int32_t top, int32_t bottom) {
  std::vector<TInterval> intervals;
  for (const TRegionRect& rect : rects) {
    if (rect.Top <= top && rect.Bottom >= bottom) intervals.push_back({rect.Left, rect.Right});
  }
  std::sort(intervals.begin(), intervals.end(), [](const TInterval& a, const TInterval& b) { return a.Left < b.Left; });
  std::vector<TInterval> merged;
  for (const TInterval& interval : intervals) {
    if (!merged.empty() && interval.Left <= merged.back().Right) {
      merged.back().Right = std::max(merged.back().Right, interval.Right);
    } else {
      merged.push_back(interval);
    }
  }
  return merged;
}

// Disjoint rectangles covering the union of rects: cut into bands at every
// top and bottom edge, merge each band's intervals, and join bands whose
// intervals match the band above.
std::vector<TRegionRect> Normalize(std::vector<TRegionRect> rects) {
  std::erase_if(rects, [](const TRegionRect& rect) { return rect.Left >= rect.Right || rect.Top >= rect.Bottom; });
  std::vector<int32_t> edges;
  for (const TRegionRect& rect : rects) {
    edges.push_back(rect.Top);
    edges.push_back(rect.Bottom);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::vector<TRegionRect> result;
  std::vector<TInterval> previous;
  size_t previousStart = 0;
  int32_t previousBottom = 0;
  for (size_t edge = 0; edge + 1 < edges.size(); ++edge) {
    const int32_t top = edges[edge];
    const int32_t bottom = edges[edge + 1];
    std::vector<TInterval> intervals = IntervalsOfBand(rects, top, bottom);
    if (!intervals.empty() && intervals == previous && previousBottom == top) {
      for (size_t index = previousStart; index < result.size(); ++index) result[index].Bottom = bottom;
    } else {
      previousStart = result.size();
      for (const TInterval& interval : intervals) result.push_back({interval.Left, top, interval.Right, bottom});
    }
    previous = std::move(intervals);
    previousBottom = bottom;
  }
  return result;
}

}  // namespace

TSoftwareRegion::TSoftwareRegion(std::vector<TRegionRect> rects) : rects_(Normalize(std::move(rects))) {}

void TSoftwareRegion::Unite(const TRegion& other) {
  std::vector<TRegionRect> all = rects_;
  const std::vector<TRegionRect> others = other.Rectangles();
  all.insert(all.end(), others.begin(), others.end());
  rects_ = Normalize(std::move(all));
}

bool TSoftwareRegion::Contains(int32_t x, int32_t y) const {
  return std::any_of(rects_.begin(), rects_.end(), [x, y](const TRegionRect& rect) {
    return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
  });
}

std::unique_ptr<TRegion> TSoftwareRegionFactory::CreateFromData(const TRegionDataHeader& header,
                                                                std::span<const TRegionRect> rects) {
  const size_t count = std::min<size_t>(header.Count, rects.size());
  return std::make_unique<TSoftwareRegion>(std::vector<TRegionRect>(rects.begin(), rects.begin() + count));
}

}  // namespace zelk::platform
