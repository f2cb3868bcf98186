// The product's two pictures, painted by code:
//
//   the knob's pointer picture "Zelk1" (195 x 222; 240 x 240 at scale 2): the knob's indicator on
//   black, which the editor keys out, pointing to twelve o'clock. The dial
//   turns it to the knob's angle about its pivot pixel and moves it along a
//   circle of PointerRadius pixels around the dial's centre, so it holds
//   only what turns: the line, its groove and the notch on the skirt.
//
//   the background "ZVBack" (390 x 444): an opaque panel with a recessed well,
//   the knob's body standing in it, the scale of degrees around it and the
//   product's names. The editor shows its middle 245 x 269 pixels.
//
// The dial draws the background centred in the editor; the constants below
// describe that arrangement. Sizes are those of scale 1; the painting
// routines take the scale so that larger pictures come from the same code.
#pragma once

#include "dib/PictureSource.h"
#include "tools/artwork/ArtCanvas.h"

namespace zelk::artwork {

inline constexpr int kCapWidth = 195;
inline constexpr int kCapHeight = 222;
inline constexpr int kBackgroundWidth = 390;
inline constexpr int kBackgroundHeight = 444;
inline constexpr int kEditorWidth = 245;
inline constexpr int kEditorHeight = 269;
inline constexpr int kPointerRadius = 10;

// The editor's middle, where the background's middle lands.
inline constexpr int kVisibleLeft = kBackgroundWidth / 2 - kEditorWidth / 2;   // 73
inline constexpr int kVisibleTop = kBackgroundHeight / 2 - kEditorHeight / 2;  // 88

// Radius of the knob on its cap picture; everything beyond is black.
inline constexpr double kKnobRadius = 70.0;

// The pointer picture's size and its pivot: the rotation keeps the pixel in
// column width div 2 of the memory row height div 2 (rows counted from the
// bottom) in place, and the dial puts that pixel's centre half a pixel right
// of and above the point on its circle (the turned box's middle row is
// counted from the bottom too). With the even height the pivot is not the
// picture's middle, so everything is painted around the pivot, never
// around the middle: a knob centred between two rows comes out one pixel
// apart from itself when turned by 180 degrees.
//
// Larger scales keep only the square the indicator sweeps when turned about
// the pivot (the indicator reaches 58 pixels from it): the dial turns the
// whole picture at every step of a drag, so each pixel of it costs time.
// Scale 1 keeps the size of the stored resource.
inline constexpr int kIndicatorSweep = 120;  // scale-1 pixels, even

struct TCapGeometry {
  explicit TCapGeometry(int scale)
      : Width(scale == 1 ? kCapWidth : kIndicatorSweep * scale),
        Height(scale == 1 ? kCapHeight : kIndicatorSweep * scale),
        Pivot{Width / 2 + 0.5, Height - 1 - Height / 2 + 0.5} {}
  int Width;
  int Height;
  TVector Pivot;  // the pivot pixel's centre, top-down coordinates
};

// Where the knob's centre lies on the background: the pivot lands half a
// pixel right of and above the dial's centre point at angle 0, less the
// PointerRadius it is drawn out along.
inline TVector KnobCenterOnBackground(int scale) {
  const int editorWidth = kEditorWidth * scale;
  const int editorHeight = kEditorHeight * scale;
  const int left = kBackgroundWidth * scale / 2 - editorWidth / 2;
  const int top = kBackgroundHeight * scale / 2 - editorHeight / 2;
  return {left + editorWidth / 2 + 0.5, top + editorHeight / 2 - 0.5};
}

// The knob's body (top face, chamfer, knurled skirt and the shadow it casts)
// laid over canvas around center.
void PaintKnobBody(TArtCanvas& canvas, TVector center, double scale);

TLoadedPicture PaintKnobCap(int scale = 1);
TLoadedPicture PaintBackground(int scale = 1);

}  // namespace zelk::artwork
