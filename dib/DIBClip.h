// The clipping of a direct draw: the source region (SrcX, SrcY, Width,
// Height) placed at (X, Y) on the target is cut to the target's ClipRect
// (inclusive), the source picture and the target picture. The result always
// lies inside both pictures.
#pragma once

#include <cstdint>
#include <optional>

#include "dib/DIBTypes.h"

namespace zelk {

struct TDrawArea {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t SrcX = 0;
  int32_t SrcY = 0;

  bool operator==(const TDrawArea&) const = default;
};

struct TPictureSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

// Nothing when no pixel is left.
std::optional<TDrawArea> ClipDrawArea(const TDrawArea& request, TPictureSize source, const TRect& targetClip,
                                      TPictureSize target);

}  // namespace zelk
