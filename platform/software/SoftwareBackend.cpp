#include "platform/software/SoftwareBackend.h"

#include "platform/software/ClassicSystemColors.h"
#include "platform/software/SoftwareRegion.h"
#include "platform/software/SoftwareSurface.h"
#include "platform/software/SoftwareSystemErrors.h"

namespace zelk::platform {

TBackend SoftwareBackend(TWindowSystem& windows) {
  static TSoftwareRegionFactory regions;
  static TSoftwareSystemErrors errors;
  return {
      .Surfaces = &SoftwareSurfaceFactory(),
      .Regions = &regions,
      .Errors = &errors,
      .SystemColor = &ClassicSystemColor,
      .Windows = &windows,
  };
}

}  // namespace zelk::platform
