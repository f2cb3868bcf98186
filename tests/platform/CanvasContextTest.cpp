// The canvas draws through its surface's device context: an origin that
// places logical coordinates, a clip region that limits what changes, and a
// stack of saved states, shared by every canvas bound to the same surface.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Canvas.h"
#include "platform/headless/HeadlessWindows.h"
#include "runtime/Exceptions.h"
#include "runtime/Object.h"

namespace zelk::tests {
namespace {

using namespace platform;

using TCanvasPtr = std::unique_ptr<TCanvas, TFreeObject>;

constexpr TCanvasColor kRed = 0x0000FF;
constexpr uint32_t kRedPixel = 0x00FF0000;

std::unique_ptr<TSurface> MakeSurface(int32_t width, int32_t height) {
  return SurfaceFactory().CreateSurface(width, height);
}

// The pixel at (x, y) from the top-left, read straight from the surface.
uint32_t PixelOf(TSurface& surface, int32_t x, int32_t y) {
  const uint8_t* at = surface.Bits() + ((surface.Height() - 1 - y) * surface.Width() + x) * 4;
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}

// Counts the changed (non-zero) pixels and checks they all lie inside area.
int PaintedInside(TSurface& surface, const TRect& area) {
  int painted = 0;
  for (int32_t y = 0; y < surface.Height(); ++y) {
    for (int32_t x = 0; x < surface.Width(); ++x) {
      if (PixelOf(surface, x, y) == 0) continue;
      EXPECT_TRUE(area.Contains({x, y})) << x << "," << y;
      ++painted;
    }
  }
  return painted;
}

TCanvasPtr RedCanvasOn(TSurface& surface) {
  TCanvasPtr canvas(New<TCanvas>());
  canvas->SetHandle(surface.Handle());
  canvas->Brush().Color = kRed;
  return canvas;
}

TEST(CanvasContext, TheOriginPlacesLogicalCoordinates) {
  auto surface = MakeSurface(20, 20);
  TCanvasPtr canvas = RedCanvasOn(*surface);
  canvas->MoveOrigin(5, 3);
  canvas->MoveOrigin(1, 1);
  EXPECT_EQ(canvas->Origin(), (TPoint{6, 4}));
  canvas->FillRect(0, 0, 2, 2);
  EXPECT_EQ(PaintedInside(*surface, {6, 4, 8, 6}), 4);
  EXPECT_EQ(canvas->Pixel(0, 0), kRed);
}

TEST(CanvasContext, ClippingLimitsDrawingAndTheClipBoxFollowsTheOrigin) {
  auto surface = MakeSurface(20, 20);
  TCanvasPtr canvas = RedCanvasOn(*surface);
  EXPECT_EQ(canvas->ClipBox(), (TRect{0, 0, 20, 20}));
  EXPECT_EQ(canvas->IntersectClipRect({2, 2, 10, 10}), TRegionKind::rkSimple);
  canvas->MoveOrigin(4, 0);
  EXPECT_EQ(canvas->ClipBox(), (TRect{-2, 2, 6, 10}));
  canvas->FillRect(-100, -100, 100, 100);
  EXPECT_EQ(PaintedInside(*surface, {2, 2, 10, 10}), 64);
  EXPECT_EQ(canvas->Pixel(-3, 5), -1);  // outside the clip region
}

// A hole cut into the clip region stays untouched; an empty region reports so.
TEST(CanvasContext, ExcludedRectanglesStayUntouched) {
  auto surface = MakeSurface(10, 10);
  TCanvasPtr canvas = RedCanvasOn(*surface);
  EXPECT_EQ(canvas->ExcludeClipRect({2, 2, 4, 4}), TRegionKind::rkComplex);
  EXPECT_FALSE(canvas->RectVisible({2, 2, 4, 4}));
  EXPECT_TRUE(canvas->RectVisible({3, 3, 5, 5}));
  canvas->FillRect(0, 0, 10, 10);
  EXPECT_EQ(PixelOf(*surface, 3, 3), 0u);
  EXPECT_EQ(PixelOf(*surface, 4, 3), kRedPixel);
  EXPECT_EQ(PaintedInside(*surface, {0, 0, 10, 10}), 96);
  EXPECT_EQ(canvas->ExcludeClipRect({-5, -5, 50, 50}), TRegionKind::rkEmpty);
  EXPECT_TRUE(canvas->ClipBox().IsEmpty());
}

TEST(CanvasContext, RestoringGoesBackToTheSavedOriginAndClip) {
  auto surface = MakeSurface(10, 10);
  TCanvasPtr canvas = RedCanvasOn(*surface);
  EXPECT_EQ(canvas->SaveState(), 1);
  canvas->MoveOrigin(3, 3);
  canvas->IntersectClipRect({0, 0, 2, 2});
  EXPECT_EQ(canvas->SaveState(), 2);
  canvas->ExcludeClipRect({0, 0, 1, 1});
  canvas->RestoreState();
  EXPECT_EQ(canvas->ClipBox(), (TRect{0, 0, 2, 2}));
  canvas->RestoreState(1);
  EXPECT_EQ(canvas->Origin(), (TPoint{0, 0}));
  EXPECT_EQ(canvas->ClipBox(), (TRect{0, 0, 10, 10}));
  canvas->RestoreState(5);  // never saved: nothing happens
  EXPECT_EQ(canvas->ClipBox(), (TRect{0, 0, 10, 10}));
}

// A container moves the origin and clips, then hands the handle to a child
// whose own canvas draws in the child's coordinates.
TEST(CanvasContext, CanvasesBoundToOneHandleShareItsState) {
  auto surface = MakeSurface(20, 20);
  TCanvasPtr container = RedCanvasOn(*surface);
  container->MoveOrigin(10, 10);
  container->IntersectClipRect({0, 0, 4, 4});
  TCanvasPtr child = RedCanvasOn(*surface);
  child->FillRect(-10, -10, 30, 30);
  EXPECT_EQ(PaintedInside(*surface, {10, 10, 14, 14}), 16);
}

TEST(CanvasContext, BlockCopiesMoveWholePixelsBetweenAndWithinCanvases) {
  auto source = MakeSurface(8, 8);
  auto target = MakeSurface(8, 8);
  TCanvasPtr from = RedCanvasOn(*source);
  from->FillRect(0, 0, 2, 2);
  TCanvasPtr to = RedCanvasOn(*target);
  to->IntersectClipRect({0, 0, 5, 8});
  to->CopyBlock(4, 4, *from, {0, 0, 2, 2});
  EXPECT_EQ(PixelOf(*target, 4, 4), kRedPixel);
  EXPECT_EQ(PixelOf(*target, 5, 5), 0u);  // clipped
  // Overlapping copy within one canvas reads before it writes.
  from->CopyBlock(1, 0, *from, {0, 0, 2, 2});
  EXPECT_EQ(PaintedInside(*source, {0, 0, 3, 2}), 6);
}

TEST(CanvasContext, ACanvasIsUnboundWhenItsSurfaceGoes) {
  auto surface = MakeSurface(4, 4);
  TCanvasPtr canvas = RedCanvasOn(*surface);
  EXPECT_TRUE(canvas->HandleAllocated());
  surface.reset();
  EXPECT_FALSE(canvas->HandleAllocated());
  EXPECT_THROW(canvas->FillRect(0, 0, 1, 1), EInvalidOperation);
  canvas->SetHandle(12345678);  // no such surface
  EXPECT_FALSE(canvas->HandleAllocated());
}

TEST(CanvasContext, CopyingToAWindowPresentsThePixels) {
  THeadlessWindowSystem& windows = HeadlessWindows();
  const TNativeWindow window = windows.CreateForeignWindow({0, 0, 10, 10});
  auto surface = MakeSurface(10, 10);
  TCanvasPtr canvas = RedCanvasOn(*surface);
  canvas->FillRect(1, 1, 2, 2);
  canvas->MoveOrigin(1, 1);
  canvas->CopyToWindow(window, {5, 5, 7, 7}, {0, 0});
  EXPECT_EQ(windows.PixelAt(window, 5, 5), kRedPixel);
  EXPECT_EQ(windows.PixelAt(window, 6, 6), 0u);
  windows.DestroyWindow(window);
}

}  // namespace
}  // namespace zelk::tests
