// The row routines four pixels at a time with SSE2. Every channel product
// and sum fits in an unsigned 16-bit lane: S*w + D*(255-w) + 255 <= 65280.
#include "dib/DIBRowRoutinesFast.h"

#if ZELK_DIB_X86_SIMD

#include <emmintrin.h>

#include <cstring>

#define ZELK_SSE2 __attribute__((target("sse2")))

namespace zelk::detail {

namespace {

enum class TWeight { wOpacity, wSourceAlpha, wSourceAlphaOpacity };

// (source * weight + target * (255 - weight) + 255) >> 8 in eight 16-bit lanes.
ZELK_SSE2 inline __m128i MixLanes(__m128i source, __m128i target, __m128i weight) {
  const __m128i full = _mm_set1_epi16(255);
  const __m128i inverse = _mm_sub_epi16(full, weight);
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(source, weight), _mm_mullo_epi16(target, inverse));
  return _mm_srli_epi16(_mm_add_epi16(sum, full), 8);
}

// The weight of each pixel in all four of its lanes.
template <TWeight kWeight>
ZELK_SSE2 inline __m128i WeightLanes(__m128i source, __m128i opacity) {
  if constexpr (kWeight == TWeight::wOpacity) {
    return opacity;
  } else {
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xFF), 0xFF);
    if constexpr (kWeight == TWeight::wSourceAlpha) return alpha;
    return _mm_srli_epi16(_mm_mullo_epi16(alpha, opacity), 8);
  }
}

// B, G and R of four pixels mixed; the alpha bytes of the result are to be
// replaced by the caller.
template <TWeight kWeight>
ZELK_SSE2 inline __m128i MixColours(__m128i source, __m128i target, __m128i opacity) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i sourceLow = _mm_unpacklo_epi8(source, zero);
  const __m128i sourceHigh = _mm_unpackhi_epi8(source, zero);
  const __m128i low = MixLanes(sourceLow, _mm_unpacklo_epi8(target, zero), WeightLanes<kWeight>(sourceLow, opacity));
  const __m128i high =
      MixLanes(sourceHigh, _mm_unpackhi_epi8(target, zero), WeightLanes<kWeight>(sourceHigh, opacity));
  return _mm_packus_epi16(low, high);
}

ZELK_SSE2 inline __m128i Select(__m128i mask, __m128i whenSet, __m128i otherwise) {
  return _mm_or_si128(_mm_and_si128(mask, whenSet), _mm_andnot_si128(mask, otherwise));
}

struct TConstants {
  __m128i Opacity;
  __m128i Key;
  __m128i AlphaBytes;
  __m128i ColourBytes;

  ZELK_SSE2 explicit TConstants(const TRowParams& params)
      : Opacity(_mm_set1_epi16(static_cast<short>(params.Opacity))),
        Key(_mm_set1_epi32(static_cast<int>(params.Key & 0x00FFFFFFu))),
        AlphaBytes(_mm_set1_epi32(static_cast<int>(0xFF000000u))),
        ColourBytes(_mm_set1_epi32(0x00FFFFFF)) {}
};

// Runs Block over four pixels at a time and the reference over the rest.
template <class Block, TRowRoutine kRoutine>
ZELK_SSE2 void RowOf(const TRowParams& params, const uint8_t* source, uint8_t* target, int32_t width) {
  const TConstants constants(params);
  int32_t column = 0;
  for (; column + 4 <= width; column += 4) {
    const __m128i sourcePixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + column * 4));
    const __m128i targetPixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(target + column * 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + column * 4),
                     Block::Apply(constants, sourcePixels, targetPixels));
  }
  if (column < width) ReferenceRowFunction(kRoutine)(params, source + column * 4, target + column * 4, width - column);
}

struct TCopy {
  ZELK_SSE2 static __m128i Apply(const TConstants&, __m128i source, __m128i) { return source; }
};

template <TWeight kWeight>
struct TBlend {
  ZELK_SSE2 static __m128i Apply(const TConstants& constants, __m128i source, __m128i target) {
    const __m128i colours = MixColours<kWeight>(source, target, constants.Opacity);
    return Select(constants.AlphaBytes, _mm_max_epu8(source, target), colours);
  }
};

struct TKey {
  ZELK_SSE2 static __m128i Apply(const TConstants& constants, __m128i source, __m128i target) {
    const __m128i colour = _mm_and_si128(source, constants.ColourBytes);
    return Select(_mm_cmpeq_epi32(colour, constants.Key), target, colour);
  }
};

struct TKeyOpacity {
  ZELK_SSE2 static __m128i Apply(const TConstants& constants, __m128i source, __m128i target) {
    const __m128i colours = MixColours<TWeight::wOpacity>(source, target, constants.Opacity);
    const __m128i drawn = Select(constants.AlphaBytes, source, colours);
    const __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(source, constants.ColourBytes), constants.Key);
    return Select(isKey, target, drawn);
  }
};

struct TAlpha {
  ZELK_SSE2 static __m128i Apply(const TConstants& constants, __m128i source, __m128i target) {
    return Select(constants.AlphaBytes, source, target);
  }
};

struct TAlphaToGrey {
  ZELK_SSE2 static __m128i Apply(const TConstants&, __m128i source, __m128i) {
    const __m128i alpha = _mm_srli_epi32(source, 24);
    const __m128i twice = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 8));
    return _mm_or_si128(twice, _mm_slli_epi32(twice, 16));
  }
};

}  // namespace

const TFastRowSet& Sse2Rows() {
  static const TFastRowSet rows{{
                                    RowOf<TAlphaToGrey, TRowRoutine::rrAlphaToGreyRow>,
                                    RowOf<TAlpha, TRowRoutine::rrAlphaRow>,
                                    RowOf<TCopy, TRowRoutine::rrCopyRow>,
                                    RowOf<TBlend<TWeight::wOpacity>, TRowRoutine::rrBlendRowOpacity>,
                                    RowOf<TBlend<TWeight::wSourceAlpha>, TRowRoutine::rrBlendRowAlpha>,
                                    RowOf<TBlend<TWeight::wSourceAlphaOpacity>, TRowRoutine::rrBlendRowAlphaOpacity>,
                                    RowOf<TKey, TRowRoutine::rrKeyRow>,
                                    RowOf<TKeyOpacity, TRowRoutine::rrKeyRowOpacity>,
                                },
                                "SSE2"};
  return rows;
}

}  // namespace zelk::detail

#endif
