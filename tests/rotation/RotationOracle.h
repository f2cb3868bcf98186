#pragma once
// Test helpers for the stereo rotation kernel: the definition written out by
// the test itself (an oracle independent of the library), access to the
// floating-point state, and the corpus of inputs.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <emmintrin.h>

#include "effect/StereoRotation.h"

namespace zelk::tests {

inline uint32_t Bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline float FromBits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline uint64_t Bits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// ---- Floating-point state ---------------------------------------------------

inline uint16_t ReadX87ControlWord() {
  uint16_t word;
  __asm__ __volatile__("fnstcw %0" : "=m"(word));
  return word;
}

inline void WriteX87ControlWord(uint16_t word) {
  __asm__ __volatile__("fldcw %0" : : "m"(word));
}

inline uint16_t ReadX87StatusWord() {
  uint16_t word;
  __asm__ __volatile__("fnstsw %0" : "=m"(word));
  return word;
}

inline void ClearX87Exceptions() {
  __asm__ __volatile__("fnclex");
}

inline uint32_t ReadMxcsr() {
  uint32_t value;
  __asm__ __volatile__("stmxcsr %0" : "=m"(value));
  return value;
}

inline void WriteMxcsr(uint32_t value) {
  __asm__ __volatile__("ldmxcsr %0" : : "m"(value));
}

constexpr uint16_t kX87Extended = 0x037F;   // all masked, 64-bit precision, nearest
constexpr uint16_t kX87Double = 0x027F;     // precision control 53 bits (Windows default)
constexpr uint16_t kX87Single = 0x007F;     // precision control 24 bits
constexpr uint32_t kMxcsrDefault = 0x1F80;  // all masked, nearest, no FTZ/DAZ
constexpr uint32_t kMxcsrFtz = 0x8000;
constexpr uint32_t kMxcsrDaz = 0x0040;

// Sets the x87 control word to 64-bit precision, round to nearest, all
// exceptions masked, and MXCSR to its default, for as long as it lives.
class TDefaultFloatingPointScope {
 public:
  TDefaultFloatingPointScope() : m_ControlWord(ReadX87ControlWord()), m_Mxcsr(ReadMxcsr()) {
    WriteX87ControlWord(kX87Extended);
    WriteMxcsr(kMxcsrDefault);
  }
  ~TDefaultFloatingPointScope() {
    WriteX87ControlWord(m_ControlWord);
    WriteMxcsr(m_Mxcsr);
  }
  TDefaultFloatingPointScope(const TDefaultFloatingPointScope&) = delete;
  TDefaultFloatingPointScope& operator=(const TDefaultFloatingPointScope&) = delete;

 private:
  uint16_t m_ControlWord;
  uint32_t m_Mxcsr;
};

// True when long double arithmetic really carries a 64-bit significand. It does
// not under valgrind, which computes x87 instructions in double precision: the
// tests that need the real format skip there.
__attribute__((noinline)) inline bool HasExtendedPrecision() {
  TDefaultFloatingPointScope scope;
  volatile long double one = 1.0L;
  volatile long double tiny = 0x1p-63L;
  const long double sum = one + tiny;
  return sum != one;
}

#define ZELK_REQUIRE_EXTENDED_PRECISION()                                                       \
  do {                                                                                          \
    if (!::zelk::tests::HasExtendedPrecision()) {                                       \
      GTEST_SKIP() << "long double is not the x87 80-bit format here (running under valgrind?)"; \
    }                                                                                           \
  } while (false)

// Skips a test of one rotation path where the processor lacks it, or where
// the reference sums cannot be formed (above).
#define ZELK_REQUIRE_ROTATION_PATH(path)                                                    \
  do {                                                                                      \
    ZELK_REQUIRE_EXTENDED_PRECISION();                                                      \
    if (!IsRotationPathAvailable(path)) {                                                   \
      GTEST_SKIP() << PathName(path) << " is not available on this processor";             \
    }                                                                                       \
  } while (false)

// ---- The definition -----------------------------------------------------------
// Each sum formed in x87 extended precision (exact products, the sum rounded once
// to a 64-bit significand), then rounded to float32. Call inside a
// TDefaultFloatingPointScope. noinline so the arithmetic runs on the x87 under
// that scope rather than being folded or moved.

// Each input is loaded onto the x87 stack before it is multiplied (as the
// library's reference does), so a signalling NaN is quieted on loading and the
// NaN bits of the result are those of x87 propagation between loaded operands.
__attribute__((noinline)) inline float OracleRight(float c, float s, float left, float right) {
  volatile long double cosAngle = c;
  volatile long double sinAngle = s;
  volatile long double leftWide = left;
  volatile long double rightWide = right;
  return static_cast<float>(cosAngle * leftWide + sinAngle * rightWide);
}

__attribute__((noinline)) inline float OracleLeft(float c, float s, float left, float right) {
  volatile long double cosAngle = c;
  volatile long double sinAngle = s;
  volatile long double leftWide = left;
  volatile long double rightWide = right;
  return static_cast<float>(sinAngle * leftWide - cosAngle * rightWide);
}

// The forms the brief warns about, to prove the corpus can tell them apart.
// The double form uses SSE2 so that 32-bit builds do not keep x87 precision.
__attribute__((noinline, target("sse2"))) inline double DoubleSumRight(float c, float s, float left, float right) {
  const __m128d first = _mm_mul_sd(_mm_cvtss_sd(_mm_setzero_pd(), _mm_set_ss(c)), _mm_cvtss_sd(_mm_setzero_pd(), _mm_set_ss(left)));
  const __m128d second = _mm_mul_sd(_mm_cvtss_sd(_mm_setzero_pd(), _mm_set_ss(s)), _mm_cvtss_sd(_mm_setzero_pd(), _mm_set_ss(right)));
  return _mm_cvtsd_f64(_mm_add_sd(first, second));
}

__attribute__((noinline, target("sse2"))) inline float DoubleFormRight(float c, float s, float left, float right) {
  return _mm_cvtss_f32(_mm_cvtsd_ss(_mm_setzero_ps(), _mm_set_sd(DoubleSumRight(c, s, left, right))));
}

__attribute__((noinline)) inline float FloatFormRight(float c, float s, float left, float right) {
  volatile float first = c * left;
  volatile float second = s * right;
  return first + second;
}

// ---- Corpus -------------------------------------------------------------------

// One call's worth of input: a coefficient pair and two channels.
struct TBlock {
  std::string Name;
  TRotationCoefficients Coefficients{};
  std::vector<float> Left;
  std::vector<float> Right;
};

// The expected outputs of a block, from the oracle.
struct TExpected {
  std::vector<float> Left;
  std::vector<float> Right;
};

inline TExpected Expect(const TBlock& block) {
  TDefaultFloatingPointScope scope;
  TExpected expected;
  const float c = block.Coefficients.CosAngle;
  const float s = block.Coefficients.SinAngle;
  for (size_t i = 0; i < block.Left.size(); ++i) {
    expected.Right.push_back(OracleRight(c, s, block.Left[i], block.Right[i]));
    expected.Left.push_back(OracleLeft(c, s, block.Left[i], block.Right[i]));
  }
  return expected;
}

// Coefficients computed by the library for angles in degrees.
inline std::vector<TRotationCoefficients> AngleCoefficients(float firstDegrees, float lastDegrees, float step) {
  std::vector<TRotationCoefficients> result;
  for (int index = 0;; ++index) {
    const float degrees = firstDegrees + static_cast<float>(index) * step;
    if (degrees > lastDegrees) {
      break;
    }
    result.push_back(ComputeRotationCoefficients(degrees));
  }
  return result;
}

// A float with a random significand and an exponent uniform in [minExponent,
// maxExponent] (values are 2^exponent * [1, 2)), random sign.
inline float RandomFloat(std::mt19937& random, int minExponent, int maxExponent) {
  std::uniform_int_distribution<int> exponent(minExponent, maxExponent);
  std::uniform_real_distribution<double> significand(1.0, 2.0);
  const double value = std::ldexp(significand(random), exponent(random));
  return (random() & 1) ? static_cast<float>(value) : -static_cast<float>(value);
}

inline int BitLength(uint64_t value) {
  int length = 0;
  while (value != 0) {
    ++length;
    value >>= 1;
  }
  return length;
}

// The odd part of a float's significand, as an integer. 0 for 0.
inline uint64_t OddSignificand(float value) {
  const double magnitude = std::fabs(static_cast<double>(value));
  if (magnitude == 0.0) {
    return 0;
  }
  int exponent;
  const double fraction = std::frexp(magnitude, &exponent);  // [0.5, 1)
  uint64_t integer = static_cast<uint64_t>(std::ldexp(fraction, 24));
  while ((integer & 1) == 0) {
    integer >>= 1;
  }
  return integer;
}

// An odd integer multiplier m (m < 2^24) such that factor * m, at a suitable
// power of two, is a float rounding midpoint (exactly 25 significant bits).
// 0 when none was found (factor a power of two).
inline uint64_t MidpointMultiplier(std::mt19937& random, float factor) {
  const uint64_t odd = OddSignificand(factor);
  const int length = BitLength(odd);
  if (odd <= 1) {
    return 0;
  }
  for (int attempt = 0; attempt < 200; ++attempt) {
    const int wanted = 25 - length + static_cast<int>(random() % 2);
    if (wanted < 2 || wanted > 24) {
      continue;
    }
    const uint64_t multiplier = ((static_cast<uint64_t>(random()) % (1ull << (wanted - 1))) | (1ull << (wanted - 1))) | 1;
    if (BitLength(odd * multiplier) == 25) {
      return multiplier;
    }
  }
  return 0;
}

// True when the double value lies exactly halfway between two adjacent floats
// of the normal range.
inline bool IsNormalFloatMidpoint(double value) {
  return (Bits(value) & 0x1FFFFFFFull) == 0x10000000ull && std::fabs(value) >= FLT_MIN;
}

// Frames whose sum lands on a float rounding midpoint, or at a chosen small
// distance from one: one product is made exactly a midpoint m (by choosing the
// input as an odd multiplier of the coefficient's odd significand), the other
// product is a perturbation whose size runs from far below half a 64-bit ulp
// of m, through half a 53-bit ulp (where the double sum lands on m) to a few
// 53-bit ulps (neighbours). forRight selects which output is constructed.
inline void AddMidpointFrames(std::mt19937& random, TBlock& block, bool forRight, int count, int minExponent,
                              int maxExponent) {
  const float c = block.Coefficients.CosAngle;
  const float s = block.Coefficients.SinAngle;
  // right = c*a + s*b: the midpoint from c*a, the perturbation from s*b.
  // left  = s*a - c*b: the midpoint from s*a, the perturbation from -c*b.
  const float main = forRight ? c : s;
  const float other = forRight ? s : -c;
  const uint64_t multiplier = MidpointMultiplier(random, main);
  if (multiplier == 0 || other == 0.0f || !std::isfinite(main) || !std::isfinite(other)) {
    return;
  }
  std::uniform_int_distribution<int> exponentChoice(minExponent, maxExponent);
  std::uniform_int_distribution<int> offsetChoice(-16, 4);
  for (int made = 0; made < count; ++made) {
    // a = multiplier * 2^k with the product near 2^target.
    const int target = exponentChoice(random);
    int mainExponent;
    std::frexp(static_cast<double>(main), &mainExponent);
    const int multiplierLength = BitLength(multiplier);
    const int k = target - mainExponent - multiplierLength;
    const double aValue = std::ldexp(static_cast<double>(multiplier), k);
    const float a = static_cast<float>((random() & 1) ? aValue : -aValue);
    if (static_cast<double>(std::fabs(a)) != aValue || !std::isfinite(a)) {
      continue;
    }
    const double midpoint = static_cast<double>(main) * a;
    // Half a 53-bit ulp of the midpoint, scaled by 2^offset and a random factor.
    int midpointExponent;
    std::frexp(midpoint, &midpointExponent);
    const int offset = offsetChoice(random);
    double perturbation = std::ldexp(1.0, midpointExponent - 54 + offset);
    switch (random() % 4) {
      case 0:
        break;  // a power of two: exactly half an ulp at the chosen scale
      case 1:
        perturbation *= std::uniform_real_distribution<double>(1.0, 2.0)(random);
        break;
      case 2:
        perturbation *= 1.0 + std::ldexp(1.0, -20);
        break;
      default:
        perturbation *= 1.0 - std::ldexp(1.0, -22);
        break;
    }
    if (random() & 1) {
      perturbation = -perturbation;
    }
    float b = static_cast<float>(perturbation / static_cast<double>(other));
    if (random() % 16 == 0) {
      b = 0.0f;  // exactly on the midpoint: ties to even
    }
    block.Left.push_back(a);
    block.Right.push_back(b);
  }
}

// Coefficient pairs whose significands have few bits, so that constructions
// of every kind are possible, plus real ones from angles.
inline std::vector<TRotationCoefficients> ConstructionCoefficients(std::mt19937& random) {
  std::vector<TRotationCoefficients> result = {
      {0.75f, 0.5f},       {0.75f, -0.625f},     {-0.9375f, 0.375f}, {0.6f, 0.8f},
      {-0.8f, 0.6f},       {0.96875f, 0.3125f},  {0.75f, 1e-20f},    {3.0f / 1024, 0.75f},
  };
  for (TRotationCoefficients angle : AngleCoefficients(0.0f, 360.0f, 7.5f)) {
    result.push_back(angle);
  }
  for (int index = 0; index < 16; ++index) {
    result.push_back({RandomFloat(random, -3, -1), RandomFloat(random, -3, -1)});
  }
  return result;
}

// Blocks of constructed midpoint frames over the normal range, for both outputs.
inline std::vector<TBlock> MidpointBlocks(uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<TBlock> blocks;
  for (TRotationCoefficients coefficients : ConstructionCoefficients(random)) {
    TBlock block;
    block.Name = "midpoints c=" + std::to_string(coefficients.CosAngle) + " s=" + std::to_string(coefficients.SinAngle);
    block.Coefficients = coefficients;
    AddMidpointFrames(random, block, true, 300, -100, 100);
    AddMidpointFrames(random, block, false, 300, -100, 100);
    AddMidpointFrames(random, block, true, 40, -125, -110);
    AddMidpointFrames(random, block, false, 40, 110, 127);
    if (!block.Left.empty()) {
      blocks.push_back(std::move(block));
    }
  }
  return blocks;
}

// Sums on the denormal grid: c = 0.75 makes c*a = 3n * 2^-150, an odd multiple
// of 2^-150 (a midpoint between two denormal floats), and s*b is a tiny
// perturbation; also plain tiny inputs whose sums fall below 2^-126.
inline std::vector<TBlock> DenormalBlocks(uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<TBlock> blocks;
  for (float s : {0x1p-30f, -0x1p-40f, 5.0e-20f, 0.70710677f, 0x1.5p-60f}) {
    TBlock block;
    block.Name = "denormal midpoints s=" + std::to_string(s);
    block.Coefficients = {0.75f, s};
    for (int made = 0; made < 600; ++made) {
      const uint32_t n = (static_cast<uint32_t>(random()) % (1u << (1 + random() % 21))) | 1u;
      const float a = FromBits(n << 1) * ((random() & 1) ? 1.0f : -1.0f);  // n * 2^-148
      const int offset = -static_cast<int>(random() % 80);
      double perturbation = std::ldexp(std::uniform_real_distribution<double>(1.0, 2.0)(random), -150 + offset);
      if (random() % 3 == 0) {
        perturbation = std::ldexp(1.0, -150 + offset);
      }
      if (random() & 1) {
        perturbation = -perturbation;
      }
      block.Left.push_back(a);
      block.Right.push_back(random() % 10 == 0 ? 0.0f : static_cast<float>(perturbation / s));
    }
    blocks.push_back(std::move(block));
  }
  for (TRotationCoefficients coefficients : AngleCoefficients(0.0f, 360.0f, 22.5f)) {
    TBlock block;
    block.Name = "tiny inputs";
    block.Coefficients = coefficients;
    for (int made = 0; made < 400; ++made) {
      block.Left.push_back(RandomFloat(random, -149, -120));
      block.Right.push_back(RandomFloat(random, -149, -120));
    }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

// The overflow threshold 2^128 - 2^103 (halfway between FLT_MAX and 2^128) as
// the product (31/32) * (1082401 * 2^108), perturbed by a small second product.
inline TBlock OverflowBlock() {
  TBlock block;
  block.Name = "overflow midpoint";
  block.Coefficients = {0.96875f, 0.5f};
  const float a = std::ldexp(1082401.0f, 108);
  for (int exponent : {0, 40, 60, 73, 74, 75, 76, 77, 90, 100}) {
    for (float sign : {1.0f, -1.0f}) {
      block.Left.push_back(a);
      block.Right.push_back(exponent == 0 ? 0.0f : sign * std::ldexp(1.0f, exponent));
      block.Left.push_back(-a);
      block.Right.push_back(exponent == 0 ? -0.0f : sign * std::ldexp(1.0f, exponent));
    }
  }
  return block;
}

// Special values, every pair, under several coefficient pairs.
inline std::vector<float> SpecialValues() {
  const float infinity = std::numeric_limits<float>::infinity();
  return {0.0f,
          -0.0f,
          infinity,
          -infinity,
          std::numeric_limits<float>::quiet_NaN(),
          -std::numeric_limits<float>::quiet_NaN(),
          FromBits(0x7FC12345),  // quiet NaN with payload
          FromBits(0xFFA00001),  // signalling NaN with payload
          FromBits(0x7F800001),  // signalling NaN
          FLT_MAX,
          -FLT_MAX,
          FLT_MIN,
          -FLT_MIN,
          FromBits(0x00000001),  // smallest denormal
          FromBits(0x807FFFFF),  // largest denormal, negative
          FromBits(0x00400000),
          1.0f,
          -1.0f,
          0.5f,
          3.0f,
          1e30f,
          -1e-30f};
}

inline std::vector<TBlock> SpecialBlocks() {
  const std::vector<float> values = SpecialValues();
  std::vector<TRotationCoefficients> coefficients = AngleCoefficients(0.0f, 360.0f, 45.0f);
  coefficients.push_back({0.0f, 0.0f});
  coefficients.push_back({-0.0f, 1.0f});
  coefficients.push_back({1.0f, 1.0f});
  coefficients.push_back({std::numeric_limits<float>::infinity(), 0.5f});
  coefficients.push_back({0.25f, std::numeric_limits<float>::quiet_NaN()});
  coefficients.push_back(ComputeRotationCoefficients(std::numeric_limits<float>::quiet_NaN()));
  coefficients.push_back({FLT_MIN, FromBits(0x00000003)});
  std::vector<TBlock> blocks;
  for (TRotationCoefficients pair : coefficients) {
    TBlock block;
    block.Name = "special values c=" + std::to_string(pair.CosAngle) + " s=" + std::to_string(pair.SinAngle);
    block.Coefficients = pair;
    for (float left : values) {
      for (float right : values) {
        block.Left.push_back(left);
        block.Right.push_back(right);
      }
    }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

// Random signals: uniform audio at angles 0..360 in quarter degrees; values
// over the whole exponent range; near-cancelling pairs.
inline std::vector<TBlock> RandomBlocks(uint32_t seed, float angleStep) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> audio(-1.0f, 1.0f);
  std::vector<TBlock> blocks;
  for (TRotationCoefficients coefficients : AngleCoefficients(0.0f, 360.0f, angleStep)) {
    TBlock block;
    block.Name = "audio";
    block.Coefficients = coefficients;
    for (int frame = 0; frame < 131; ++frame) {
      block.Left.push_back(audio(random));
      block.Right.push_back(audio(random));
    }
    // Near cancellation of the right sum: b close to -c*a/s.
    if (coefficients.SinAngle != 0.0f) {
      for (int frame = 0; frame < 64; ++frame) {
        const float a = audio(random);
        const float b = static_cast<float>(-static_cast<double>(coefficients.CosAngle) * a / coefficients.SinAngle);
        block.Left.push_back(a);
        block.Right.push_back(std::nextafter(b, (frame & 1) ? 2.0f : -2.0f));
      }
    }
    blocks.push_back(std::move(block));
  }
  for (int index = 0; index < 64; ++index) {
    TBlock block;
    block.Name = "wide range";
    block.Coefficients = {RandomFloat(random, -30, 0), RandomFloat(random, -30, 0)};
    for (int frame = 0; frame < 257; ++frame) {
      block.Left.push_back(RandomFloat(random, -149, 127));
      block.Right.push_back(RandomFloat(random, -149, 127));
    }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

inline std::vector<TRotationPath> AllPaths() {
  return {TRotationPath::rpReference, TRotationPath::rpSse2, TRotationPath::rpAvx2, TRotationPath::rpAvx512};
}

inline const char* PathName(TRotationPath path) {
  switch (path) {
    case TRotationPath::rpReference:
      return "reference";
    case TRotationPath::rpSse2:
      return "sse2";
    case TRotationPath::rpAvx2:
      return "avx2";
    case TRotationPath::rpAvx512:
      return "avx512";
  }
  return "?";
}

}  // namespace zelk::tests
