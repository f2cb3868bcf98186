// The portable surface backend: pixels on the heap, handles from a counter
// that never repeats, and a table from handles to living surfaces.
#pragma once

#include "platform/Surface.h"

namespace zelk::platform {

class TSoftwareSurfaceFactory : public TSurfaceFactory {
 public:
  // Null, with the last error code set to "out of memory", when the pixels
  // cannot be allocated or the size is outside 1..65535.
  std::unique_ptr<TSurface> CreateSurface(int32_t width, int32_t height) override;
  TSurface* SurfaceOf(TSurfaceHandle handle) override;
};

TSoftwareSurfaceFactory& SoftwareSurfaceFactory();

}  // namespace zelk::platform
