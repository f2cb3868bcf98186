// A region held as disjoint rectangles in horizontal bands, computed without
// any window system: the default region factory.
#pragma once

#include <vector>

#include "platform/Region.h"

namespace zelk::platform {

class TSoftwareRegion final : public TRegion {
 public:
  explicit TSoftwareRegion(std::vector<TRegionRect> rects);

  void Unite(const TRegion& other) override;
  bool Contains(int32_t x, int32_t y) const override;
  std::vector<TRegionRect> Rectangles() const override { return rects_; }

 private:
  std::vector<TRegionRect> rects_;  // disjoint, sorted by Top, then Left
};

class TSoftwareRegionFactory final : public TRegionFactory {
 public:
  std::unique_ptr<TRegion> CreateFromData(const TRegionDataHeader& header,
                                          std::span<const TRegionRect> rects) override;
};

}  // namespace zelk::platform
