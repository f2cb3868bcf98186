#pragma once
// The product's audio kernel: the stereo rotation.
//
// Contract
// - Exactness: every output equals, bit for bit, the reference that forms the
//   sum of the two products in the x87 80-bit format (products exact, the sum
//   rounded once to a 64-bit significand, round to nearest even) and then
//   rounds that sum to float32. This holds for denormal inputs and outputs,
//   signed zeros, infinities and overflow. NaN: every path gives the bits of
//   the reference routine itself (the fast paths hand each frame whose sum is
//   NaN to it). That routine loads each operand onto the x87 stack before
//   using it, so a signalling NaN input is quieted on loading, of two NaN
//   operands the one with the larger significand wins, and 0*inf or inf-inf
//   give the default NaN 0xFFC00000. (Another x87 form of the same expression
//   that multiplies by a float in memory may differ in NaN payload when a
//   signalling NaN meets another NaN; NaN-ness never differs.)
// - Floating-point state: results do not depend on what the host left in MXCSR
//   (flush-to-zero, denormals-are-zero, rounding mode, exception masks) or in
//   the x87 control word (precision control 24/53/64 bits, rounding mode,
//   exception masks). The routines set the state they need and, before they
//   return, put back MXCSR bit for bit (its exception flags included) and the
//   whole x87 environment (control word, status word with its exception flags,
//   tag word). They raise no floating-point trap, whatever the host unmasked.
// - No allocation, lock, exception, system call or I/O: callable on the audio
//   thread. The first call of RotateStereo chooses the implementation for the
//   processor (CPUID); that choice is a single relaxed atomic store.
// - Requires GCC or Clang on x86 (i686 or x86-64, Linux or MinGW): the
//   reference needs the x87 80-bit long double.

#include <cstdint>

namespace zelk {

// The two mixing coefficients of the module (`CosAngle`, `SinAngle`).
struct TRotationCoefficients {
  float CosAngle;
  float SinAngle;
};

// theta = ((-degrees) / 360 - 0.5) * pi, in extended precision; cosine and sine
// by the processor's trigonometric instructions (x87 fcos/fsin), which answer 0
// when |theta| >= 2^63 (infinite degrees included); each rounded to float32.
// A NaN angle gives NaN coefficients. Any thread; called on parameter changes.
TRotationCoefficients ComputeRotationCoefficients(float degrees) noexcept;

// For each frame i in [0, frames):
//   outRight[i] = CosAngle * inLeft[i] + SinAngle * inRight[i]
//   outLeft[i]  = SinAngle * inLeft[i] - CosAngle * inRight[i]
// frames <= 0 writes nothing. Each output buffer must either coincide exactly
// with an input buffer (in place: outLeft == inLeft and outRight == inRight, or
// crossed: outLeft == inRight and outRight == inLeft) or not overlap the inputs;
// the two outputs must not overlap each other. No alignment is required.
// Audio thread.
void RotateStereo(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames,
                  TRotationCoefficients coefficients) noexcept;

// The implementations behind RotateStereo, for tests and benchmarks. Each gives
// the same bits; they differ only in speed.
enum class TRotationPath : int32_t {
  rpReference,  // plain x87 extended-precision loop: the definition, and the fallback of the others
  rpSse2,       // 2 doubles per vector, 4 frames per step
  rpAvx2,       // AVX2 + FMA, 4 doubles per vector
  rpAvx512,     // AVX-512F, 8 doubles per vector, masked tails
};

// True when this build contains the path and the processor (and operating
// system) can run it.
bool IsRotationPathAvailable(TRotationPath path) noexcept;

// The path RotateStereo uses on this machine.
TRotationPath SelectedRotationPath() noexcept;

// Runs the given path; answers false and writes nothing when it is not available.
bool RotateStereoWithPath(TRotationPath path, const float* inLeft, const float* inRight, float* outLeft,
                          float* outRight, int32_t frames, TRotationCoefficients coefficients) noexcept;

}  // namespace zelk
