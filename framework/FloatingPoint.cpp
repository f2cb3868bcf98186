#include "framework/FloatingPoint.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zelk {

#if (defined(__i386__) || defined(__x86_64__)) && defined(__GNUC__)

namespace {
constexpr uint16_t kX87ExceptionMasks = 0x003F;   // IM DM ZM OM UM PM
constexpr uint32_t kSseExceptionMasks = 0x1F80;  // IM DM ZM OM UM PM
constexpr uint16_t kX87ExceptionFlags = 0x003F;  // in the status word
constexpr size_t kStatusWordOffset = 4;           // in fnstenv's layout

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

// The x87 exception flags back as status holds them, when they differ.
void RestoreX87Flags(uint16_t status) {
  uint16_t now = 0;
  __asm__ volatile("fnstsw %0" : "=m"(now));
  if ((now & kX87ExceptionFlags) == (status & kX87ExceptionFlags)) return;
  if ((status & kX87ExceptionFlags) == 0) {
    __asm__ volatile("fnclex");
    return;
  }
  uint8_t environment[28];
  __asm__ volatile("fnstenv %0" : "=m"(environment));
  std::memcpy(environment + kStatusWordOffset, &status, sizeof status);
  __asm__ volatile("fldenv %0" : : "m"(environment));
}
}  // namespace

void MaskFloatingPointExceptions() {
  MaskX87Exceptions();
  if (HasSse()) MaskSseExceptions();
}

// The usual caller has every exception masked already: then the control
// words stay as they are, and only the flags that work inside raised are
// cleared again on the way out (cheap reads of the status words instead of
// storing and loading the whole x87 environment). Otherwise fnstenv masks
// every x87 exception after storing the environment, and fldenv brings
// control word and flags back, so that nothing raised inside is pending
// (and would trap) once the caller's unmasked control word is back.
TMaskedFloatingPoint::TMaskedFloatingPoint() noexcept {
  uint16_t control = 0;
  __asm__ volatile("fnstcw %0" : "=m"(control));
  const bool sse = HasSse();
  if (sse) __asm__ volatile("stmxcsr %0" : "=m"(mxcsr_));
  if ((control & kX87ExceptionMasks) == kX87ExceptionMasks &&
      (!sse || (mxcsr_ & kSseExceptionMasks) == kSseExceptionMasks)) {
    __asm__ volatile("fnstsw %0" : "=m"(x87Status_));
    return;
  }
  saved_ = true;
  __asm__ volatile("fnstenv %0" : "=m"(x87Environment_));
  if (sse) MaskSseExceptions();
}

TMaskedFloatingPoint::~TMaskedFloatingPoint() {
  const bool sse = HasSse();
  if (saved_) {
    __asm__ volatile("fldenv %0" : : "m"(x87Environment_));
    if (sse) __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr_));
    return;
  }
  RestoreX87Flags(x87Status_);
  if (!sse) return;
  uint32_t now = 0;
  __asm__ volatile("stmxcsr %0" : "=m"(now));
  if (now != mxcsr_) __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr_));
}

#else

void MaskFloatingPointExceptions() {}

TMaskedFloatingPoint::TMaskedFloatingPoint() noexcept = default;
TMaskedFloatingPoint::~TMaskedFloatingPoint() = default;

#endif

}  // namespace zelk
