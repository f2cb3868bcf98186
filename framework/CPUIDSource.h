// Where processor identification comes from: the CPUID instruction and the
// two checks that stand beside it (whether the operating system lets SSE
// instructions run, and whether a floating-point unit answers at all).
//
// Detection reads the processor only through TCPUIDSource, so that tests can
// play any processor. HostCPUIDSource() is the processor this code runs on;
// on processors that are not x86 it reports that CPUID is not available and
// that no x87 unit answers, so detection finds nothing and never fails.
#pragma once

#include <cstdint>

namespace zelk {

// The four registers one CPUID leaf returns.
struct TCPUIDRegisters {
  uint32_t Eax = 0;
  uint32_t Ebx = 0;
  uint32_t Ecx = 0;
  uint32_t Edx = 0;
};

class TCPUIDSource {
 public:
  virtual ~TCPUIDSource() = default;

  // True when the processor executes CPUID.
  virtual bool Available() = 0;
  // The registers of one leaf (sub-leaf 0). Called only when Available().
  // Repeated calls may answer differently (leaf 2 does).
  virtual TCPUIDRegisters Query(uint32_t leaf) = 0;
  // False (or an exception) when SSE instructions cannot run because the
  // operating system does not keep the SSE state. Called only when CPUID
  // reports SSE.
  virtual bool SSEUsable() = 0;
  // The x87 probe for processors without CPUID: after initialising the unit,
  // its status word reads 0 and its control word AND 0x103F reads 0x3F.
  virtual bool FPUTestPasses() = 0;
};

// The processor this code runs on. Stateless; shared by all callers.
TCPUIDSource& HostCPUIDSource();

}  // namespace zelk
