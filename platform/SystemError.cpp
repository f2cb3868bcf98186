#include "platform/SystemError.h"

#include "platform/Backend.h"

namespace zelk::platform {

TSystemErrors& SystemErrors() { return *Backend().Errors; }

}  // namespace zelk::platform
