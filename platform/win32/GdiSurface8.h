// The 8-bit palette surface of a Windows device context: sections are 8-bit
// DIB sections selected into a memory context compatible with it, and
// SetBits copies a section to the context with SetDIBitsToDevice. The
// context's depth is the one of the bitmap selected into a memory context,
// else the device's.
#pragma once

#include <memory>

#include "platform/Surface.h"
#include "platform/Surface8.h"

namespace zelk::platform {

// Null for a null handle.
std::unique_ptr<TSurface8> CreateGdiSurface8(TSurfaceHandle dc);

}  // namespace zelk::platform
