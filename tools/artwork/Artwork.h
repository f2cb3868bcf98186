// The product's two pictures, painted by code:
//
//   the knob cap "Zelk1" (195 x 222): a round machined knob on black, which
//   the editor keys out; its pointer mark points to twelve o'clock. The
//   editor rotates the whole picture to the knob's angle, so its shading is
//   the same in every direction and only the pointer mark shows the angle.
//
//   the background "ZVBack" (390 x 444): an opaque panel with a recessed well
//   for the knob, the scale of degrees around it and the product's names.
//   The editor shows its middle 245 x 269 pixels.
//
// The dial draws the background centred in the editor and the cap's centre
// PointerRadius pixels from the editor's centre in the direction of the
// angle; the constants below describe that arrangement.
#pragma once

#include "dib/PictureSource.h"

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

TLoadedPicture PaintKnobCap();
TLoadedPicture PaintBackground();

}  // namespace zelk::artwork
