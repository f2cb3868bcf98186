// The X11 backend of the Linux plug-in: the portable services
// (SoftwareBackend.h) and windows on the X server (X11Windows.h).
#include "platform/software/SoftwareBackend.h"
#include "platform/x11/X11Windows.h"

namespace zelk::platform {

const TBackend& NativeBackend() {
  static const TBackend backend = SoftwareBackend(X11Windows());
  return backend;
}

}  // namespace zelk::platform
