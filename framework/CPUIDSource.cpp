#include "framework/CPUIDSource.h"

// The host source needs the compiler's x86 inline assembly and <cpuid.h>
// (GCC and Clang, MinGW included). Every other compiler or processor gets
// the source that finds nothing.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__i386__) || defined(__x86_64__))
#define ZELK_HOST_X86 1
#include <cpuid.h>
#else
#define ZELK_HOST_X86 0
#endif

namespace zelk {

namespace {

#if ZELK_HOST_X86

#if defined(__i386__)
constexpr uint32_t kIdentificationFlag = 1u << 21;  // EFLAGS.ID
constexpr uint32_t kOSXSAVEBit = 1u << 27;          // leaf 1 ECX
constexpr uint32_t kSSEStateBit = 1u << 1;          // XCR0

// A processor executes CPUID exactly when the identification flag can be
// toggled. The original flags are restored before returning.
bool IdentificationFlagToggles() {
  uint32_t before = 0;
  uint32_t after = 0;
  __asm__ volatile(
      "pushfl\n\t"
      "pushfl\n\t"
      "popl %0\n\t"
      "movl %0, %1\n\t"
      "xorl %2, %0\n\t"
      "pushl %0\n\t"
      "popfl\n\t"
      "pushfl\n\t"
      "popl %0\n\t"
      "popfl\n\t"
      : "=&r"(after), "=&r"(before)
      : "i"(kIdentificationFlag)
      : "cc");
  return ((after ^ before) & kIdentificationFlag) != 0;
}

uint32_t ExtendedControlRegister0() {
  uint32_t low = 0;
  uint32_t high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}

uint32_t Leaf1Ecx() {
  uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return 0;
  return ecx;
}

// SSE instructions fault unless the operating system has announced that it
// saves the SSE state (CR4.OSFXSR), which user code cannot read. Running one
// under a guard would need a process-wide signal handler or structured
// exception handling, neither of which a plug-in may safely install inside
// a host. What can be read:
//  - OSXSAVE set: the system manages extended state with XSAVE, and XCR0
//    bit 1 says whether the SSE state is part of it. That answer is final.
//  - OSXSAVE clear: says nothing about the SSE state; it only means the
//    system (or processor) does not use XSAVE. Every system this code can be
//    built for (Windows XP and later, any Linux of this century) keeps the
//    SSE state of a processor that has SSE, so SSE is taken as usable.
bool SSEStateKeptBySystem() {
  if ((Leaf1Ecx() & kOSXSAVEBit) == 0) return true;
  return (ExtendedControlRegister0() & kSSEStateBit) != 0;
}
#endif

// The x87 state (108 bytes in the FNSAVE layout) kept around the probe, so
// that the caller's control word and registers survive FNINIT.
struct TX87State {
  unsigned char Bytes[108] = {};
};

bool X87ProbePasses() {
  TX87State saved;
  uint16_t status = 0x5A5A;  // stays when no unit stores a status word
  uint16_t control = 0;
  __asm__ volatile(
      "fnsave %0\n\t"
      "fninit\n\t"
      "fnstsw %1\n\t"
      "fnstcw %2\n\t"
      "frstor %0"
      : "+m"(saved), "+m"(status), "+m"(control));
  return status == 0 && (control & 0x103F) == 0x3F;
}

class TX86CPUIDSource final : public TCPUIDSource {
 public:
  bool Available() override {
#if defined(__x86_64__)
    return true;  // every 64-bit x86 processor has CPUID
#else
    return IdentificationFlagToggles();
#endif
  }

  TCPUIDRegisters Query(uint32_t leaf) override {
    TCPUIDRegisters registers;
    __cpuid_count(leaf, 0, registers.Eax, registers.Ebx, registers.Ecx, registers.Edx);
    return registers;
  }

  bool SSEUsable() override {
#if defined(__x86_64__)
    return true;  // the 64-bit calling convention itself relies on SSE
#else
    return SSEStateKeptBySystem();
#endif
  }

  bool FPUTestPasses() override { return X87ProbePasses(); }
};

using THostSource = TX86CPUIDSource;

#else

// Not an x86 processor (or a compiler without x86 inline assembly): there
// is no CPUID to ask and no x87 unit to probe.
class TAbsentCPUIDSource final : public TCPUIDSource {
 public:
  bool Available() override { return false; }
  TCPUIDRegisters Query(uint32_t) override { return {}; }
  bool SSEUsable() override { return false; }
  bool FPUTestPasses() override { return false; }
};

using THostSource = TAbsentCPUIDSource;

#endif

}  // namespace

TCPUIDSource& HostCPUIDSource() {
  static THostSource source;
  return source;
}

}  // namespace zelk
