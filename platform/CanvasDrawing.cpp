// The canvas's drawing: straight into the surface's pixels, placed by the
// device context's origin and limited to its clip region.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/Canvas.h"
#include "platform/SystemColors.h"

namespace zelk::platform {

namespace {

struct TDeviceRect {
  int64_t Left, Top, Right, Bottom;
};
using TLogicalRect = TDeviceRect;

// Pixels of a surface in logical coordinates: writes land inside the clip
// region only, reads anywhere on the surface.
class TPixelPlane {
 public:
  explicit TPixelPlane(TSurface& surface)
      : bits_(surface.Bits()), width_(surface.Width()), height_(surface.Height()),
        origin_(surface.DeviceState().Origin) {
    const TDeviceState& state = surface.DeviceState();
    if (!state.Clipped) {
      clip_.push_back({0, 0, width_, height_});
      return;
    }
    for (const TRect& rect : state.Clip.Rects()) {
      const TDeviceRect inside{std::max<int64_t>(rect.Left, 0), std::max<int64_t>(rect.Top, 0),
                               std::min<int64_t>(rect.Right, width_), std::min<int64_t>(rect.Bottom, height_)};
      if (inside.Left < inside.Right && inside.Top < inside.Bottom) clip_.push_back(inside);
    }
  }

  // The smallest logical rectangle around what may be written.
  TLogicalRect VisibleBounds() const {
    TLogicalRect bounds{0, 0, 0, 0};
    for (const TDeviceRect& rect : clip_) {
      if (bounds.Left == bounds.Right) {
        bounds = rect;
        continue;
      }
      bounds = {std::min(bounds.Left, rect.Left), std::min(bounds.Top, rect.Top), std::max(bounds.Right, rect.Right),
                std::max(bounds.Bottom, rect.Bottom)};
    }
    return {bounds.Left - origin_.X, bounds.Top - origin_.Y, bounds.Right - origin_.X, bounds.Bottom - origin_.Y};
  }

  // Logical to surface pixels.
  int64_t DeviceX(int64_t x) const { return x + origin_.X; }
  int64_t DeviceY(int64_t y) const { return y + origin_.Y; }

  bool OnSurface(int64_t x, int64_t y) const {
    const int64_t column = DeviceX(x), row = DeviceY(y);
    return column >= 0 && row >= 0 && column < width_ && row < height_;
  }
  bool Visible(int64_t x, int64_t y) const {
    const int64_t column = DeviceX(x), row = DeviceY(y);
    return std::any_of(clip_.begin(), clip_.end(), [column, row](const TDeviceRect& rect) {
      return column >= rect.Left && column < rect.Right && row >= rect.Top && row < rect.Bottom;
    });
  }

  // 0xAARRGGBB; 0 off the surface.
  uint32_t Get(int64_t x, int64_t y) const {
    if (!OnSurface(x, y)) return 0;
    const uint8_t* at = At(DeviceX(x), DeviceY(y));
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
           static_cast<uint32_t>(at[3]) << 24;
  }
  void Put(int64_t x, int64_t y, uint32_t pixel) {
    if (Visible(x, y)) Store(DeviceX(x), DeviceY(y), pixel);
  }
  // Fills [left, right) x [top, bottom), clipped.
  void Fill(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel) {
    for (const TDeviceRect& rect : clip_) {
      const int64_t firstX = std::max(DeviceX(left), rect.Left), lastX = std::min(DeviceX(right), rect.Right);
      const int64_t firstY = std::max(DeviceY(top), rect.Top), lastY = std::min(DeviceY(bottom), rect.Bottom);
      for (int64_t row = firstY; row < lastY; ++row) {
        for (int64_t column = firstX; column < lastX; ++column) Store(column, row, pixel);
      }
    }
  }

 private:
  uint8_t* At(int64_t column, int64_t row) const {
    return bits_ + ((static_cast<int64_t>(height_) - 1 - row) * width_ + column) * 4;
  }
  void Store(int64_t column, int64_t row, uint32_t pixel) {
    uint8_t* at = At(column, row);
    at[0] = static_cast<uint8_t>(pixel);
    at[1] = static_cast<uint8_t>(pixel >> 8);
    at[2] = static_cast<uint8_t>(pixel >> 16);
    at[3] = static_cast<uint8_t>(pixel >> 24);
  }

  uint8_t* bits_;
  int32_t width_;
  int32_t height_;
  TPoint origin_;
  std::vector<TDeviceRect> clip_;
};

// Drawn colours become pixels with alpha 0.
uint32_t ColorToPixelValue(TCanvasColor color) {
  const auto rgb = static_cast<uint32_t>(ResolveColor(color));
  return (rgb & 0xFFu) << 16 | (rgb & 0xFF00u) | (rgb >> 16 & 0xFFu);
}

TCanvasColor PixelToColorValue(uint32_t pixel) {
  return static_cast<TCanvasColor>((pixel >> 16 & 0xFFu) | (pixel & 0xFF00u) | (pixel & 0xFFu) << 16);
}

// On/off run lengths of the dash styles, starting with "on".
std::span<const int> DashPattern(TPenStyle style) {
  static constexpr std::array<int, 2> kDash = {18, 6};
  static constexpr std::array<int, 2> kDot = {3, 3};
  static constexpr std::array<int, 4> kDashDot = {9, 6, 3, 6};
  static constexpr std::array<int, 6> kDashDotDot = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case TPenStyle::psDash:
      return kDash;
    case TPenStyle::psDot:
      return kDot;
    case TPenStyle::psDashDot:
      return kDashDot;
    case TPenStyle::psDashDotDot:
      return kDashDotDot;
    default:
      return {};
  }
}

// Walks a dash pattern one pixel at a time.
class TDashWalker {
 public:
  explicit TDashWalker(std::span<const int> pattern) : pattern_(pattern) {}
  // True when the current pixel lies on a dash; then moves on one pixel.
  bool Next() {
    if (pattern_.empty()) return true;
    const bool on = (segment_ % 2) == 0;
    if (++step_ == pattern_[segment_]) {
      step_ = 0;
      segment_ = (segment_ + 1) % pattern_.size();
    }
    return on;
  }

 private:
  std::span<const int> pattern_;
  size_t segment_ = 0;
  int step_ = 0;
};

// Draws lines with a pen: dashes (gaps in the brush colour when the brush is
// solid) for one-pixel pens, squares of the pen's width for wider ones.
class TLinePainter {
 public:
  TLinePainter(TPixelPlane& plane, const TPen& pen, const TBrush& brush)
      : plane_(plane), pen_(pen), penPixel_(ColorToPixelValue(pen.Color)),
        gapPixel_(ColorToPixelValue(brush.Color)), fillsGaps_(brush.Style == TBrushStyle::bsSolid),
        dashes_(pen.Width <= 1 ? DashPattern(pen.Style) : std::span<const int>()) {}

  // Bresenham from (x0, y0) up to, not including, (x1, y1).
  void Line(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    if (pen_.Style == TPenStyle::psClear) return;
    const int64_t dx = std::llabs(x1 - x0);
    const int64_t dy = -std::llabs(y1 - y0);
    const int64_t stepX = x0 < x1 ? 1 : -1;
    const int64_t stepY = y0 < y1 ? 1 : -1;
    int64_t error = dx + dy;
    while (x0 != x1 || y0 != y1) {
      Plot(x0, y0, dashes_.Next());
      const int64_t doubled = 2 * error;
      if (doubled >= dy) {
        error += dy;
        x0 += stepX;
      }
      if (doubled <= dx) {
        error += dx;
        y0 += stepY;
      }
    }
  }

 private:
  void Plot(int64_t x, int64_t y, bool onDash) {
    if (!onDash) {
      if (fillsGaps_) plane_.Put(x, y, gapPixel_);
      return;
    }
    if (pen_.Width <= 1) {
      plane_.Put(x, y, penPixel_);
      return;
    }
    const int64_t half = pen_.Width / 2;
    plane_.Fill(x - half, y - half, x - half + pen_.Width, y - half + pen_.Width, penPixel_);
  }

  TPixelPlane& plane_;
  const TPen& pen_;
  uint32_t penPixel_;
  uint32_t gapPixel_;
  bool fillsGaps_;
  TDashWalker dashes_;
};

struct TOrderedRect {
  int64_t Left, Top, Right, Bottom;
};

TOrderedRect Ordered(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

// Nearest source coordinate of destination offset `offset` out of `extent`.
// Both extents are below 2^32 and 0 <= offset < extent, so the product fits
// in 64 unsigned bits.
int64_t NearestSource(int64_t sourceStart, int64_t sourceExtent, int64_t offset, int64_t extent) {
  const uint64_t scaled = static_cast<uint64_t>(offset) * static_cast<uint64_t>(sourceExtent);
  return sourceStart + static_cast<int64_t>(scaled / static_cast<uint64_t>(extent));
}

// Whole pixels read from a source before any is written, so that a canvas
// may copy onto itself.
struct TPlacedPixel {
  int64_t X, Y;
  uint32_t Pixel;
};

}  // namespace

TCanvasColor TCanvas::Pixel(int32_t x, int32_t y) {
  const TPixelPlane plane(RequireSurface());
  return plane.OnSurface(x, y) && plane.Visible(x, y) ? PixelToColorValue(plane.Get(x, y)) : -1;
}

void TCanvas::SetPixel(int32_t x, int32_t y, TCanvasColor color) {
  TPixelPlane plane(RequireSurface());
  plane.Put(x, y, ColorToPixelValue(color));
  Changed();
}

void TCanvas::LineTo(int32_t x, int32_t y) {
  TPixelPlane plane(RequireSurface());
  TLinePainter(plane, pen_, brush_).Line(penX_, penY_, x, y);
  MoveTo(x, y);
  Changed();
}

void TCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  TPixelPlane plane(RequireSurface());
  const TOrderedRect rect = Ordered(left, top, right, bottom);
  if (pen_.Style == TPenStyle::psClear) {
    // Without an outline the fill covers one pixel less to the right and below.
    if (brush_.Style == TBrushStyle::bsSolid) {
      plane.Fill(rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1, ColorToPixelValue(brush_.Color));
    }
  } else {
    if (brush_.Style == TBrushStyle::bsSolid) {
      plane.Fill(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1, ColorToPixelValue(brush_.Color));
    }
    TLinePainter outline(plane, pen_, brush_);
    const int64_t lastX = std::max(rect.Left, rect.Right - 1);
    const int64_t lastY = std::max(rect.Top, rect.Bottom - 1);
    outline.Line(rect.Left, rect.Top, lastX, rect.Top);
    outline.Line(lastX, rect.Top, lastX, lastY);
    outline.Line(lastX, lastY, rect.Left, lastY);
    outline.Line(rect.Left, lastY, rect.Left, rect.Top);
  }
  Changed();
}

void TCanvas::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  TPixelPlane plane(RequireSurface());
  if (brush_.Style == TBrushStyle::bsSolid) plane.Fill(left, top, right, bottom, ColorToPixelValue(brush_.Color));
  Changed();
}

void TCanvas::FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  TPixelPlane plane(RequireSurface());
  if (brush_.Style == TBrushStyle::bsSolid && left < right && top < bottom) {
    const uint32_t pixel = ColorToPixelValue(brush_.Color);
    plane.Fill(left, top, right, int64_t{top} + 1, pixel);
    plane.Fill(left, int64_t{bottom} - 1, right, bottom, pixel);
    plane.Fill(left, top, int64_t{left} + 1, bottom, pixel);
    plane.Fill(int64_t{right} - 1, top, right, bottom, pixel);
  }
  Changed();
}

void TCanvas::DrawPixels(int32_t x, int32_t y, int32_t width, int32_t height, const uint32_t* pixels) {
  TPixelPlane plane(RequireSurface());
  const TLogicalRect visible = plane.VisibleBounds();
  const int64_t firstRow = std::max<int64_t>(0, visible.Top - y);
  const int64_t lastRow = std::min<int64_t>(height, visible.Bottom - y);
  const int64_t firstColumn = std::max<int64_t>(0, visible.Left - x);
  const int64_t lastColumn = std::min<int64_t>(width, visible.Right - x);
  for (int64_t row = firstRow; row < lastRow; ++row) {
    for (int64_t column = firstColumn; column < lastColumn; ++column) {
      plane.Put(x + column, y + row, pixels[row * width + column]);
    }
  }
  Changed();
}

void TCanvas::CopyBlock(int32_t x, int32_t y, TCanvas& source, const TRect& sourceRect) {
  CopyRect(x, y, x + sourceRect.Width(), y + sourceRect.Height(), source, sourceRect.Left, sourceRect.Top,
           sourceRect.Right, sourceRect.Bottom);
}

void TCanvas::CopyRect(int32_t left, int32_t top, int32_t right, int32_t bottom, TCanvas& source,
                       int32_t sourceLeft, int32_t sourceTop, int32_t sourceRight, int32_t sourceBottom) {
  TPixelPlane target(RequireSurface());
  const TPixelPlane from(source.RequireSurface());
  const int64_t width = int64_t{right} - left;
  const int64_t height = int64_t{bottom} - top;
  const int64_t sourceWidth = int64_t{sourceRight} - sourceLeft;
  const int64_t sourceHeight = int64_t{sourceBottom} - sourceTop;
  if (width > 0 && height > 0 && sourceWidth > 0 && sourceHeight > 0) {
    // Only the visible part of the target is visited; the source is read
    // into a copy first, so a canvas may copy onto itself.
    const TLogicalRect visible = target.VisibleBounds();
    const int64_t firstX = std::max<int64_t>(left, visible.Left), lastX = std::min<int64_t>(right, visible.Right);
    const int64_t firstY = std::max<int64_t>(top, visible.Top), lastY = std::min<int64_t>(bottom, visible.Bottom);
    std::vector<TPlacedPixel> copied;
    for (int64_t y = firstY; y < lastY; ++y) {
      const int64_t sourceY = NearestSource(sourceTop, sourceHeight, y - top, height);
      for (int64_t x = firstX; x < lastX; ++x) {
        const int64_t sourceX = NearestSource(sourceLeft, sourceWidth, x - left, width);
        if (from.OnSurface(sourceX, sourceY)) copied.push_back({x, y, from.Get(sourceX, sourceY)});
      }
    }
    for (const TPlacedPixel& placed : copied) target.Put(placed.X, placed.Y, placed.Pixel);
  }
  Changed();
}

}  // namespace zelk::platform
