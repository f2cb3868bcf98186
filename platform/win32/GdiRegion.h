// Regions as GDI regions: built from region data with ExtCreateRegion,
// united with CombineRgn, hit-tested with PtInRegion and listed with
// GetRegionData (GDI keeps them y-x banded, as the portable region does).
#pragma once

#include "platform/Region.h"

namespace zelk::platform {

class TGdiRegionFactory final : public TRegionFactory {
 public:
  std::unique_ptr<TRegion> CreateFromData(const TRegionDataHeader& header,
                                          std::span<const TRegionRect> rects) override;
};

// A new GDI region (an HRGN the caller owns) holding the points of region,
// whatever factory made it; null when GDI refuses.
void* CreateGdiRegionFrom(const TRegion& region);

}  // namespace zelk::platform
