// The one lock of everything the editors of the process share: the window
// system with its display connection and window records, the toolkit's
// input state, and the image registries while forms are read and painted.
//
// Hosts drive editors from several threads: a user-interface thread per
// plug-in window, or a bridge that closes an editor from another thread than
// it opened it on. Every entry that reaches the window system holds this
// lock for its whole length: the editor opcodes and effClose at the
// dispatcher, and the window procedure where the system delivers messages
// itself (Win32). It is recursive, because those entries nest on one thread
// (a window's creation sends messages to its procedure). Never taken on the
// audio path.
#pragma once

#include <mutex>

namespace zelk::platform {

std::recursive_mutex& UserInterfaceLock();

}  // namespace zelk::platform
