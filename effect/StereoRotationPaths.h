#pragma once
// Private to effect/StereoRotation*.cpp: what the per-ISA fast paths share with
// the reference routine.
//
// Why the fast paths are exact. For float inputs the products c*a and s*b are
// exact in double, so the double sum d = fl53(z) is one rounding of the exact
// sum z; the reference is y = fl24(fl64(z)). Rounding to float is constant on
// each open interval between two consecutive float rounding boundaries (the
// midpoints between neighbouring floats, on the denormal grid below 2^-126 and
// including the overflow threshold 2^128 - 2^103). Every boundary is itself a
// double, so when d is not a boundary, z lies strictly inside the interval that
// holds d, at least half a 53-bit ulp away from its ends, and so does fl64(z):
// fl24(d) == y. Only when d lands exactly on a boundary can the two differ
// (the reference rounds towards z when fl64(z) is off the boundary, by
// ties-to-even when it is on it). A fast path therefore converts d to float and
// hands a group of frames to the reference when any of its sums
//   - is a float midpoint of the normal range: the low 29 bits of d are 1000..0;
//   - is below 2^-126 in magnitude and not zero (covers the denormal grid);
//   - is NaN (so NaN results carry the reference's bits).
// The first two are one test on the two 32-bit words of each double sum (see
// kCheckMask below): and, subtract, unsigned compare; NaN is one compare of the
// two sums. On audio they almost never fire.

#include "effect/StereoRotation.h"

#include <cstdint>

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define ZELK_ROTATION_X86 1
#else
#define ZELK_ROTATION_X86 0
#endif

#if ZELK_ROTATION_X86 && defined(__i386__)
// A 32-bit Windows host may call with a stack aligned to 4 bytes only; the
// vector paths realign it on entry.
#define ZELK_ROTATION_REALIGN __attribute__((force_align_arg_pointer))
#else
#define ZELK_ROTATION_REALIGN
#endif

namespace zelk::rotation {

// MXCSR inside the fast paths: all exceptions masked, round to nearest, no
// flush-to-zero, no denormals-are-zero, exception flags clear.
inline constexpr uint32_t kKernelMxcsr = 0x1F80;

// x87 control word for the reference: all exceptions masked, 64-bit precision,
// round to nearest.
inline constexpr uint16_t kExtendedControlWord = 0x037F;

// The lane test, on the 32-bit words of a double sum d (low word first):
//   x = (word & kCheckMask) - kCheckOffset;  flagged when x < kCheckLimit (unsigned)
// low word:  (low & 0x1FFFFFFF) == 0x10000000, the 29 bits below a float's last
//            bit hold exactly one half: d is a float midpoint (normal range);
// high word: 0 < (high & 0x7FFFFFFF) < 0x38100000: 0 < |d| < 2^-126 (a double
//            sum of float products is never a double denormal, so a zero high
//            word means d == 0).
// Each constant holds the low-word value in its low half, the high-word value
// in its high half.
inline constexpr uint64_t kCheckMask = 0x7FFFFFFF'1FFFFFFFull;
inline constexpr uint64_t kCheckOffset = 0x00000001'10000000ull;
inline constexpr uint64_t kCheckLimit = 0x380FFFFF'00000001ull;
// The same test with signed compares (SSE2, AVX2): adding 2^31 to both sides
// of an unsigned compare makes it a signed one.
//   x' = (word & kCheckMask) + kCheckBiasedOffset;  flagged when x' < kCheckBiasedLimit (signed)
inline constexpr uint64_t kCheckBiasedOffset = 0x7FFFFFFF'70000000ull;  // 2^31 - offset, per word
inline constexpr uint64_t kCheckBiasedLimit = 0xB80FFFFF'80000001ull;   // limit + 2^31, per word

// The reference loop, with no state handling: the x87 control word must be
// kExtendedControlWord (see TX87Environment). Reads both inputs of a frame
// before writing its outputs, so it is correct in place and crossed.
void RotateFramesExtended(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                          int32_t frames, TRotationCoefficients coefficients) noexcept;

// Saves the whole x87 environment on the first Enter and loads
// kExtendedControlWord; Leave restores the environment exactly (control word,
// status word and its exception flags, tag word). Without x87, does nothing.
class TX87Environment {
 public:
  void Enter() noexcept;
  void Leave() noexcept;

 private:
  alignas(4) unsigned char m_Saved[28] = {};
  bool m_Entered = false;
};

// A vector run: processes frames from start towards end and answers where
// it stopped, either end or the first step of frames whose sums need the
// extended-precision routine.
using TVectorRun = int32_t (*)(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                               int32_t start, int32_t end, TRotationCoefficients coefficients);

// Drives a vector path over all frames and sends each step it stops at
// through RotateFramesExtended (step frames, fewer at the end).
void RotateWithExtendedFallback(TVectorRun run, int32_t step, const float* inLeft, const float* inRight,
                                float* outLeft, float* outRight, int32_t frames,
                                TRotationCoefficients coefficients) noexcept;

#if ZELK_ROTATION_X86
// The fast paths, each in its own source compiled for its instruction set.
// Each saves MXCSR, sets kKernelMxcsr, processes, and restores MXCSR.
void RotateSse2(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames,
                TRotationCoefficients coefficients) noexcept;
void RotateAvx2(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames,
                TRotationCoefficients coefficients) noexcept;
void RotateAvx512(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames,
                  TRotationCoefficients coefficients) noexcept;
#endif

}  // namespace zelk::rotation
