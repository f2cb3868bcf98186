#include "platform/Surface.h"

#include "platform/software/SoftwareSurface.h"

namespace zelk::platform {

namespace {
TSurfaceFactory*& InstalledFactory() {
  static TSurfaceFactory* factory = nullptr;
  return factory;
}
}  // namespace

TSurfaceFactory& SurfaceFactory() {
  TSurfaceFactory* installed = InstalledFactory();
  return installed ? *installed : SoftwareSurfaceFactory();
}

void SetSurfaceFactory(TSurfaceFactory* factory) { InstalledFactory() = factory; }

}  // namespace zelk::platform
