// Stereo rotation: the coefficients, the reference routine, the
// floating-point state it needs, and the choice of fast path. The fast paths
// live beside this file in StereoRotationSse2.cpp, StereoRotationAvx2.cpp and
// StereoRotationAvx512.cpp; StereoRotationPaths.h says why they are exact.

#include "effect/StereoRotation.h"

#include <atomic>
#include <cfloat>
#include <cmath>

#include "effect/StereoRotationPaths.h"

#if ZELK_ROTATION_X86
static_assert(LDBL_MANT_DIG == 64, "the rotation reference needs the x87 80-bit long double");
#endif

namespace zelk {

namespace rotation {

// The x87 stack is empty at both points (nothing may live in st(i) across
// them, hence the clobbers), so restoring the saved tag word is safe.
#define ZELK_X87_CLOBBERS "memory", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)"

void TX87Environment::Enter() noexcept {
#if ZELK_ROTATION_X86
  if (m_Entered) {
    return;
  }
  m_Entered = true;
  const uint16_t controlWord = kExtendedControlWord;
  // fnstenv stores control, status and tag words (and masks all exceptions);
  // fldcw then selects 64-bit precision and round to nearest.
  __asm__ __volatile__("fnstenv %0\n\tfldcw %1" : "=m"(m_Saved) : "m"(controlWord) : ZELK_X87_CLOBBERS);
#endif
}

void TX87Environment::Leave() noexcept {
#if ZELK_ROTATION_X86
  if (!m_Entered) {
    return;
  }
  m_Entered = false;
  __asm__ __volatile__("fldenv %0" : : "m"(m_Saved) : ZELK_X87_CLOBBERS);
#endif
}

// The reference. Each sum is formed in long double: the products of two floats
// are exact in the 64-bit significand, the sum is rounded once to 64 bits, then
// to float32 when stored. Output channel 1 (right) is written before channel 0.
void RotateWithExtendedFallback(TVectorRun run, int32_t step, const float* inLeft, const float* inRight,
                                float* outLeft, float* outRight, int32_t frames,
                                TRotationCoefficients coefficients) noexcept {
  TX87Environment x87;
  int32_t frame = 0;
  while ((frame = run(inLeft, inRight, outLeft, outRight, frame, frames, coefficients)) < frames) {
    const int32_t count = frames - frame < step ? frames - frame : step;
    x87.Enter();
    RotateFramesExtended(inLeft + frame, inRight + frame, outLeft + frame, outRight + frame, count, coefficients);
    frame += count;
  }
  x87.Leave();
}

__attribute__((noinline)) void RotateFramesExtended(const float* inLeft, const float* inRight, float* outLeft,
                                                    float* outRight, int32_t frames,
                                                    TRotationCoefficients coefficients) noexcept {
  const long double cosAngle = coefficients.CosAngle;
  const long double sinAngle = coefficients.SinAngle;
  for (int32_t i = 0; i < frames; ++i) {
    const long double left = inLeft[i];
    const long double right = inRight[i];
    const float newRight = static_cast<float>(cosAngle * left + sinAngle * right);
    const float newLeft = static_cast<float>(sinAngle * left - cosAngle * right);
    outRight[i] = newRight;
    outLeft[i] = newLeft;
  }
}

}  // namespace rotation

namespace {

using TRotateRoutine = void (*)(const float*, const float*, float*, float*, int32_t, TRotationCoefficients) noexcept;

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// cos and sin as the processor's trigonometric instructions give them: fcos and
// fsin take |x| < 2^63 and leave larger arguments unreduced; the module answers
// 0 there (infinities included). NaN stays NaN.
long double ProcessorCos(long double x) noexcept {
  if (std::fabs(x) >= 0x1p63L) {
    return 0.0L;
  }
#if ZELK_ROTATION_X86
  long double result;
  __asm__("fcos" : "=t"(result) : "0"(x));
  return result;
#else
  return std::cos(x);
#endif
}

long double ProcessorSin(long double x) noexcept {
  if (std::fabs(x) >= 0x1p63L) {
    return 0.0L;
  }
#if ZELK_ROTATION_X86
  long double result;
  __asm__("fsin" : "=t"(result) : "0"(x));
  return result;
#else
  return std::sin(x);
#endif
}

// Ties a value to this point of the program: the work that produces it happens
// before, the work that uses it after. Compilers otherwise feel free to move
// floating-point arithmetic (and calls they see as pure) across the control-word
// changes of TX87Environment.
template <typename TValue>
inline void Pin(TValue& value) noexcept {
  __asm__ __volatile__("" : "+m"(value));
}

TRotationCoefficients ComputeCoefficientsExtended(float degrees) noexcept {
  const long double theta = ((-static_cast<long double>(degrees)) / 360.0L - 0.5L) * kPi;
  return {static_cast<float>(ProcessorCos(theta)), static_cast<float>(ProcessorSin(theta))};
}

void RotateReference(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames,
                     TRotationCoefficients coefficients) noexcept {
  rotation::TX87Environment x87;
  x87.Enter();
  rotation::RotateFramesExtended(inLeft, inRight, outLeft, outRight, frames, coefficients);
  x87.Leave();
}

bool ProcessorRuns(TRotationPath path) noexcept {
#if ZELK_ROTATION_X86
  __builtin_cpu_init();
  switch (path) {
    case TRotationPath::rpReference:
      return true;
    case TRotationPath::rpSse2:
#if defined(__x86_64__) || defined(__SSE2__)
      return true;
#else
      return __builtin_cpu_supports("sse2");
#endif
    case TRotationPath::rpAvx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case TRotationPath::rpAvx512:
      return __builtin_cpu_supports("avx512f");
  }
  return false;
#else
  return path == TRotationPath::rpReference;
#endif
}

TRotateRoutine RoutineFor(TRotationPath path) noexcept {
  switch (path) {
#if ZELK_ROTATION_X86
    case TRotationPath::rpSse2:
      return &rotation::RotateSse2;
    case TRotationPath::rpAvx2:
      return &rotation::RotateAvx2;
    case TRotationPath::rpAvx512:
      return &rotation::RotateAvx512;
#endif
    default:
      return &RotateReference;
  }
}

// The widest path the processor runs. AVX-512 comes first only because it is
// measurably faster (bench/RotationBench.cpp, CPU time, 12 interleaved
// repetitions on an AMD EPYC with AVX-512): 20 / 126 / 984 ns against AVX2's
// 33 / 225 / 1768 ns at 64 / 512 / 4096 frames, deviations 2-4 %. A path
// that is not faster beyond the noise at those sizes does not get ahead.
TRotationPath BestPath() noexcept {
  for (TRotationPath path : {TRotationPath::rpAvx512, TRotationPath::rpAvx2, TRotationPath::rpSse2}) {
    if (ProcessorRuns(path)) {
      return path;
    }
  }
  return TRotationPath::rpReference;
}

void ResolveAndRotate(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames,
                      TRotationCoefficients coefficients) noexcept;

// Starts at the resolver, which replaces itself with the chosen path. Two
// threads resolving at once store the same value.
std::atomic<TRotateRoutine> g_Rotate{&ResolveAndRotate};

void ResolveAndRotate(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames,
                      TRotationCoefficients coefficients) noexcept {
  const TRotateRoutine routine = RoutineFor(BestPath());
  g_Rotate.store(routine, std::memory_order_relaxed);
  routine(inLeft, inRight, outLeft, outRight, frames, coefficients);
}

}  // namespace

TRotationCoefficients ComputeRotationCoefficients(float degrees) noexcept {
  rotation::TX87Environment x87;
  x87.Enter();
  float angle = degrees;
  Pin(angle);
  TRotationCoefficients coefficients = ComputeCoefficientsExtended(angle);
  Pin(coefficients);
  x87.Leave();
  return coefficients;
}

void RotateStereo(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames,
                  TRotationCoefficients coefficients) noexcept {
  if (frames <= 0) {
    return;
  }
  g_Rotate.load(std::memory_order_relaxed)(inLeft, inRight, outLeft, outRight, frames, coefficients);
}

bool IsRotationPathAvailable(TRotationPath path) noexcept {
  return ProcessorRuns(path);
}

TRotationPath SelectedRotationPath() noexcept {
  return BestPath();
}

bool RotateStereoWithPath(TRotationPath path, const float* inLeft, const float* inRight, float* outLeft,
                          float* outRight, int32_t frames, TRotationCoefficients coefficients) noexcept {
  if (!ProcessorRuns(path)) {
    return false;
  }
  if (frames > 0) {
    RoutineFor(path)(inLeft, inRight, outLeft, outRight, frames, coefficients);
  }
  return true;
}

}  // namespace zelk
