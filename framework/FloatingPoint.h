// The floating-point environment audio code runs with: all six exceptions
// (invalid operation, denormal, division by zero, overflow, underflow,
// precision) masked, so that arithmetic on odd input never traps.
#pragma once

namespace zelk {

// Masks the six exceptions on the calling thread (the x87 control word and,
// where the processor has SSE, MXCSR on x86; other processors do not trap
// by default and are left as they are). Rounding and precision stay as the
// platform set them.
void MaskFloatingPointExceptions();

}  // namespace zelk
