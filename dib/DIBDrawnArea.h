// Where drawing a picture can change its target: the bounds of the pixels a
// picture's routine lets through, and the part of the target a Draw with
// rotation and scale covers from them. Used to repaint only what a moved
// picture changed; every bound is exact or larger, never smaller.
#pragma once

#include <cstdint>

#include "dib/DIBTypes.h"
#include "runtime/Types.h"

namespace zelk {

class TAbstractSuperDIB;

// The pixels of one frame that can change a target (top-down, right and
// bottom exclusive). Everywhere: the picture's routine changes every pixel
// of what it covers, also the corners a rotation leaves uncovered.
struct TVisiblePixels {
  TRect Bounds;
  bool Everywhere = false;

  bool operator==(const TVisiblePixels&) const = default;
};

// Over a horizontal strip of frameCount equal frames, folded into one
// frame: key-coloured pixels (Transparent) and pixels of alpha 0 (Masked)
// change nothing; any other routine changes every pixel.
TVisiblePixels VisibleFramePixels(const TAbstractSuperDIB& strip, int32_t frameCount);

// One Draw of a Width x Height frame at (X, Y) with the picture's angle,
// scale and AutoSize.
struct TFrameDraw {
  int32_t X = 0;
  int32_t Y = 0;
  uint16_t Width = 0;
  uint16_t Height = 0;
  TAngle Angle = 0;
  long double ScaleX = 100.0L;
  long double ScaleY = 100.0L;
  bool AutoSize = false;
};

// The target rectangle (right and bottom exclusive, not clipped to the
// target) that the draw can change.
TRect DrawnArea(const TFrameDraw& draw, const TVisiblePixels& visible);

}  // namespace zelk
