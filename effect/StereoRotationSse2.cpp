// SSE2 fast path of the stereo rotation (the x86-64 baseline; chosen at run
// time on 32-bit builds): 4 frames per step, as two pairs of doubles;
// StereoRotationPaths.h says why it matches the reference.

#include "effect/StereoRotationPaths.h"

#if ZELK_ROTATION_X86

#include <emmintrin.h>

#define ZELK_SSE2 __attribute__((target("sse2")))
#define ZELK_SSE2_INLINE static inline __attribute__((always_inline, target("sse2")))

namespace zelk::rotation {
namespace {

constexpr int32_t kStep = 4;

struct TSse2Sums {
  __m128d NewLeft[2];   // frames 0-1 and 2-3
  __m128d NewRight[2];
};

// c*a and s*b are exact in double; the add rounds their sum once.
ZELK_SSE2_INLINE TSse2Sums Sums(__m128 left, __m128 right, __m128d cosAngle, __m128d sinAngle) {
  const __m128d leftWide[2] = {_mm_cvtps_pd(left), _mm_cvtps_pd(_mm_movehl_ps(left, left))};
  const __m128d rightWide[2] = {_mm_cvtps_pd(right), _mm_cvtps_pd(_mm_movehl_ps(right, right))};
  TSse2Sums sums;
  for (int half = 0; half < 2; ++half) {
    sums.NewLeft[half] = _mm_sub_pd(_mm_mul_pd(sinAngle, leftWide[half]), _mm_mul_pd(cosAngle, rightWide[half]));
    sums.NewRight[half] = _mm_add_pd(_mm_mul_pd(cosAngle, leftWide[half]), _mm_mul_pd(sinAngle, rightWide[half]));
  }
  return sums;
}

// Lanes of one pair of sums that are a float midpoint or tiny and not zero.
ZELK_SSE2_INLINE __m128i SuspectLanes(__m128d sums) {
  const __m128i biased =
      _mm_add_epi32(_mm_and_si128(_mm_castpd_si128(sums), _mm_set1_epi64x(static_cast<long long>(kCheckMask))),
                    _mm_set1_epi64x(static_cast<long long>(kCheckBiasedOffset)));
  return _mm_cmplt_epi32(biased, _mm_set1_epi64x(static_cast<long long>(kCheckBiasedLimit)));
}

// True when a lane of either sum is a float midpoint, tiny and not zero, or NaN.
ZELK_SSE2_INLINE bool NeedsReference(const TSse2Sums& sums) {
  const __m128i nan = _mm_castpd_si128(_mm_or_pd(_mm_cmpunord_pd(sums.NewLeft[0], sums.NewRight[0]),
                                                 _mm_cmpunord_pd(sums.NewLeft[1], sums.NewRight[1])));
  const __m128i suspect = _mm_or_si128(_mm_or_si128(SuspectLanes(sums.NewLeft[0]), SuspectLanes(sums.NewLeft[1])),
                                       _mm_or_si128(SuspectLanes(sums.NewRight[0]), SuspectLanes(sums.NewRight[1])));
  return _mm_movemask_epi8(_mm_or_si128(suspect, nan)) != 0;
}

ZELK_SSE2_INLINE __m128 ToFloats(const __m128d (&halves)[2]) {
  return _mm_movelh_ps(_mm_cvtpd_ps(halves[0]), _mm_cvtpd_ps(halves[1]));
}

// Loads `count` (1 to 3) floats, zeros above.
ZELK_SSE2_INLINE __m128 LoadPartial(const float* source, int32_t count) {
  const __m128 first = _mm_load_ss(source);
  if (count == 1) {
    return first;
  }
  const __m128 pair = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(source)));
  if (count == 2) {
    return pair;
  }
  return _mm_movelh_ps(pair, _mm_load_ss(source + 2));
}

ZELK_SSE2_INLINE void StorePartial(float* target, __m128 values, int32_t count) {
  if (count == 1) {
    _mm_store_ss(target, values);
    return;
  }
  _mm_storel_epi64(reinterpret_cast<__m128i*>(target), _mm_castps_si128(values));
  if (count == 3) {
    _mm_store_ss(target + 2, _mm_movehl_ps(values, values));
  }
}

// Rotates [begin, end) in steps of 4 (the last one partial) until a step needs
// the reference; answers that step's first frame, or end. No calls inside, so
// no vector lives across one.
ZELK_SSE2 __attribute__((noinline)) int32_t RotateRun(const float* inLeft, const float* inRight, float* outLeft,
                                                      float* outRight, int32_t begin, int32_t end,
                                                      TRotationCoefficients coefficients) noexcept {
  // Widened by SSE (not x87, which 32-bit builds would otherwise use and which
  // would raise x87 flags outside the saved environment).
  const __m128d cosAngle = _mm_cvtps_pd(_mm_set1_ps(coefficients.CosAngle));
  const __m128d sinAngle = _mm_cvtps_pd(_mm_set1_ps(coefficients.SinAngle));
  int32_t i = begin;
  for (; end - i >= kStep; i += kStep) {
    const TSse2Sums sums = Sums(_mm_loadu_ps(inLeft + i), _mm_loadu_ps(inRight + i), cosAngle, sinAngle);
    if (NeedsReference(sums)) [[unlikely]] {
      return i;
    }
    _mm_storeu_ps(outRight + i, ToFloats(sums.NewRight));
    _mm_storeu_ps(outLeft + i, ToFloats(sums.NewLeft));
  }
  if (i < end) {
    const int32_t count = end - i;
    const TSse2Sums sums =
        Sums(LoadPartial(inLeft + i, count), LoadPartial(inRight + i, count), cosAngle, sinAngle);
    if (NeedsReference(sums)) {
      return i;
    }
    StorePartial(outRight + i, ToFloats(sums.NewRight), count);
    StorePartial(outLeft + i, ToFloats(sums.NewLeft), count);
  }
  return end;
}

}  // namespace

ZELK_SSE2 ZELK_ROTATION_REALIGN void RotateSse2(const float* inLeft, const float* inRight, float* outLeft,
                                                float* outRight, int32_t frames,
                                                TRotationCoefficients coefficients) noexcept {
  const uint32_t saved = _mm_getcsr();
  _mm_setcsr(kKernelMxcsr);
  RotateWithExtendedFallback(&RotateRun, kStep, inLeft, inRight, outLeft, outRight, frames, coefficients);
  _mm_setcsr(saved);
}

}  // namespace zelk::rotation

#endif  // ZELK_ROTATION_X86
