// AVX-512F fast path of the stereo rotation: 8 frames per step in double
// precision, masked last step; StereoRotationPaths.h says why it matches the
// reference.

#include "effect/StereoRotationPaths.h"

#if ZELK_ROTATION_X86

#if defined(__GNUC__) && !defined(__clang__)
// GCC 12 reports its own AVX-512 headers ("__Y = __Y" placeholders) as
// uninitialized where they are inlined.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <immintrin.h>

#define ZELK_AVX512 __attribute__((target("avx512f")))
#define ZELK_AVX512_INLINE static inline __attribute__((always_inline, target("avx512f")))

namespace zelk::rotation {
namespace {

constexpr int32_t kStep = 8;

struct TAvx512Sums {
  __m512d NewLeft;
  __m512d NewRight;
};

// c*a and s*b are exact in double; the FMA rounds their sum once, as an add would.
ZELK_AVX512_INLINE TAvx512Sums Sums(__m256 left, __m256 right, __m512d cosAngle, __m512d sinAngle) {
  const __m512d leftWide = _mm512_cvtps_pd(left);
  const __m512d rightWide = _mm512_cvtps_pd(right);
  return {_mm512_fmsub_pd(sinAngle, leftWide, _mm512_mul_pd(cosAngle, rightWide)),
          _mm512_fmadd_pd(sinAngle, rightWide, _mm512_mul_pd(cosAngle, leftWide))};
}

// True when a lane of either sum is a float midpoint, tiny and not zero, or NaN.
ZELK_AVX512_INLINE bool NeedsReference(TAvx512Sums sums) {
  const __m512i mask = _mm512_set1_epi64(static_cast<long long>(kCheckMask));
  const __m512i offset = _mm512_set1_epi64(static_cast<long long>(kCheckOffset));
  const __m512i limit = _mm512_set1_epi64(static_cast<long long>(kCheckLimit));
  const __m512i left = _mm512_sub_epi32(_mm512_and_si512(_mm512_castpd_si512(sums.NewLeft), mask), offset);
  const __m512i right = _mm512_sub_epi32(_mm512_and_si512(_mm512_castpd_si512(sums.NewRight), mask), offset);
  // Either word below the limit: their minimum is (one compare instead of two).
  const __mmask16 suspect = _mm512_cmplt_epu32_mask(_mm512_min_epu32(left, right), limit);
  const __mmask8 nan = _mm512_cmp_pd_mask(sums.NewLeft, sums.NewRight, _CMP_UNORD_Q);
  return (suspect | nan) != 0;
}

// Rotates [begin, end) in steps of 8 (the last one masked) until a step needs
// the reference; answers that step's first frame, or end. No calls inside, so
// no vector lives across one.
ZELK_AVX512 __attribute__((noinline)) int32_t RotateRun(const float* inLeft, const float* inRight, float* outLeft,
                                                        float* outRight, int32_t begin, int32_t end,
                                                        TRotationCoefficients coefficients) noexcept {
  // Widened by AVX-512 (not x87, which 32-bit builds would otherwise use and
  // which would raise x87 flags outside the saved environment).
  const __m512d cosAngle = _mm512_cvtps_pd(_mm256_set1_ps(coefficients.CosAngle));
  const __m512d sinAngle = _mm512_cvtps_pd(_mm256_set1_ps(coefficients.SinAngle));
  int32_t i = begin;
  const int32_t fullEnd = begin + ((end - begin) & ~(kStep - 1));
  for (; i < fullEnd; i += kStep) {
    const TAvx512Sums sums = Sums(_mm256_loadu_ps(inLeft + i), _mm256_loadu_ps(inRight + i), cosAngle, sinAngle);
    if (NeedsReference(sums)) [[unlikely]] {
      return i;
    }
    _mm256_storeu_ps(outRight + i, _mm512_cvtpd_ps(sums.NewRight));
    _mm256_storeu_ps(outLeft + i, _mm512_cvtpd_ps(sums.NewLeft));
  }
  if (i < end) {
    const __mmask16 mask = static_cast<__mmask16>((1u << (end - i)) - 1u);
    const TAvx512Sums sums = Sums(_mm512_castps512_ps256(_mm512_maskz_loadu_ps(mask, inLeft + i)),
                                  _mm512_castps512_ps256(_mm512_maskz_loadu_ps(mask, inRight + i)), cosAngle,
                                  sinAngle);
    if (NeedsReference(sums)) {
      return i;
    }
    _mm512_mask_storeu_ps(outRight + i, mask, _mm512_castps256_ps512(_mm512_cvtpd_ps(sums.NewRight)));
    _mm512_mask_storeu_ps(outLeft + i, mask, _mm512_castps256_ps512(_mm512_cvtpd_ps(sums.NewLeft)));
  }
  return end;
}

}  // namespace

ZELK_AVX512 ZELK_ROTATION_REALIGN void RotateAvx512(const float* inLeft, const float* inRight, float* outLeft,
                                                    float* outRight, int32_t frames,
                                                    TRotationCoefficients coefficients) noexcept {
  const uint32_t saved = _mm_getcsr();
  _mm_setcsr(kKernelMxcsr);
  RotateWithExtendedFallback(&RotateRun, kStep, inLeft, inRight, outLeft, outRight, frames, coefficients);
  _mm_setcsr(saved);
}

}  // namespace zelk::rotation

#endif  // ZELK_ROTATION_X86
