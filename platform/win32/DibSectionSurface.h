// Surfaces as 32-bit DIB sections: each surface is a bottom-up 32-bit DIB
// section selected into a memory device context of its own for its whole
// life, so its Handle is a real HDC that GDI draws into and copies from, and
// its Bits are the section's pixels in the bitmap engine's layout.
#pragma once

#include "platform/Surface.h"

namespace zelk::platform {

class TDibSectionSurfaceFactory final : public TSurfaceFactory {
 public:
  // Null, with the system's last error set, when GDI refuses the section
  // or the size is outside 1..65535.
  std::unique_ptr<TSurface> CreateSurface(int32_t width, int32_t height) override;
  TSurface* SurfaceOf(TSurfaceHandle handle) override;
  // Any device context: GDI draws the 8-bit sections (GdiSurface8.h).
  std::unique_ptr<TSurface8> Surface8Of(TSurfaceHandle handle) override;
};

TDibSectionSurfaceFactory& DibSectionSurfaceFactory();

}  // namespace zelk::platform
