// The eight row routines: the per-pixel arithmetic that every bitmap draw ends
// in. Each processes a block of rows of `width` pixels, left to right; the
// next row of each bitmap lies `stride` bytes further (negative strides walk
// memory rows downwards, which is how a bottom-up picture is drawn from the
// top).
//
// Per pixel, with S and D the source and target, op the opacity and key the
// low 24 bits of the colour key (all arithmetic unsigned, >> 8 rounds down):
//   rrCopyRow             D := S
//   rrBlendRowOpacity     B,G,R: D := (S*op + D*(255-op) + 255) >> 8; D.A := max(D.A, S.A)
//   rrBlendRowAlpha       the same with a := S.A
//   rrBlendRowAlphaOpacity the same with a := (S.A*op) >> 8
//   rrKeyRow              S.rgb != key: D := S with alpha 0; else D stays
//   rrKeyRowOpacity       S.rgb != key: B,G,R as rrBlendRowOpacity, D.A := S.A
//   rrAlphaRow            D.A := S.A
//   rrAlphaToGreyRow      D := (S.A, S.A, S.A, S.A)
#pragma once

#include <cstddef>
#include <cstdint>

#include "dib/DIBTypes.h"

namespace zelk {

// In the slot order of the bitmap class.
enum class TRowRoutine : uint8_t {
  rrAlphaToGreyRow,
  rrAlphaRow,
  rrCopyRow,
  rrBlendRowOpacity,
  rrBlendRowAlpha,
  rrBlendRowAlphaOpacity,
  rrKeyRow,
  rrKeyRowOpacity,
};
inline constexpr int kRowRoutineCount = 8;

// What a row routine reads from the bitmap that owns it.
struct TRowParams {
  uint8_t Opacity = 255;
  TPixel Key = 0;  // only the low 24 bits count
};

// One row of `width` pixels (width >= 0). Source and target rows may be the
// same row but must not overlap otherwise.
using TRowFunction = void (*)(const TRowParams& params, const uint8_t* source, uint8_t* target, int32_t width);

// The plain per-pixel form of each routine: the arithmetic as written above,
// one pixel at a time. The fast routines match it bit for bit.
TRowFunction ReferenceRowFunction(TRowRoutine routine);

// The fastest form this processor runs (chosen once, at first use).
TRowFunction FastRowFunction(TRowRoutine routine);

// Names the instruction set the fast routines use ("AVX2", "SSE2", "scalar").
const char* FastRowInstructionSet();

// Runs a routine over `height` rows. Strides are in bytes, signed.
void RunRowRoutine(TRowRoutine routine, const TRowParams& params, const uint8_t* source, ptrdiff_t sourceStride,
                   uint8_t* target, ptrdiff_t targetStride, int32_t width, int32_t height);

}  // namespace zelk
