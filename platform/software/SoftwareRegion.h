// A region computed without any window system: the default region factory.
//
// The region is kept in y-x banded form, as window systems keep theirs: a
// list of disjoint rectangles grouped into horizontal bands. Every rectangle
// of a band has the band's Top and Bottom; bands are sorted from the top and
// do not overlap; the rectangles of a band are sorted from the left and
// neither overlap nor touch; two bands that meet vertically never have the
// same rectangles left and right (they would be one band). The form is
// unique for a set of points, so Rectangles() of equal regions are equal.
//
// Building costs O(n log n) for n rectangles in any order and O(n) when they
// arrive banded, as picture rows do; Unite is linear in both regions (and in
// the new one alone when it lies wholly below); Contains is two binary
// searches, one for the band and one within it.
#pragma once

#include <vector>

#include "platform/Region.h"

namespace zelk::platform {

class TSoftwareRegion final : public TRegion {
 public:
  // The union of rects, in any order; empty rectangles cover nothing.
  explicit TSoftwareRegion(std::vector<TRegionRect> rects);

  void Unite(const TRegion& other) override;
  bool Contains(int32_t x, int32_t y) const override;
  std::vector<TRegionRect> Rectangles() const override { return rects_; }

 private:
  std::vector<TRegionRect> rects_;  // banded as described above
};

class TSoftwareRegionFactory final : public TRegionFactory {
 public:
  std::unique_ptr<TRegion> CreateFromData(const TRegionDataHeader& header,
                                          std::span<const TRegionRect> rects) override;
};

}  // namespace zelk::platform
