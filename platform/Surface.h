// 32-bit drawing surfaces: a block of pixels in the bitmap engine's layout
// (4 bytes blue, green, red, alpha per pixel, rows of Width x 4 bytes without
// padding, the bottom row first in memory) that canvases draw into and
// windows present.
//
// Every surface has a Handle: an opaque value naming the device context in
// which the surface is selected for its whole life. The context's state (its
// origin and clip region, see Canvas.h) lives with the surface, so every
// canvas bound to the same handle shares it. A new surface gets a handle that
// no living or earlier surface had, so a resized bitmap never keeps a stale
// handle.
//
// The surfaces come from the backend's factory (see Backend.h); the portable
// one is platform/software/SoftwareSurface.h. Window thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/RectSet.h"
#include "platform/Surface8.h"

namespace zelk::platform {

class TCanvas;

// A device-context handle; 0 is none.
using TSurfaceHandle = uintptr_t;

// The drawing state of a surface's device context, in surface pixels
// counted from the top-left.
struct TDeviceState {
  TPoint Origin;         // where logical (0, 0) lies
  bool Clipped = false;  // false: drawing may touch the whole surface
  TRectSet Clip;         // what drawing may touch, when Clipped
};

class TSurface {
 public:
  TSurface() = default;
  TSurface(const TSurface&) = delete;
  TSurface& operator=(const TSurface&) = delete;
  // Unbinds the canvases still bound to it.
  virtual ~TSurface();

  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  // Width x Height x 4 bytes, all zero when the surface is created.
  virtual uint8_t* Bits() = 0;
  virtual TSurfaceHandle Handle() const = 0;
  // Completes drawing the platform may still have pending on the surface,
  // before the pixels are read or written directly.
  virtual void Flush() {}

  TDeviceState& DeviceState() { return state_; }
  // States saved by TCanvas::SaveState, the last one on top.
  std::vector<TDeviceState>& SavedStates() { return saved_; }

 private:
  friend class TCanvas;
  TDeviceState state_;
  std::vector<TDeviceState> saved_;
  std::vector<TCanvas*> canvases_;  // bound to this surface
};

class TSurfaceFactory {
 public:
  virtual ~TSurfaceFactory() = default;
  // A surface of width x height (1 to 65535 each); null when the platform
  // refuses it, the reason left in the last error code (SystemError.h).
  virtual std::unique_ptr<TSurface> CreateSurface(int32_t width, int32_t height) = 0;
  // The surface selected in handle; null for 0 or a handle of no living surface.
  virtual TSurface* SurfaceOf(TSurfaceHandle handle) = 0;
  // The 8-bit palette view of a device context handle, for drawing into
  // 8-bit displays (Surface8.h); null where the platform's handles are only
  // its own 32-bit surfaces.
  virtual std::unique_ptr<TSurface8> Surface8Of(TSurfaceHandle handle) { return nullptr; }
};

// The backend's factory.
TSurfaceFactory& SurfaceFactory();

}  // namespace zelk::platform
