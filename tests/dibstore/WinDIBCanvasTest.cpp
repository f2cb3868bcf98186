// Window bitmaps keep their pixels in a platform surface whose canvas draws
// in the engine's layout (bottom row first, drawn pixels with alpha 0) and
// announces every change through the bitmap.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "DIBStoreTestSupport.h"
#include "dib/DIBPixels.h"
#include "dib/WinDIB.h"

namespace zelk::tests {
namespace {

using TWinDIBPtr = std::unique_ptr<TWinDIB, TFreeObject>;
using platform::TBrushStyle;
using platform::TPenStyle;

TWinDIBPtr MakeWinDIB(uint16_t width, uint16_t height) {
  return TWinDIBPtr(TAbstractSuperDIB::CreateSize<TWinDIB>(width, height));
}

// The pixel at column x of row y counted from the top.
TPixel PixelAt(const TAbstractSuperDIB& dib, int x, int y) {
  return LoadPixel(dib.Bits() + PixelOffset(dib.Width(), x, dib.Height() - 1 - y));
}

constexpr TPixel kRed = 0x00FF0000;   // drawn with clRed = 0x0000FF
constexpr TPixel kBlue = 0x000000FF;  // drawn with 0xFF0000

TEST(WinDIB, DrawingOnTheCanvasFiresTheBitmapsOnChange) {
  TWinDIBPtr dib = MakeWinDIB(8, 8);
  tests::TChangeCounter changes;
  dib->OnChange = changes.Event();
  dib->Canvas()->MoveTo(0, 0);
  dib->Canvas()->LineTo(5, 0);
  EXPECT_EQ(changes.Count, 1);
}

// A resize replaces the surface: a new handle, new zeroed pixels.
TEST(WinDIB, ResizingGivesANewHandleAndZeroedPixels) {
  TWinDIBPtr dib(New<TWinDIB>());
  EXPECT_EQ(dib->Handle(), 0u);
  dib->SetSize(4, 4);
  const platform::TSurfaceHandle first = dib->Handle();
  EXPECT_NE(first, 0u);
  EXPECT_EQ(dib->Canvas()->Handle(), first);
  dib->Fill(0xFFFFFF);
  dib->SetSize(5, 4);
  EXPECT_NE(dib->Handle(), first);
  EXPECT_EQ(dib->Canvas()->Handle(), dib->Handle());
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(*dib, x, y), 0u);
  }
}

// Canvas coordinates count from the top; the pixels lie bottom row first.
TEST(SoftwareCanvas, PixelsAreAddressedFromTheTopAndStoredWithAlphaZero) {
  TWinDIBPtr dib = MakeWinDIB(3, 2);
  dib->SetAlpha(255);
  dib->Canvas()->SetPixel(2, 0, 0x0000FF);
  EXPECT_EQ(PixelAt(*dib, 2, 0), kRed);
  EXPECT_EQ(LoadPixel(dib->Bits() + PixelOffset(3, 2, 1)), kRed);
  EXPECT_EQ(dib->Canvas()->Pixel(2, 0), 0x0000FF);
  EXPECT_EQ(dib->Canvas()->Pixel(3, 0), -1);
}

TEST(SoftwareCanvas, PixelsOutsideTheSurfaceAreIgnored) {
  TWinDIBPtr dib = MakeWinDIB(3, 2);
  dib->Fill(0x123456);
  const std::vector<uint8_t> before(dib->Bits(), dib->Bits() + 3 * 2 * 4);
  for (const auto& [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {-1, 5}, {3, 2}}) {
    dib->Canvas()->SetPixel(x, y, 0x0000FF);
    EXPECT_EQ(dib->Canvas()->Pixel(x, y), -1) << x << "," << y;
  }
  EXPECT_EQ(std::vector<uint8_t>(dib->Bits(), dib->Bits() + 3 * 2 * 4), before);
}

// A line leaves out its end point; a dashed pen draws 18 pixels, skips 6,
// and fills the gaps with a solid brush.
TEST(SoftwareCanvas, LinesAndDashes) {
  TWinDIBPtr dib = MakeWinDIB(40, 3);
  platform::TCanvas& canvas = *dib->Canvas();
  canvas.Pen().Color = 0x0000FF;
  canvas.Brush().Style = TBrushStyle::bsClear;
  canvas.MoveTo(0, 0);
  canvas.LineTo(30, 0);
  EXPECT_EQ(PixelAt(*dib, 29, 0), kRed);
  EXPECT_EQ(PixelAt(*dib, 30, 0), 0u);
  EXPECT_EQ(canvas.PenX(), 30);

  canvas.Pen().Style = TPenStyle::psDash;
  canvas.MoveTo(0, 1);
  canvas.LineTo(40, 1);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(PixelAt(*dib, x, 1), (x % 24) < 18 ? kRed : 0u) << x;

  canvas.Brush().Style = TBrushStyle::bsSolid;
  canvas.Brush().Color = 0xFF0000;
  canvas.MoveTo(0, 2);
  canvas.LineTo(40, 2);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(PixelAt(*dib, x, 2), (x % 24) < 18 ? kRed : kBlue) << x;
}

// Rectangles: the outline runs along left/top and right-1/bottom-1, the
// brush fills the inside.
TEST(SoftwareCanvas, RectangleOutlineAndFill) {
  TWinDIBPtr dib = MakeWinDIB(6, 6);
  platform::TCanvas& canvas = *dib->Canvas();
  canvas.Pen().Color = 0x0000FF;
  canvas.Brush().Color = 0xFF0000;
  canvas.Rectangle(1, 1, 5, 5);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x <= 4 && y >= 1 && y <= 4;
      const bool edge = inside && (x == 1 || x == 4 || y == 1 || y == 4);
      EXPECT_EQ(PixelAt(*dib, x, y), edge ? kRed : inside ? kBlue : 0u) << x << "," << y;
    }
  }
}

TEST(SoftwareCanvas, CopyRectStretchesByNearestPixelAndKeepsAlpha) {
  TWinDIBPtr source = MakeWinDIB(2, 2);
  const uint32_t pixels[4] = {0x11000001, 0x22000002, 0x33000003, 0x44000004};
  source->Canvas()->DrawPixels(0, 0, 2, 2, pixels);
  TWinDIBPtr target = MakeWinDIB(4, 4);
  target->Canvas()->CopyRect(0, 0, 4, 4, *source->Canvas(), 0, 0, 2, 2);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(*target, x, y), pixels[(y / 2) * 2 + x / 2]);
  }
}

TEST(SoftwareCanvas, DrawingWithoutASurfaceRaises) {
  std::unique_ptr<platform::TCanvas, TFreeObject> canvas(New<platform::TCanvas>());
  EXPECT_THROW(canvas->LineTo(3, 3), EInvalidOperation);
}

}  // namespace
}  // namespace zelk::tests
