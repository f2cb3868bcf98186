// The record of a backend built on the portable services: software
// surfaces, regions and error texts and the classic system colours, with the
// backend's window system. Text keeps the runtime's UTF-8 and numbers the
// locale environment's separator.
#pragma once

#include "platform/Backend.h"

namespace zelk::platform {

TBackend SoftwareBackend(TWindowSystem& windows);

}  // namespace zelk::platform
