// The row routines eight pixels at a time with AVX2. The channels are mixed
// in place, split into even bytes (blue, red) and odd bytes (green, alpha)
// of 16-bit lanes, which saves unpacking and packing: every product and sum
// fits in an unsigned 16-bit lane (S*w + D*(255-w) + 255 <= 65280).
#include "dib/DIBRowRoutinesFast.h"

#if ZELK_DIB_X86_SIMD

#include <immintrin.h>

#define ZELK_AVX2 __attribute__((target("avx2")))

namespace zelk::detail {

namespace {

enum class TWeight { wOpacity, wSourceAlpha, wSourceAlphaOpacity };

struct TConstants {
  __m256i Opacity;  // op in every 16-bit lane
  __m256i Key;
  __m256i AlphaBytes;
  __m256i ColourBytes;
  __m256i EvenBytes;
  __m256i OddBytes;
  __m256i Full;  // 255 in every 16-bit lane
  __m256i SpreadAlpha;  // byte shuffle: each pixel's alpha into both 16-bit lanes

  ZELK_AVX2 explicit TConstants(const TRowParams& params)
      : Opacity(_mm256_set1_epi16(static_cast<short>(params.Opacity))),
        Key(_mm256_set1_epi32(static_cast<int>(params.Key & 0x00FFFFFFu))),
        AlphaBytes(_mm256_set1_epi32(static_cast<int>(0xFF000000u))),
        ColourBytes(_mm256_set1_epi32(0x00FFFFFF)),
        EvenBytes(_mm256_set1_epi16(0x00FF)),
        OddBytes(_mm256_set1_epi16(static_cast<short>(0xFF00))),
        Full(_mm256_set1_epi16(255)),
        // Indices count within each 128-bit half; -128 gives a zero byte.
        SpreadAlpha(_mm256_setr_epi8(3, -128, 3, -128, 7, -128, 7, -128, 11, -128, 11, -128, 15, -128, 15, -128,  //
                                     3, -128, 3, -128, 7, -128, 7, -128, 11, -128, 11, -128, 15, -128, 15, -128)) {}
};

// The weight of each pixel in both 16-bit lanes of its 32 bits.
template <TWeight kWeight>
ZELK_AVX2 inline __m256i WeightLanes(const TConstants& constants, __m256i source) {
  if constexpr (kWeight == TWeight::wOpacity) {
    return constants.Opacity;
  } else {
    const __m256i alpha = _mm256_shuffle_epi8(source, constants.SpreadAlpha);
    if constexpr (kWeight == TWeight::wSourceAlpha) return alpha;
    return _mm256_srli_epi16(_mm256_mullo_epi16(alpha, constants.Opacity), 8);
  }
}

// (S*w + D*(255-w) + 255) >> 8 for every byte; the caller replaces the alpha
// bytes.
template <TWeight kWeight>
ZELK_AVX2 inline __m256i MixColours(const TConstants& constants, __m256i source, __m256i target) {
  const __m256i weight = WeightLanes<kWeight>(constants, source);
  const __m256i inverse = _mm256_sub_epi16(constants.Full, weight);
  const __m256i sourceEven = _mm256_and_si256(source, constants.EvenBytes);
  const __m256i targetEven = _mm256_and_si256(target, constants.EvenBytes);
  const __m256i sourceOdd = _mm256_srli_epi16(source, 8);
  const __m256i targetOdd = _mm256_srli_epi16(target, 8);
  const __m256i even = _mm256_add_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(sourceEven, weight), _mm256_mullo_epi16(targetEven, inverse)),
      constants.Full);
  const __m256i odd = _mm256_add_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(sourceOdd, weight), _mm256_mullo_epi16(targetOdd, inverse)),
      constants.Full);
  return _mm256_or_si256(_mm256_srli_epi16(even, 8), _mm256_and_si256(odd, constants.OddBytes));
}

// Bytes of whenSet where the mask byte's top bit is set, else of otherwise.
ZELK_AVX2 inline __m256i Select(__m256i mask, __m256i whenSet, __m256i otherwise) {
  return _mm256_blendv_epi8(otherwise, whenSet, mask);
}

ZELK_AVX2 inline __m256i IsKey(const TConstants& constants, __m256i source) {
  return _mm256_cmpeq_epi32(_mm256_and_si256(source, constants.ColourBytes), constants.Key);
}

struct TCopy {
  ZELK_AVX2 static __m256i Apply(const TConstants&, __m256i source, __m256i) { return source; }
};

template <TWeight kWeight>
struct TBlend {
  ZELK_AVX2 static __m256i Apply(const TConstants& constants, __m256i source, __m256i target) {
    const __m256i colours = MixColours<kWeight>(constants, source, target);
    return Select(constants.AlphaBytes, _mm256_max_epu8(source, target), colours);
  }
};

struct TKey {
  ZELK_AVX2 static __m256i Apply(const TConstants& constants, __m256i source, __m256i target) {
    return Select(IsKey(constants, source), target, _mm256_and_si256(source, constants.ColourBytes));
  }
};

struct TKeyOpacity {
  ZELK_AVX2 static __m256i Apply(const TConstants& constants, __m256i source, __m256i target) {
    const __m256i colours = MixColours<TWeight::wOpacity>(constants, source, target);
    const __m256i drawn = Select(constants.AlphaBytes, source, colours);
    return Select(IsKey(constants, source), target, drawn);
  }
};

struct TAlpha {
  ZELK_AVX2 static __m256i Apply(const TConstants& constants, __m256i source, __m256i target) {
    return Select(constants.AlphaBytes, source, target);
  }
};

struct TAlphaToGrey {
  ZELK_AVX2 static __m256i Apply(const TConstants&, __m256i source, __m256i) {
    const __m256i alpha = _mm256_srli_epi32(source, 24);
    const __m256i twice = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 8));
    return _mm256_or_si256(twice, _mm256_slli_epi32(twice, 16));
  }
};

ZELK_AVX2 inline __m256i Load(const uint8_t* address) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(address));
}

ZELK_AVX2 inline void Store(uint8_t* address, __m256i pixels) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(address), pixels);
}

// Runs Block over sixteen, then eight pixels at a time and the reference
// over the rest.
template <class Block, TRowRoutine kRoutine>
ZELK_AVX2 void RowOf(const TRowParams& params, const uint8_t* source, uint8_t* target, int32_t width) {
  const TConstants constants(params);
  int32_t column = 0;
  for (; column + 16 <= width; column += 16) {
    const __m256i first = Block::Apply(constants, Load(source + column * 4), Load(target + column * 4));
    const __m256i second = Block::Apply(constants, Load(source + column * 4 + 32), Load(target + column * 4 + 32));
    Store(target + column * 4, first);
    Store(target + column * 4 + 32, second);
  }
  for (; column + 8 <= width; column += 8) {
    Store(target + column * 4, Block::Apply(constants, Load(source + column * 4), Load(target + column * 4)));
  }
  if (column < width) ReferenceRowFunction(kRoutine)(params, source + column * 4, target + column * 4, width - column);
}

}  // namespace

const TFastRowSet& Avx2Rows() {
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
                                "AVX2"};
  return rows;
}

}  // namespace zelk::detail

#endif
