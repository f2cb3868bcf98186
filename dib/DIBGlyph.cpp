// DrawGlyph: one frame out of a horizontal strip of equal frames, cross-faded
// with its neighbour, drawn with this bitmap's settings.
#include <cmath>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBRounding.h"
#include "dib/DIBScratch.h"

namespace zelk {

namespace {

// A frame number brought into the strip: past the end wraps to the first
// frame or stays at the last; before the start wraps to the last or stays at
// the first.
int32_t FrameInStrip(long double frame, int32_t count, bool wrap) {
  if (frame >= count) return wrap ? 0 : count - 1;
  if (frame < 0) return wrap ? count - 1 : 0;
  return static_cast<int32_t>(frame);
}

struct TGlyphFrames {
  int32_t Upper;
  int32_t Lower;
  uint8_t Fade;  // opacity of the lower frame over the upper one
};

TGlyphFrames FramesFor(int32_t count, int32_t min, int32_t max, int32_t value, bool wrap) {
  const long double position =
      static_cast<long double>(int64_t{value} - min) / static_cast<long double>(int64_t{max} - min) * count;
  // The distance from Trunc: below Min it is negative and the fade comes out
  // above 255; clamped, the lower frame is drawn alone there.
  const long double fraction = position - std::trunc(position);
  const long double fade = 255.0L - RoundHalfEven(fraction * 255.0L);
  return {FrameInStrip(std::ceil(position), count, wrap), FrameInStrip(std::floor(position), count, wrap),
          static_cast<uint8_t>(fade < 0.0L ? 0 : (fade > 255.0L ? 255 : fade))};
}

}  // namespace

// A strip of one frame is drawn straight from its pixels, as the copy of the
// frame would be: with this picture's routine at full opacity, otherwise with
// the routine its settings choose (which a copy picks when its opacity is
// set).
void TAbstractSuperDIB::DrawOnlyFrame(int32_t x, int32_t y, TAbstractSuperDIB& dest) {
  const TDrawProc saved = drawProc_;
  if (opacity_ != 255) TAbstractSuperDIB::UpdateDrawProc();
  try {
    Draw(x, y, Width(), Height(), dest, 0, 0);
  } catch (...) {
    drawProc_ = saved;
    throw;
  }
  drawProc_ = saved;
}

void TAbstractSuperDIB::DrawGlyph(int32_t x, int32_t y, int32_t count, TAbstractSuperDIB& dest, int32_t min,
                                  int32_t max, int32_t value, bool wrap) {
  if (count < 1 || max == min || Bits() == nullptr || dest.Bits() == nullptr) return;
  const int32_t frameWidth = Width() / count;
  if (frameWidth < 1) return;
  if (count == 1) {
    DrawOnlyFrame(x, y, dest);
    return;
  }
  const TGlyphFrames frames = FramesFor(count, min, max, value, wrap);
  const auto frameSide = static_cast<uint16_t>(frameWidth);

  TScratchDIBPtr upper = MakeScratchDIB(frameSide, Height());
  DrawRaw(0, 0, frameWidth, Height(), *upper, static_cast<uint16_t>(frames.Upper * frameWidth), 0);
  AssignPropertiesTo(upper.get());
  upper->SetOpacity(255);

  // A frame faded over itself stays as it is (opaque or blended, every
  // channel mixes with its own value), so the same frame needs no fade.
  if (frames.Lower != frames.Upper) {
    TScratchDIBPtr lower = MakeScratchDIB(frameSide, Height());
    DrawRaw(0, 0, frameWidth, Height(), *lower, static_cast<uint16_t>(frames.Lower * frameWidth), 0);
    lower->SetAngle(0);
    lower->SetScale(100.0L);
    lower->SetOpacity(frames.Fade);
    lower->Draw(0, 0, lower->Width(), lower->Height(), *upper, 0, 0);
  }

  upper->SetOpacity(Opacity());
  upper->Draw(x, y, frameWidth, upper->Height(), dest, 0, 0);
}

}  // namespace zelk
