// The headless backend: the portable services (SoftwareBackend.h) and
// windows in memory (HeadlessWindows.h).
#include "platform/headless/HeadlessWindows.h"
#include "platform/software/SoftwareBackend.h"

namespace zelk::platform {

const TBackend& NativeBackend() {
  static const TBackend backend = SoftwareBackend(HeadlessWindows());
  return backend;
}

}  // namespace zelk::platform
