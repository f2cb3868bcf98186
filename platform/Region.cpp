#include "platform/Region.h"

#include "platform/software/SoftwareRegion.h"

namespace zelk::platform {

namespace {

TRegionFactory*& InstalledFactory() {
  static TRegionFactory* factory = nullptr;
  return factory;
}

}  // namespace

TRegionFactory& RegionFactory() {
  static TSoftwareRegionFactory software;
  TRegionFactory* installed = InstalledFactory();
  return installed ? *installed : software;
}

void SetRegionFactory(TRegionFactory* factory) { InstalledFactory() = factory; }

}  // namespace zelk::platform
