// Processor feature detection: vendor, signature, effective family and
// model, the instruction-set extensions and the cache sizes, read through a
// TCPUIDSource.
//
// DetectCPUFeatures never throws: an exception raised by the source ends
// detection with what was found up to that point. A processor without CPUID
// leaves everything empty except isFPU, which then comes from the x87 probe.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/CPUIDSource.h"
#include "runtime/Set.h"
#include "runtime/TypeInfo.h"

namespace zelk {

enum TCPUVendor : uint8_t {
  cvUnknown,
  cvAMD,        // "AuthenticAMD"
  cvCentaur,    // "CentaurHauls"
  cvCyrix,      // "CyrixInstead"
  cvIntel,      // "GenuineIntel"
  cvTransmeta,  // "GenuineTMx86"
  cvNexGen,     // "NexGenDriven"
  cvRise,       // "RiseRiseRise"
  cvUMC,        // "UMC UMC UMC "
  cvNSC,        // "Geode by NSC"
  cvSiS,        // "SiS SiS SiS "
};
ZELK_ENUM_NAMES(TCPUVendor, "cvUnknown", "cvAMD", "cvCentaur", "cvCyrix", "cvIntel", "cvTransmeta", "cvNexGen",
                "cvRise", "cvUMC", "cvNSC", "cvSiS")

// Member k is bit k of TCPUInstructions.
enum TCPUInstruction : uint8_t {
  isFPU,
  isTSC,
  isCX8,
  isSEP,
  isCMOV,
  isMMX,
  isFXSR,
  isSSE,
  isSSE2,
  isSSE3,
  isMONITOR,
  isCX16,
  isX64,
  isExMMX,
  isEx3DNow,
  is3DNow,
};
ZELK_ENUM_NAMES(TCPUInstruction, "isFPU", "isTSC", "isCX8", "isSEP", "isCMOV", "isMMX", "isFXSR", "isSSE",
                "isSSE2", "isSSE3", "isMONITOR", "isCX16", "isX64", "isExMMX", "isEx3DNow", "is3DNow")
using TCPUInstructions = TSet<TCPUInstruction>;

// What detection found; everything zero or empty when nothing was found.
// Cache sizes are in kilobytes.
struct TCPUFeatures {
  TCPUVendor Vendor = cvUnknown;
  uint32_t Signature = 0;  // EAX of leaf 1
  uint8_t EffFamily = 0;
  uint8_t EffModel = 0;
  uint16_t CodeL1CacheSize = 0;
  uint16_t DataL1CacheSize = 0;
  uint16_t L2CacheSize = 0;
  uint16_t L3CacheSize = 0;
  TCPUInstructions Instructions;

  bool operator==(const TCPUFeatures&) const = default;
};

TCPUFeatures DetectCPUFeatures(TCPUIDSource& source) noexcept;

// The vendor of a 12-character vendor identification (the bytes of EBX, EDX
// and ECX of leaf 0); cvUnknown for one not in the table.
TCPUVendor VendorFromIdentification(std::string_view identification);

}  // namespace zelk
