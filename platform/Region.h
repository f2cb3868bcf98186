// Window regions as the platform builds them: a region is made from a
// region-data buffer (a 32-byte header followed by rectangles), can be
// united with another region, and answers whether a point lies inside.
//
// The bitmap engine builds regions from pictures in batches of at most 400
// rectangles; the window code hands the result to the platform to shape a
// window. The regions come from the backend's factory (see Backend.h); the
// portable one is platform/software/SoftwareRegion.h.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zelk::platform {

// One rectangle of a region: Right and Bottom are exclusive.
struct TRegionRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  bool operator==(const TRegionRect&) const = default;
};
static_assert(sizeof(TRegionRect) == 16);

inline constexpr uint32_t kRegionDataRectangles = 1;  // header type: a list of rectangles

// The header of a region-data buffer.
struct TRegionDataHeader {
  uint32_t Size = 32;  // size of this header
  uint32_t Type = kRegionDataRectangles;
  uint32_t Count = 0;       // rectangles that follow
  uint32_t RegionSize = 0;  // bytes of the rectangles, 0 = not given
  TRegionRect Bounds;       // bounding rectangle of the region
};
static_assert(sizeof(TRegionDataHeader) == 32);

class TRegion {
 public:
  virtual ~TRegion() = default;
  // This region becomes the union (logical or) of itself and other.
  virtual void Unite(const TRegion& other) = 0;
  virtual bool Contains(int32_t x, int32_t y) const = 0;
  // The region as disjoint rectangles, sorted by Top, then Left.
  virtual std::vector<TRegionRect> Rectangles() const = 0;
};

class TRegionFactory {
 public:
  virtual ~TRegionFactory() = default;
  // A region from header.Count rectangles; rects holds at least that many.
  // Never null.
  virtual std::unique_ptr<TRegion> CreateFromData(const TRegionDataHeader& header,
                                                  std::span<const TRegionRect> rects) = 0;
};

// The backend's factory.
TRegionFactory& RegionFactory();

}  // namespace zelk::platform
