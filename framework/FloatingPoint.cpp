#include "framework/FloatingPoint.h"

#include <cstdint>

namespace zelk {

#if (defined(__i386__) || defined(__x86_64__)) && defined(__GNUC__)

namespace {
constexpr uint16_t kX87ExceptionMasks = 0x003F;   // IM DM ZM OM UM PM
constexpr uint32_t kSseExceptionMasks = 0x1F80;  // IM DM ZM OM UM PM

void MaskX87Exceptions() {
  uint16_t control = 0;
  __asm__ volatile("fnstcw %0" : "=m"(control));
  control |= kX87ExceptionMasks;
  __asm__ volatile("fldcw %0" : : "m"(control));
}

bool HasSse() {
#if defined(__x86_64__)
  return true;
#else
  __builtin_cpu_init();  // may run from a static initializer, before libgcc's
  return __builtin_cpu_supports("sse");
#endif
}

void MaskSseExceptions() {
  uint32_t control = 0;
  __asm__ volatile("stmxcsr %0" : "=m"(control));
  control |= kSseExceptionMasks;
  __asm__ volatile("ldmxcsr %0" : : "m"(control));
}
}  // namespace

void MaskFloatingPointExceptions() {
  MaskX87Exceptions();
  if (HasSse()) MaskSseExceptions();
}

// fnstenv masks every x87 exception after storing the environment; fldenv
// brings control word and flags back, so nothing raised inside is pending
// (and would trap) once the caller's unmasked control word is back.
TMaskedFloatingPoint::TMaskedFloatingPoint() noexcept : saved_(true) {
  __asm__ volatile("fnstenv %0" : "=m"(x87Environment_));
  if (HasSse()) {
    __asm__ volatile("stmxcsr %0" : "=m"(mxcsr_));
    MaskSseExceptions();
  }
}

TMaskedFloatingPoint::~TMaskedFloatingPoint() {
  if (!saved_) return;
  __asm__ volatile("fldenv %0" : : "m"(x87Environment_));
  if (HasSse()) __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr_));
}

#else

void MaskFloatingPointExceptions() {}

TMaskedFloatingPoint::TMaskedFloatingPoint() noexcept = default;
TMaskedFloatingPoint::~TMaskedFloatingPoint() = default;

#endif

}  // namespace zelk
