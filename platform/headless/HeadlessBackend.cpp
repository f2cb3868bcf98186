// The headless backend: software surfaces, regions and error texts, the
// classic system colours, and windows in memory (HeadlessWindows.h). Text
// keeps the runtime's UTF-8 and numbers the locale environment's separator.
#include "platform/Backend.h"
#include "platform/headless/HeadlessWindows.h"
#include "platform/software/ClassicSystemColors.h"
#include "platform/software/SoftwareRegion.h"
#include "platform/software/SoftwareSurface.h"
#include "platform/software/SoftwareSystemErrors.h"

namespace zelk::platform {

const TBackend& NativeBackend() {
  static TSoftwareRegionFactory regions;
  static TSoftwareSystemErrors errors;
  static const TBackend backend{
      .Surfaces = &SoftwareSurfaceFactory(),
      .Regions = &regions,
      .Errors = &errors,
      .SystemColor = &ClassicSystemColor,
      .Windows = &HeadlessWindows(),
  };
  return backend;
}

}  // namespace zelk::platform
