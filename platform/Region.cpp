#include "platform/Region.h"

#include "platform/Backend.h"

namespace zelk::platform {

TRegionFactory& RegionFactory() { return *Backend().Regions; }

}  // namespace zelk::platform
