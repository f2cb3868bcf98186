#include "runtime/RootsLock.h"

namespace zelk {

namespace {

std::recursive_mutex& RootsMutex() {
  // Created on first use and never destroyed: roots may be freed during the
  // library's static destruction.
  static auto* mutex = new std::recursive_mutex();
  return *mutex;
}

}  // namespace

TRootsLock::TRootsLock() { RootsMutex().lock(); }

TRootsLock::~TRootsLock() { RootsMutex().unlock(); }

}  // namespace zelk
