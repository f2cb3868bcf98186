// 32-bit drawing surfaces: a block of pixels in the bitmap engine's layout
// (4 bytes blue, green, red, alpha per pixel, rows of Width x 4 bytes without
// padding, the bottom row first in memory) that the platform can draw into
// and copy to the screen.
//
// Every surface has a Handle: a device context in which the surface is
// selected for its whole life. Canvases draw through the handle and
// screen-copy code copies from it. A new surface gets a handle that no living
// or earlier surface had, so a resized bitmap never keeps a stale handle.
//
// A portable software implementation is installed by default
// (platform/software/SoftwareSurface.h); a platform backend installs its own
// factory with SetSurfaceFactory at start. Window thread only.
#pragma once

#include <cstdint>
#include <memory>

namespace zelk::platform {

// A device-context handle; 0 is none.
using TSurfaceHandle = uintptr_t;

class TSurface {
 public:
  virtual ~TSurface() = default;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  // Width x Height x 4 bytes, all zero when the surface is created.
  virtual uint8_t* Bits() = 0;
  virtual TSurfaceHandle Handle() const = 0;
  // Completes drawing the platform may still have pending on the surface,
  // before the pixels are read or written directly.
  virtual void Flush() {}
};

class TSurfaceFactory {
 public:
  virtual ~TSurfaceFactory() = default;
  // A surface of width x height (1 to 65535 each); null when the platform
  // refuses it, the reason left in the last error code (SystemError.h).
  virtual std::unique_ptr<TSurface> CreateSurface(int32_t width, int32_t height) = 0;
  // The surface selected in handle; null for 0 or a handle of no living surface.
  virtual TSurface* SurfaceOf(TSurfaceHandle handle) = 0;
};

// The installed factory (the software one unless a backend installed its own).
TSurfaceFactory& SurfaceFactory();
// Installs factory (not owned; it must outlive its use); null restores the
// software factory.
void SetSurfaceFactory(TSurfaceFactory* factory);

}  // namespace zelk::platform
