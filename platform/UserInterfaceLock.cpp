#include "platform/UserInterfaceLock.h"

namespace zelk::platform {

std::recursive_mutex& UserInterfaceLock() {
  // Never destroyed: a host thread may still close an editor while the
  // library's static objects go at unload.
  static auto* lock = new std::recursive_mutex;
  return *lock;
}

}  // namespace zelk::platform
