// The picture of one window on the client side: an XImage of the window's
// size that presented rectangles are copied into and put from, in a shared
// memory segment when the server takes one (MIT-SHM), in our own memory
// otherwise. The segment is marked for removal as soon as the server has
// attached it, so it cannot outlive the process.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>

#include "platform/Surface.h"

namespace zelk::platform {

class TX11Image {
 public:
  // Null when neither kind can be made; tryShared asks for shared memory
  // first (the caller traps X errors around it).
  static std::unique_ptr<TX11Image> Create(Display* display, Visual* visual, int depth, int width, int height,
                                           bool tryShared);
  ~TX11Image();
  TX11Image(const TX11Image&) = delete;
  TX11Image& operator=(const TX11Image&) = delete;

  int Width() const { return image_->width; }
  int Height() const { return image_->height; }
  bool Shared() const { return shared_; }

  // Copies area (image coordinates, inside the image) from surface, whose
  // pixel source lies at area's top-left; pixels outside the surface stay.
  void CopyFrom(const TRect& area, TSurface& surface, TPoint source);
  // Puts area of the image at the same place of drawable.
  void Put(Drawable drawable, GC gc, const TRect& area);

 private:
  explicit TX11Image(Display* display);
  void DescribeLayout();
  uint32_t PixelOf(uint32_t argb) const;

  Display* display_;
  XImage* image_ = nullptr;
  bool shared_ = false;
  XShmSegmentInfo segment_{};
  bool plainLayout_ = false;  // 32 bits per pixel, 0xRRGGBB masks, our byte order
  uint32_t opaque_ = 0;       // the bits of an alpha channel the window has
};

}  // namespace zelk::platform
