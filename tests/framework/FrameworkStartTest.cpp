// The library start masks the floating-point exceptions, so that audio
// arithmetic on odd input (0/0, overflow, denormals) never traps inside a
// host that unmasked them, and registers the module classes for streams.
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/FloatingPoint.h"
#include "framework/FrameworkInit.h"
#include "framework/VSTModule.h"
#include "runtime/ClassRegistry.h"

namespace zelk::tests {
namespace {

#if (defined(__i386__) || defined(__x86_64__)) && defined(__GNUC__)
uint32_t ReadMxcsr() {
  uint32_t value = 0;
  __asm__ volatile("stmxcsr %0" : "=m"(value));
  return value;
}
void WriteMxcsr(uint32_t value) { __asm__ volatile("ldmxcsr %0" : : "m"(value)); }
uint16_t ReadX87Control() {
  uint16_t value = 0;
  __asm__ volatile("fnstcw %0" : "=m"(value));
  return value;
}
void WriteX87Control(uint16_t value) { __asm__ volatile("fldcw %0" : : "m"(value)); }

TEST(FrameworkStart, AllSixExceptionsEndUpMaskedAndRoundingIsKept) {
  const uint32_t savedMxcsr = ReadMxcsr();
  const uint16_t savedControl = ReadX87Control();
  WriteMxcsr((savedMxcsr & ~0x1F80u) | 0x6000u);          // all unmasked, round toward zero
  WriteX87Control(static_cast<uint16_t>((savedControl & ~0x3Fu) | 0x0C00u));
  MaskFloatingPointExceptions();
  const uint32_t mxcsr = ReadMxcsr();
  const uint16_t control = ReadX87Control();
  WriteMxcsr(savedMxcsr);
  WriteX87Control(savedControl);
  EXPECT_EQ(mxcsr & 0x1F80u, 0x1F80u);
  EXPECT_EQ(mxcsr & 0x6000u, 0x6000u);
  EXPECT_EQ(control & 0x3Fu, 0x3Fu);
  EXPECT_EQ(control & 0x0C00u, 0x0C00u);
}
uint16_t ReadX87Status() {
  uint16_t value = 0;
  __asm__ volatile("fnstsw %0" : "=m"(value));
  return value;
}

// Host entries run masked; the host's thread gets its control words and its
// flags back, whether it had the exceptions masked or not, and whatever the
// work inside raised (precision, division by zero, in SSE and x87 code).
TEST(FrameworkStart, AMaskedScopeGivesTheCallerItsEnvironmentBack) {
  const uint32_t savedMxcsr = ReadMxcsr();
  const uint16_t savedControl = ReadX87Control();
  const struct {
    const char* Name;
    uint32_t Mxcsr;
    uint16_t X87Control;
  } callers[] = {{"all masked", 0x1F80u, 0x037Fu}, {"all unmasked, toward zero", 0x6000u, 0x0F40u}};
  for (const auto& caller : callers) {
    SCOPED_TRACE(caller.Name);
    __asm__ volatile("fnclex");
    WriteMxcsr(caller.Mxcsr);
    WriteX87Control(caller.X87Control);
    {
      const TMaskedFloatingPoint masked;
      volatile float zero = 0.0f, one = 1.0f;
      volatile float sseQuotient = one / zero + one / 3.0f;
      volatile long double x87Quotient = static_cast<long double>(one) / zero + one / 3.0L;
      (void)sseQuotient;
      (void)x87Quotient;
    }
    const uint32_t mxcsr = ReadMxcsr();
    const uint16_t control = ReadX87Control();
    const uint16_t status = ReadX87Status();
    WriteMxcsr(savedMxcsr);
    WriteX87Control(savedControl);
    EXPECT_EQ(mxcsr, caller.Mxcsr);
    EXPECT_EQ(control, caller.X87Control);
    EXPECT_EQ(status & 0x3Fu, 0u);
  }
}
#endif

TEST(FrameworkStart, ModuleClassesAreRegisteredOnce) {
  InitializeFramework();
  InitializeFramework();
  EXPECT_EQ(GetClass("TVST2Module"), &TVST2Module::StaticClass());
  EXPECT_EQ(GetClass("tcustomvst2module"), &TCustomVST2Module::StaticClass());
}

}  // namespace
}  // namespace zelk::tests
