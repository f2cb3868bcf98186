// TCanvas: drawing on a surface through its handle (see Surface.h) with a
// pen and a brush: single pixels, lines, rectangle outlines and fills, and
// copies of pixel blocks and of other canvases. Drawing follows the
// platform's rules: a line leaves out its end point, a rectangle's right and
// bottom edges are exclusive, and drawn pixels get alpha 0 (colours carry no
// alpha) except where whole pixels are copied.
//
// Every drawing operation ends by firing OnChange, so a bitmap that owns the
// canvas learns about the change like about any other. Colours are TColor
// values 0x00BBGGRR or system colours (high byte 0xFF), resolved through the
// installed colour resolver. Window thread only.
#pragma once

#include <cstdint>

#include "platform/Surface.h"
#include "runtime/Event.h"
#include "runtime/Persistent.h"
#include "runtime/TypeInfo.h"

namespace zelk::platform {

using TCanvasColor = int32_t;

inline constexpr TCanvasColor kCanvasBlack = 0x000000;
inline constexpr TCanvasColor kCanvasWhite = 0xFFFFFF;

// Dash patterns apply to pens one pixel wide; wider pens draw solid.
enum class TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
ZELK_ENUM_NAMES(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear")

enum class TBrushStyle : uint8_t { bsSolid, bsClear };
ZELK_ENUM_NAMES(TBrushStyle, "bsSolid", "bsClear")

struct TPen {
  TCanvasColor Color = kCanvasBlack;
  int32_t Width = 1;
  TPenStyle Style = TPenStyle::psSolid;
};

// The brush fills rectangles and, when solid, the gaps of dashed lines.
struct TBrush {
  TCanvasColor Color = kCanvasWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
};

// Turns a system colour into 0x00BBGGRR. The bitmap library installs its
// resolution at start; without one, system colours draw black.
using TColorResolver = TCanvasColor (*)(TCanvasColor color);
void SetCanvasColorResolver(TColorResolver resolver);
// 0x00BBGGRR for any colour value.
TCanvasColor ResolveCanvasColor(TCanvasColor color);

class TCanvas : public TPersistent {
  ZELK_CLASS(TCanvas, TPersistent)

  TCanvas() = default;

  // The surface handle drawn on; 0 (none) makes drawing raise
  // EInvalidOperation "Canvas does not allow drawing".
  TSurfaceHandle Handle() const { return handle_; }
  void SetHandle(TSurfaceHandle handle) { handle_ = handle; }
  bool HandleAllocated() const { return handle_ != 0; }

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  int32_t PenX() const { return penX_; }
  int32_t PenY() const { return penY_; }

  // The colour (0x00BBGGRR) at (x, y) counted from the top-left; -1 outside
  // the surface, as the platform answers.
  TCanvasColor Pixel(int32_t x, int32_t y);
  void SetPixel(int32_t x, int32_t y, TCanvasColor color);

  void MoveTo(int32_t x, int32_t y);
  // A line with the pen from the pen position up to, not including, (x, y),
  // which becomes the pen position.
  void LineTo(int32_t x, int32_t y);
  // Outline with the pen, inside filled with the brush.
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // The rectangle filled with the brush; nothing with a clear brush.
  void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // A one-pixel outline in the brush's colour; nothing with a clear brush.
  void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom);

  // Copies width x height pixels 0xAARRGGBB (top row first), alpha included,
  // to (x, y); clipped at the surface's edges.
  void DrawPixels(int32_t x, int32_t y, int32_t width, int32_t height, const uint32_t* pixels);
  // Copies the source rectangle of source to the destination rectangle of
  // this canvas, stretching or shrinking it by nearest pixel; whole pixels
  // (alpha included). Empty or inverted rectangles copy nothing.
  void CopyRect(int32_t left, int32_t top, int32_t right, int32_t bottom, TCanvas& source, int32_t sourceLeft,
                int32_t sourceTop, int32_t sourceRight, int32_t sourceBottom);

  // Fired after every drawing operation, with this canvas as Sender.
  TNotifyEvent OnChange;

 protected:
  void Changed();
  // The surface drawn on; raises when there is none.
  TSurface& RequireSurface();

 private:
  TSurfaceHandle handle_ = 0;
  TPen pen_;
  TBrush brush_;
  int32_t penX_ = 0;
  int32_t penY_ = 0;
};

}  // namespace zelk::platform
