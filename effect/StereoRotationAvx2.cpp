// AVX2 + FMA fast path of the stereo rotation: 4 frames per step in double
// precision; StereoRotationPaths.h says why it matches the reference.

#include "effect/StereoRotationPaths.h"

#if ZELK_ROTATION_X86

#include <immintrin.h>

#define ZELK_AVX2 __attribute__((target("avx2,fma")))
#define ZELK_AVX2_INLINE static inline __attribute__((always_inline, target("avx2,fma")))

namespace zelk::rotation {
namespace {

constexpr int32_t kStep = 4;

struct TAvx2Sums {
  __m256d NewLeft;
  __m256d NewRight;
};

// c*a and s*b are exact in double; the FMA rounds their sum once, as an add would.
ZELK_AVX2_INLINE TAvx2Sums Sums(__m128 left, __m128 right, __m256d cosAngle, __m256d sinAngle) {
  const __m256d leftWide = _mm256_cvtps_pd(left);
  const __m256d rightWide = _mm256_cvtps_pd(right);
  return {_mm256_fmsub_pd(sinAngle, leftWide, _mm256_mul_pd(cosAngle, rightWide)),
          _mm256_fmadd_pd(sinAngle, rightWide, _mm256_mul_pd(cosAngle, leftWide))};
}

// The biased words of one sum vector (see kCheckBiasedOffset).
ZELK_AVX2_INLINE __m256i BiasedWords(__m256d sums) {
  return _mm256_add_epi32(
      _mm256_and_si256(_mm256_castpd_si256(sums), _mm256_set1_epi64x(static_cast<long long>(kCheckMask))),
      _mm256_set1_epi64x(static_cast<long long>(kCheckBiasedOffset)));
}

// True when a lane of either sum is a float midpoint, tiny and not zero, or NaN.
ZELK_AVX2_INLINE bool NeedsReference(TAvx2Sums sums) {
  // Either word below the limit: their minimum is (one compare instead of two).
  const __m256i lowest = _mm256_min_epi32(BiasedWords(sums.NewLeft), BiasedWords(sums.NewRight));
  const __m256i suspect =
      _mm256_cmpgt_epi32(_mm256_set1_epi64x(static_cast<long long>(kCheckBiasedLimit)), lowest);
  const __m256i nan = _mm256_castpd_si256(_mm256_cmp_pd(sums.NewLeft, sums.NewRight, _CMP_UNORD_Q));
  const __m256i any = _mm256_or_si256(suspect, nan);
  return !_mm256_testz_si256(any, any);
}

// Rotates [begin, end) in steps of 4 (the last one masked) until a step needs
// the reference; answers that step's first frame, or end. No calls inside, so
// no vector lives across one.
ZELK_AVX2 __attribute__((noinline)) int32_t RotateRun(const float* inLeft, const float* inRight, float* outLeft,
                                                      float* outRight, int32_t begin, int32_t end,
                                                      TRotationCoefficients coefficients) noexcept {
  // Widened by SSE/AVX (not x87, which 32-bit builds would otherwise use and
  // which would raise x87 flags outside the saved environment).
  const __m256d cosAngle = _mm256_cvtps_pd(_mm_set1_ps(coefficients.CosAngle));
  const __m256d sinAngle = _mm256_cvtps_pd(_mm_set1_ps(coefficients.SinAngle));
  int32_t i = begin;
  for (; end - i >= kStep; i += kStep) {
    const TAvx2Sums sums = Sums(_mm_loadu_ps(inLeft + i), _mm_loadu_ps(inRight + i), cosAngle, sinAngle);
    if (NeedsReference(sums)) [[unlikely]] {
      return i;
    }
    _mm_storeu_ps(outRight + i, _mm256_cvtpd_ps(sums.NewRight));
    _mm_storeu_ps(outLeft + i, _mm256_cvtpd_ps(sums.NewLeft));
  }
  if (i < end) {
    const __m128i mask = _mm_cmpgt_epi32(_mm_set1_epi32(end - i), _mm_setr_epi32(0, 1, 2, 3));
    const TAvx2Sums sums =
        Sums(_mm_maskload_ps(inLeft + i, mask), _mm_maskload_ps(inRight + i, mask), cosAngle, sinAngle);
    if (NeedsReference(sums)) {
      return i;
    }
    _mm_maskstore_ps(outRight + i, mask, _mm256_cvtpd_ps(sums.NewRight));
    _mm_maskstore_ps(outLeft + i, mask, _mm256_cvtpd_ps(sums.NewLeft));
  }
  return end;
}

}  // namespace

ZELK_AVX2 ZELK_ROTATION_REALIGN void RotateAvx2(const float* inLeft, const float* inRight, float* outLeft,
                                                float* outRight, int32_t frames,
                                                TRotationCoefficients coefficients) noexcept {
  const uint32_t saved = _mm_getcsr();
  _mm_setcsr(kKernelMxcsr);
  RotateWithExtendedFallback(&RotateRun, kStep, inLeft, inRight, outLeft, outRight, frames, coefficients);
  _mm_setcsr(saved);
}

}  // namespace zelk::rotation

#endif  // ZELK_ROTATION_X86
