// The X11 backend of the Linux plug-in: software surfaces, regions and error
// texts, the classic system colours, and windows on the X server
// (X11Windows.h). Text keeps the runtime's UTF-8 and numbers the locale
// environment's separator.
#include "platform/Backend.h"
#include "platform/software/ClassicSystemColors.h"
#include "platform/software/SoftwareRegion.h"
#include "platform/software/SoftwareSurface.h"
#include "platform/software/SoftwareSystemErrors.h"
#include "platform/x11/X11Windows.h"

namespace zelk::platform {

const TBackend& NativeBackend() {
  static TSoftwareRegionFactory regions;
  static TSoftwareSystemErrors errors;
  static const TBackend backend{
      .Surfaces = &SoftwareSurfaceFactory(),
      .Regions = &regions,
      .Errors = &errors,
      .SystemColor = &ClassicSystemColor,
      .Windows = &X11Windows(),
  };
  return backend;
}

}  // namespace zelk::platform
