// Hosts create and close modules on several threads at once. What all roots
// share is changed only under one process-wide lock: the application
// object's list of the components it owns, the root list with its unique
// names, the references between roots that wait for their target, and the
// free-notification links, which may join components of two roots.
//
// The lock is recursive, because building or freeing a root inserts, names
// and links components while holding it. It guards only those shared lists:
// each root's own components belong to the thread that works with that root.
// Never taken on the audio path.
#pragma once

#include <mutex>

namespace zelk {

class TRootsLock {
 public:
  TRootsLock();
  ~TRootsLock();
  TRootsLock(const TRootsLock&) = delete;
  TRootsLock& operator=(const TRootsLock&) = delete;
};

}  // namespace zelk
