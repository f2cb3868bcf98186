#include "platform/Surface.h"

#include "platform/Backend.h"

namespace zelk::platform {

TSurfaceFactory& SurfaceFactory() { return *Backend().Surfaces; }

}  // namespace zelk::platform
