#include "platform/x11/X11Image.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

// Last of the includes: this file's X calls go through the functions
// loaded on first need.
#include "platform/x11/XlibLoader.h"

namespace zelk::platform {

namespace {

constexpr uint32_t kRedMask = 0xFF0000;
constexpr uint32_t kGreenMask = 0x00FF00;
constexpr uint32_t kBlueMask = 0x0000FF;

int NativeByteOrder() { return std::endian::native == std::endian::little ? LSBFirst : MSBFirst; }

// An 8-bit channel scaled into the bits of mask.
unsigned long Channel(uint32_t value8, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const unsigned long scaled = bits >= 8 ? static_cast<unsigned long>(value8) << (bits - 8) : value8 >> (8 - bits);
  return (scaled << shift) & mask;
}

XImage* CreateSharedImage(Display* display, Visual* visual, int depth, int width, int height,
                          XShmSegmentInfo& segment) {
  XImage* image = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &segment,
                                  static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (image == nullptr) return nullptr;
  segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
  if (segment.shmid < 0) {
    XDestroyImage(image);
    return nullptr;
  }
  segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
  if (segment.shmaddr == reinterpret_cast<char*>(-1)) {
    shmctl(segment.shmid, IPC_RMID, nullptr);
    image->data = nullptr;
    XDestroyImage(image);
    return nullptr;
  }
  segment.readOnly = False;
  // A server on another machine accepts the request and then fails it:
  // only the round trip tells.
  const bool attached = XShmAttach(display, &segment) != 0;
  XSync(display, False);
  shmctl(segment.shmid, IPC_RMID, nullptr);
  if (attached) return image;
  shmdt(segment.shmaddr);
  image->data = nullptr;
  XDestroyImage(image);
  return nullptr;
}

}  // namespace

TX11Image::TX11Image(Display* display) : display_(display) {}

void TX11Image::DescribeLayout() {
  plainLayout_ = image_->bits_per_pixel == 32 && image_->red_mask == kRedMask && image_->green_mask == kGreenMask &&
                 image_->blue_mask == kBlueMask && image_->byte_order == NativeByteOrder();
  if (image_->depth == 32) opaque_ = 0xFF000000u;
}

std::unique_ptr<TX11Image> TX11Image::Create(Display* display, Visual* visual, int depth, int width, int height,
                                             bool tryShared) {
  if (width <= 0 || height <= 0) return nullptr;
  auto result = std::unique_ptr<TX11Image>(new TX11Image(display));
  // The image keeps the address of the segment's description: it lives in
  // the object.
  if (tryShared) result->image_ = CreateSharedImage(display, visual, depth, width, height, result->segment_);
  result->shared_ = result->image_ != nullptr;
  if (result->image_ == nullptr) {
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (image == nullptr) return nullptr;
    image->data =
        static_cast<char*>(std::calloc(static_cast<size_t>(image->bytes_per_line), static_cast<size_t>(height)));
    if (image->data == nullptr) {
      XDestroyImage(image);
      return nullptr;
    }
    // Our pixels are in the machine's order; the image says so and Xlib
    // swaps them for a server of the other order.
    image->byte_order = NativeByteOrder();
    result->image_ = image;
  }
  result->DescribeLayout();
  return result;
}

TX11Image::~TX11Image() {
  if (shared_) {
    XShmDetach(display_, &segment_);
    shmdt(segment_.shmaddr);
    image_->data = nullptr;
  }
  XDestroyImage(image_);  // frees the memory of a plain image
}

uint32_t TX11Image::PixelOf(uint32_t argb) const {
  return static_cast<uint32_t>(Channel((argb >> 16) & 0xFF, image_->red_mask) |
                               Channel((argb >> 8) & 0xFF, image_->green_mask) |
                               Channel(argb & 0xFF, image_->blue_mask)) |
         opaque_;
}

void TX11Image::CopyFrom(const TRect& area, TSurface& surface, TPoint source) {
  surface.Flush();
  const uint8_t* bits = surface.Bits();
  const int32_t surfaceWidth = surface.Width();
  const int32_t surfaceHeight = surface.Height();
  // The columns that lie on the surface.
  const int32_t left = std::max(area.Left, area.Left - source.X);
  const int32_t right = std::min(area.Right, area.Left + surfaceWidth - source.X);
  if (right <= left) return;
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const int64_t sourceY = int64_t{source.Y} + (y - area.Top);
    if (sourceY < 0 || sourceY >= surfaceHeight) continue;
    // Surfaces keep the bottom row first.
    const auto* from = reinterpret_cast<const uint32_t*>(
        bits + ((surfaceHeight - 1 - sourceY) * surfaceWidth + source.X + (left - area.Left)) * 4);
    char* row = image_->data + static_cast<ptrdiff_t>(y) * image_->bytes_per_line;
    if (plainLayout_ && opaque_ == 0) {
      std::memcpy(row + static_cast<ptrdiff_t>(left) * 4, from, static_cast<size_t>(right - left) * 4);
      continue;
    }
    if (plainLayout_) {
      auto* to = reinterpret_cast<uint32_t*>(row) + left;
      for (int32_t x = 0; x < right - left; ++x) to[x] = from[x] | opaque_;
      continue;
    }
    for (int32_t x = left; x < right; ++x) XPutPixel(image_, x, y, PixelOf(from[x - left]));
  }
}

void TX11Image::Put(Drawable drawable, GC gc, const TRect& area) {
  const auto width = static_cast<unsigned>(area.Width());
  const auto height = static_cast<unsigned>(area.Height());
  if (shared_) {
    XShmPutImage(display_, drawable, gc, image_, area.Left, area.Top, area.Left, area.Top, width, height, False);
  } else {
    XPutImage(display_, drawable, gc, image_, area.Left, area.Top, area.Left, area.Top, width, height);
  }
}

}  // namespace zelk::platform
