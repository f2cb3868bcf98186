#include "dib/DIBClip.h"

namespace zelk {

namespace {

// One axis of the clip, in 64-bit so that no sum of two 32-bit values wraps.
struct TAxis {
  int64_t Position;
  int64_t Length;
  int64_t Source;
};

// Cuts the axis to the inclusive clip range [low, high].
void CutToClip(TAxis& axis, int64_t low, int64_t high) {
  if (low > axis.Position) {
    const int64_t cut = low - axis.Position;
    axis.Length -= cut;
    axis.Source += cut;
    axis.Position = low;
  }
  if (axis.Position + axis.Length > high) axis.Length = high - axis.Position + 1;
}

void CutToSource(TAxis& axis, int64_t sourceLength) {
  if (axis.Source + axis.Length > sourceLength) axis.Length = sourceLength - axis.Source;
}

bool OutsideTarget(const TAxis& axis, int64_t sourceLength, int64_t targetLength) {
  return axis.Position > targetLength || axis.Position + sourceLength < 0;
}

void CutToTarget(TAxis& axis, int64_t targetLength) {
  if (axis.Position + axis.Length > targetLength) axis.Length = targetLength - axis.Position;
}

bool InsideBoth(const TAxis& axis, int64_t sourceLength, int64_t targetLength) {
  return axis.Length >= 1 && axis.Position >= 0 && axis.Source >= 0 && axis.Position + axis.Length <= targetLength &&
         axis.Source + axis.Length <= sourceLength;
}

}  // namespace

std::optional<TDrawArea> ClipDrawArea(const TDrawArea& request, TPictureSize source, const TRect& targetClip,
                                      TPictureSize target) {
  TAxis across{request.X, request.Width, request.SrcX};
  TAxis down{request.Y, request.Height, request.SrcY};
  CutToClip(across, targetClip.Left, targetClip.Right);
  CutToClip(down, targetClip.Top, targetClip.Bottom);
  CutToSource(across, source.Width);
  CutToSource(down, source.Height);
  if (across.Length <= 0 || down.Length <= 0) return std::nullopt;
  if (OutsideTarget(across, source.Width, target.Width) || OutsideTarget(down, source.Height, target.Height)) {
    return std::nullopt;
  }
  CutToTarget(across, target.Width);
  CutToTarget(down, target.Height);
  // The steps above keep the area inside both pictures for every consistent
  // ClipRect; this also covers a ClipRect left over from another size.
  if (!InsideBoth(across, source.Width, target.Width) || !InsideBoth(down, source.Height, target.Height)) {
    return std::nullopt;
  }
  return TDrawArea{static_cast<int32_t>(across.Position), static_cast<int32_t>(down.Position),
                   static_cast<int32_t>(across.Length),   static_cast<int32_t>(down.Length),
                   static_cast<int32_t>(across.Source),   static_cast<int32_t>(down.Source)};
}

}  // namespace zelk
