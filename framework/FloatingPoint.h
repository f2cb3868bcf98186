// The floating-point environment audio code runs with: all six exceptions
// (invalid operation, denormal, division by zero, overflow, underflow,
// precision) masked, so that arithmetic on odd input never traps.
#pragma once

#include <cstdint>

namespace zelk {

// Masks the six exceptions on the calling thread (the x87 control word and,
// where the processor has SSE, MXCSR on x86; other processors do not trap
// by default and are left as they are). Rounding and precision stay as the
// platform set them.
void MaskFloatingPointExceptions();

// While it lives, the six exceptions are masked on the calling thread; the
// thread's own floating-point environment (control words and flags) comes
// back when it goes. Host entries run under it: some hosts call from threads
// that unmask exceptions, and a conversion of a huge host value must not
// trap there. Cheap enough for the audio thread; no allocation.
class TMaskedFloatingPoint {
 public:
  TMaskedFloatingPoint() noexcept;
  ~TMaskedFloatingPoint();
  TMaskedFloatingPoint(const TMaskedFloatingPoint&) = delete;
  TMaskedFloatingPoint& operator=(const TMaskedFloatingPoint&) = delete;

 private:
  uint8_t x87Environment_[28] = {};  // fnstenv's 32-bit protected-mode layout
  uint32_t mxcsr_ = 0;
  uint16_t x87Status_ = 0;  // kept when the caller had every exception masked
  bool saved_ = false;      // the whole environment kept: some were unmasked
};

}  // namespace zelk
