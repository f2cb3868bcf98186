// TCanvas: drawing on a surface (see Surface.h) with a pen and a brush:
// single pixels, lines, rectangle outlines and fills, and copies of pixel
// blocks between canvases and to windows. There is one canvas for every
// backend: windows only present surfaces.
//
// A canvas is bound once to a surface, by its handle or directly, and draws
// through the surface's device context: coordinates are logical, placed by
// the context's origin, and drawing changes only pixels inside its clip
// region. The context's state belongs to the surface, so a container can move
// the origin and clip before handing the handle to a child that binds its own
// canvas. SaveState/RestoreState keep a stack of such states.
//
// Drawing follows the platform's rules: a line leaves out its end point, a
// rectangle's right and bottom edges are exclusive, and drawn pixels get
// alpha 0 (colours carry no alpha) except where whole pixels are copied.
// Every drawing operation ends by firing OnChange, so a bitmap that owns the
// canvas learns about the change like about any other. Colours are 0x00BBGGRR
// values or system colours (SystemColors.h). Window thread only; Lock and
// Unlock count how deeply the canvas is in use by painting code.
#pragma once

#include <cstdint>

#include "platform/Surface.h"
#include "platform/WindowSystem.h"
#include "runtime/Event.h"
#include "runtime/Persistent.h"
#include "runtime/TypeInfo.h"
#include "runtime/Types.h"

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

// What is left of a clip region after a change.
enum class TRegionKind : uint8_t { rkEmpty, rkSimple, rkComplex };

class TCanvas : public TPersistent {
  ZELK_CLASS(TCanvas, TPersistent)

  TCanvas() = default;
  ~TCanvas() override;

  // The handle of the bound surface; 0 when unbound.
  TSurfaceHandle Handle() const;
  // Binds the surface selected in handle (looked up once); 0 or a handle of
  // no living surface unbinds. Drawing unbound raises EInvalidOperation
  // "Canvas does not allow drawing".
  void SetHandle(TSurfaceHandle handle);
  void Bind(TSurface* surface);
  bool HandleAllocated() const { return surface_ != nullptr; }
  TSurface* Surface() const { return surface_; }

  void Lock() { ++lockCount_; }
  void Unlock() { --lockCount_; }
  int LockCount() const { return lockCount_; }

  // The device context. Rectangles are logical; ClipBox is the smallest
  // rectangle around what may be drawn, empty when nothing may.
  TPoint Origin() const;
  // Logical (0, 0) moves by (dx, dy) on the surface.
  void MoveOrigin(int32_t dx, int32_t dy);
  // Pushes the origin and clip region; answers the new depth (1, 2, ...).
  int SaveState();
  // Pops back to the state saved at depth (the last one for -1); a depth
  // that is not saved changes nothing.
  void RestoreState(int depth = -1);
  TRect ClipBox() const;
  TRegionKind IntersectClipRect(const TRect& rect);
  TRegionKind ExcludeClipRect(const TRect& rect);
  // Drawing is no longer clipped (the origin stays).
  void ResetClip();
  bool RectVisible(const TRect& rect) const;

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  int32_t PenX() const { return penX_; }
  int32_t PenY() const { return penY_; }

  // The colour (0x00BBGGRR) at (x, y); -1 outside the surface or the clip
  // region, as the platform answers.
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
  void FillRect(const TRect& rect) { FillRect(rect.Left, rect.Top, rect.Right, rect.Bottom); }
  // A one-pixel outline in the brush's colour; nothing with a clear brush.
  void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom);

  // Copies width x height pixels 0xAARRGGBB (top row first), alpha included,
  // to (x, y).
  void DrawPixels(int32_t x, int32_t y, int32_t width, int32_t height, const uint32_t* pixels);
  // Block copy: the source rectangle of source (in its logical coordinates)
  // to (x, y) of this canvas, whole pixels with alpha. Source and target may
  // be the same canvas and overlap.
  void CopyBlock(int32_t x, int32_t y, TCanvas& source, const TRect& sourceRect);
  // Copies the source rectangle of source to the destination rectangle of
  // this canvas, stretching or shrinking it by nearest pixel; whole pixels
  // (alpha included). Empty or inverted rectangles copy nothing.
  void CopyRect(int32_t left, int32_t top, int32_t right, int32_t bottom, TCanvas& source, int32_t sourceLeft,
                int32_t sourceTop, int32_t sourceRight, int32_t sourceBottom);
  // Presents this canvas's pixels at source (logical) in windowArea of window
  // (its client coordinates), through the backend's window system.
  void CopyToWindow(TNativeWindow window, const TRect& windowArea, TPoint source);

  // Fired after every drawing operation, with this canvas as Sender.
  TNotifyEvent OnChange;

 protected:
  void Changed();
  // The surface drawn on, flushed; raises when there is none.
  TSurface& RequireSurface();

 private:
  TDeviceState& BeginClipChange();
  friend class TSurface;
  void Unbind();

  TSurface* surface_ = nullptr;
  int lockCount_ = 0;
  TPen pen_;
  TBrush brush_;
  int32_t penX_ = 0;
  int32_t penY_ = 0;
};

}  // namespace zelk::platform
