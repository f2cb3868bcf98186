// What a window shows on the server: its pixels, put from an image of the
// window's size (shared with the server where it can be), its shape and its
// cursor.
#include <X11/extensions/shape.h>

#include <vector>

#include "platform/Region.h"
#include "platform/x11/X11WindowState.h"

// Last of the includes: this file's X calls go through the functions
// loaded on first need.
#include "platform/x11/XlibLoader.h"

namespace zelk::platform {

TX11Image* TX11WindowSystem::TState::ImageOf(TX11Window& window) {
  const int width = window.Bounds.Width();
  const int height = window.Bounds.Height();
  if (window.Image && window.Image->Width() == width && window.Image->Height() == height) return window.Image.get();
  window.Image.reset();
  const bool shared = Server.SharedMemory() && SharedMemoryAllowed;
  const uint32_t errorsBefore = X11ErrorCount();
  window.Image = TX11Image::Create(Server.Handle(), window.WindowVisual, window.Depth, width, height, shared);
  if (window.Image && window.Image->Shared() && X11ErrorCount() != errorsBefore) {
    // The server refused the segment: it is on another machine.
    window.Image.reset();
    Server.RefuseSharedMemory();
    window.Image = TX11Image::Create(Server.Handle(), window.WindowVisual, window.Depth, width, height, false);
  }
  return window.Image.get();
}

void TX11WindowSystem::TState::WaitForImages() {
  XSync(Server.Handle(), False);
  for (const auto& [id, window] : Core.Windows()) static_cast<TX11Window&>(*window).InFlight.Clear();
}

void TX11WindowSystem::TState::Present(TX11Window& window, const TRect& area, TSurface& surface, TPoint source) {
  const TRect target = IntersectRect(area, window.ClientRect());
  if (target.IsEmpty()) return;
  TErrorTrap trap;
  // Pixels of a shared image the server may still read from an earlier put
  // wait for it; other rectangles go on at once, without a round trip.
  const bool resized = window.Image && (window.Image->Width() != window.Bounds.Width() ||
                                        window.Image->Height() != window.Bounds.Height());
  if (window.InFlight.Intersects(target) || (resized && !window.InFlight.IsEmpty())) WaitForImages();
  TX11Image* image = ImageOf(window);
  if (image == nullptr) return;
  if (window.Context == nullptr) {
    XGCValues values{};
    values.graphics_exposures = False;
    window.Context = XCreateGC(Server.Handle(), window.Id, GCGraphicsExposures, &values);
  }
  image->CopyFrom(target, surface, {source.X + (target.Left - area.Left), source.Y + (target.Top - area.Top)});
  image->Put(window.Id, window.Context, target);
  if (image->Shared()) window.InFlight.Add(target);
  PresentedInPump = true;
  PresentedPixels += static_cast<uint64_t>(target.Width()) * static_cast<uint64_t>(target.Height());
}

void TX11WindowSystem::Present(TNativeWindow window, const TRect& area, TSurface& surface, TPoint source) {
  TX11Window* record = state_->Find(window);
  if (record == nullptr || record->Id == 0 || !state_->Server.Usable()) return;
  state_->Present(*record, area, surface, source);
}

void TX11WindowSystem::SetCursor(TNativeWindow window, TCursorShape shape) {
  TState& state = *state_;
  const TX11Window* record = state.Find(window);
  if (record == nullptr || record->Id == 0 || !state.Server.Usable()) return;
  TErrorTrap trap;
  XDefineCursor(state.Server.Handle(), record->Id, state.Server.CursorFor(shape, record->Id));
  XFlush(state.Server.Handle());
}

void TX11WindowSystem::SetWindowRegion(TNativeWindow window, const TRegion* region) {
  TState& state = *state_;
  const TX11Window* record = state.Find(window);
  if (record == nullptr || record->Id == 0 || !state.Server.Shape() || !state.Server.Usable()) return;
  Display* display = state.Server.Handle();
  TErrorTrap trap;
  if (region == nullptr) {
    XShapeCombineMask(display, record->Id, ShapeBounding, 0, 0, None, ShapeSet);
  } else {
    std::vector<XRectangle> rectangles;
    for (const TRegionRect& rect : region->Rectangles()) {
      const TRect clipped = IntersectRect({rect.Left, rect.Top, rect.Right, rect.Bottom}, {-32768, -32768, 32767, 32767});
      if (clipped.IsEmpty()) continue;
      rectangles.push_back({static_cast<short>(clipped.Left), static_cast<short>(clipped.Top),
                            static_cast<unsigned short>(clipped.Width()), static_cast<unsigned short>(clipped.Height())});
    }
    XShapeCombineRectangles(display, record->Id, ShapeBounding, 0, 0, rectangles.data(),
                            static_cast<int>(rectangles.size()), ShapeSet, Unsorted);
  }
  XFlush(display);
}

}  // namespace zelk::platform
