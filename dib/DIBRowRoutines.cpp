// The reference row routines (one pixel at a time, the arithmetic exactly as
// stated in the header) and the choice of the fast form at first use.
#include "dib/DIBRowRoutines.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "dib/DIBPixels.h"
#include "dib/DIBRowRoutinesFast.h"

namespace zelk {

namespace {

struct TChannels {
  uint32_t Blue, Green, Red, Alpha;
};

TChannels Split(TPixel pixel) {
  return {pixel & 0xFFu, (pixel >> 8) & 0xFFu, (pixel >> 16) & 0xFFu, pixel >> 24};
}

TPixel Join(uint32_t blue, uint32_t green, uint32_t red, uint32_t alpha) {
  return blue | (green << 8) | (red << 16) | (alpha << 24);
}

// Weight 255 reproduces the source, weight 0 the target.
uint32_t Mix(uint32_t source, uint32_t target, uint32_t weight) {
  return (source * weight + target * (255u - weight) + 255u) >> 8;
}

TPixel MixColour(TPixel sourcePixel, TPixel targetPixel, uint32_t weight, uint32_t alpha) {
  const TChannels source = Split(sourcePixel);
  const TChannels target = Split(targetPixel);
  return Join(Mix(source.Blue, target.Blue, weight), Mix(source.Green, target.Green, weight),
              Mix(source.Red, target.Red, weight), alpha);
}

uint32_t LargerAlpha(TPixel source, TPixel target) { return std::max(source >> 24, target >> 24); }

bool IsKey(TPixel source, const TRowParams& params) { return (source & kColorBits) == (params.Key & kColorBits); }

// Applies perPixel(source, target) -> new target to every pixel of the row.
template <class PerPixel>
void ForEachPixel(const uint8_t* source, uint8_t* target, int32_t width, PerPixel perPixel) {
  for (int32_t column = 0; column < width; ++column) {
    const TPixel sourcePixel = LoadPixel(source + column * 4);
    const TPixel targetPixel = LoadPixel(target + column * 4);
    StorePixel(target + column * 4, perPixel(sourcePixel, targetPixel));
  }
}

void ReferenceCopyRow(const TRowParams&, const uint8_t* source, uint8_t* target, int32_t width) {
  ForEachPixel(source, target, width, [](TPixel s, TPixel) { return s; });
}

void ReferenceBlendRowOpacity(const TRowParams& params, const uint8_t* source, uint8_t* target, int32_t width) {
  ForEachPixel(source, target, width,
               [&](TPixel s, TPixel d) { return MixColour(s, d, params.Opacity, LargerAlpha(s, d)); });
}

void ReferenceBlendRowAlpha(const TRowParams&, const uint8_t* source, uint8_t* target, int32_t width) {
  ForEachPixel(source, target, width, [](TPixel s, TPixel d) { return MixColour(s, d, s >> 24, LargerAlpha(s, d)); });
}

void ReferenceBlendRowAlphaOpacity(const TRowParams& params, const uint8_t* source, uint8_t* target, int32_t width) {
  ForEachPixel(source, target, width, [&](TPixel s, TPixel d) {
    const uint32_t weight = ((s >> 24) * params.Opacity) >> 8;
    return MixColour(s, d, weight, LargerAlpha(s, d));
  });
}

void ReferenceKeyRow(const TRowParams& params, const uint8_t* source, uint8_t* target, int32_t width) {
  ForEachPixel(source, target, width, [&](TPixel s, TPixel d) { return IsKey(s, params) ? d : (s & kColorBits); });
}

void ReferenceKeyRowOpacity(const TRowParams& params, const uint8_t* source, uint8_t* target, int32_t width) {
  ForEachPixel(source, target, width,
               [&](TPixel s, TPixel d) { return IsKey(s, params) ? d : MixColour(s, d, params.Opacity, s >> 24); });
}

void ReferenceAlphaRow(const TRowParams&, const uint8_t* source, uint8_t* target, int32_t width) {
  ForEachPixel(source, target, width, [](TPixel s, TPixel d) { return (d & kColorBits) | (s & ~kColorBits); });
}

void ReferenceAlphaToGreyRow(const TRowParams&, const uint8_t* source, uint8_t* target, int32_t width) {
  ForEachPixel(source, target, width, [](TPixel s, TPixel) { return (s >> 24) * 0x01010101u; });
}

constexpr std::array<TRowFunction, kRowRoutineCount> kReferenceRows = {
    ReferenceAlphaToGreyRow, ReferenceAlphaRow,      ReferenceCopyRow, ReferenceBlendRowOpacity,
    ReferenceBlendRowAlpha,  ReferenceBlendRowAlphaOpacity, ReferenceKeyRow,  ReferenceKeyRowOpacity,
};

// A copy needs no per-pixel work; memmove also allows a bitmap drawn onto
// itself.
void FastCopyRow(const TRowParams&, const uint8_t* source, uint8_t* target, int32_t width) {
  if (width <= 0) return;
  std::memmove(target, source, static_cast<size_t>(width) * 4);
}

struct TFastRows {
  std::array<TRowFunction, kRowRoutineCount> Functions;
  const char* InstructionSet;
};

TFastRows ChooseFastRows() {
  TFastRows rows{kReferenceRows, "scalar"};
  if (const TFastRowSet* simd = BestSimdRowSet()) {
    rows.Functions = simd->Functions;
    rows.InstructionSet = simd->InstructionSet;
  }
  rows.Functions[static_cast<size_t>(TRowRoutine::rrCopyRow)] = FastCopyRow;
  return rows;
}

const TFastRows& FastRows() {
  static const TFastRows rows = ChooseFastRows();
  return rows;
}

}  // namespace

TRowFunction ReferenceRowFunction(TRowRoutine routine) { return kReferenceRows[static_cast<size_t>(routine)]; }

TRowFunction FastRowFunction(TRowRoutine routine) { return FastRows().Functions[static_cast<size_t>(routine)]; }

const char* FastRowInstructionSet() { return FastRows().InstructionSet; }

void RunRowRoutine(TRowRoutine routine, const TRowParams& params, const uint8_t* source, ptrdiff_t sourceStride,
                   uint8_t* target, ptrdiff_t targetStride, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  const ptrdiff_t rowBytes = ptrdiff_t{width} * 4;
  if (routine == TRowRoutine::rrCopyRow && sourceStride == targetStride &&
      (sourceStride == rowBytes || sourceStride == -rowBytes)) {
    // Whole rows that follow each other in both pictures: one block copy.
    const ptrdiff_t lowest = sourceStride < 0 ? sourceStride * (height - 1) : 0;
    std::memmove(target + lowest, source + lowest, static_cast<size_t>(rowBytes) * static_cast<size_t>(height));
    return;
  }
  const TRowFunction row = FastRowFunction(routine);
  for (int32_t line = 0; line < height; ++line) {
    row(params, source + sourceStride * line, target + targetStride * line, width);
  }
}

}  // namespace zelk
