#include "framework/CPUDetection.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

namespace zelk {

namespace {

constexpr uint32_t kExtendedLeaves = 0x80000000;

// Indexed by TCPUVendor; cvUnknown has no identification.
constexpr std::array<std::string_view, cvSiS + 1> kVendorIdentifications = {
    "",
    "AuthenticAMD",
    "CentaurHauls",
    "CyrixInstead",
    "GenuineIntel",
    "GenuineTMx86",
    "NexGenDriven",
    "RiseRiseRise",
    "UMC UMC UMC ",
    "Geode by NSC",
    "SiS SiS SiS ",
};

// Bits low..high of value, inclusive.
constexpr uint32_t Bits(uint32_t value, int low, int high) {
  const int width = high - low + 1;
  const uint32_t mask = width >= 32 ? ~uint32_t{0} : (uint32_t{1} << width) - 1;
  return (value >> low) & mask;
}

constexpr bool BitSet(uint32_t value, int bit) { return Bits(value, bit, bit) != 0; }

// The vendor identification: the bytes of EBX, EDX and ECX, each from low
// to high.
std::string IdentificationOf(const TCPUIDRegisters& leaf0) {
  std::string identification;
  for (uint32_t value : {leaf0.Ebx, leaf0.Edx, leaf0.Ecx}) {
    for (int shift = 0; shift < 32; shift += 8) identification += static_cast<char>(Bits(value, shift, shift + 7));
  }
  return identification;
}

struct TFeatureBit {
  int Bit;
  TCPUInstruction Member;
};

constexpr TFeatureBit kLeaf1Edx[] = {{0, isFPU},   {4, isTSC},   {8, isCX8},  {11, isSEP}, {15, isCMOV},
                                     {23, isMMX},  {24, isFXSR}, {25, isSSE}, {26, isSSE2}};
constexpr TFeatureBit kLeaf1Ecx[] = {{0, isSSE3}, {3, isMONITOR}, {13, isCX16}};
constexpr TFeatureBit kExtendedEdx[] = {{29, isX64}, {22, isExMMX}, {30, isEx3DNow}, {31, is3DNow}};

void AddMembers(uint32_t value, std::span<const TFeatureBit> table, TCPUInstructions& instructions) {
  for (const TFeatureBit& feature : table) {
    if (BitSet(value, feature.Bit)) instructions.Include(feature.Member);
  }
}

// Leaf-2 descriptors that simply name the size of one cache.
struct TCacheDescriptor {
  uint8_t Code;
  uint16_t TCPUFeatures::*Cache;
  uint16_t Size;
};

constexpr uint16_t TCPUFeatures::*kCode = &TCPUFeatures::CodeL1CacheSize;
constexpr uint16_t TCPUFeatures::*kData = &TCPUFeatures::DataL1CacheSize;
constexpr uint16_t TCPUFeatures::*kL2 = &TCPUFeatures::L2CacheSize;
constexpr uint16_t TCPUFeatures::*kL3 = &TCPUFeatures::L3CacheSize;

constexpr TCacheDescriptor kCacheDescriptors[] = {
    {0x06, kCode, 8},    {0x08, kCode, 16},   {0x30, kCode, 32},   {0x71, kCode, 16},   {0x72, kCode, 32},
    {0x0A, kData, 8},    {0x0C, kData, 16},   {0x2C, kData, 32},   {0x60, kData, 16},   {0x66, kData, 8},
    {0x67, kData, 16},   {0x68, kData, 32},   {0x39, kL2, 128},    {0x3B, kL2, 128},    {0x3C, kL2, 256},
    {0x41, kL2, 128},    {0x42, kL2, 256},    {0x43, kL2, 512},    {0x44, kL2, 1024},   {0x45, kL2, 2048},
    {0x78, kL2, 1024},   {0x79, kL2, 128},    {0x7A, kL2, 256},    {0x7B, kL2, 512},    {0x7C, kL2, 1024},
    {0x7D, kL2, 2048},   {0x7F, kL2, 512},    {0x82, kL2, 256},    {0x83, kL2, 512},    {0x84, kL2, 1024},
    {0x85, kL2, 2048},   {0x86, kL2, 512},    {0x87, kL2, 1024},   {0x22, kL3, 512},    {0x23, kL3, 1024},
    {0x25, kL3, 2048},   {0x29, kL3, 4096},
};

// Walks the leaves in order, recording into found as it goes, so that an
// exception from the source leaves everything read before it in place.
class TDetection {
 public:
  TDetection(TCPUIDSource& source, TCPUFeatures& found) : source_(source), found_(found) {}

  void Run() {
    if (!source_.Available()) {
      ProbeFPU();
      return;
    }
    const uint32_t highestLeaf = ReadVendor();
    if (highestLeaf >= 1) ReadSignatureAndFeatures();
    if (highestLeaf >= 2) ReadCacheDescriptors();
    const uint32_t highestExtendedLeaf = source_.Query(kExtendedLeaves).Eax;
    if (highestExtendedLeaf >= kExtendedLeaves + 1) ReadExtendedFeatures();
    if (found_.Instructions.Contains(isSSE)) DropSSEUnlessUsable();
    if (highestExtendedLeaf >= kExtendedLeaves + 6) ReadExtendedCaches();
  }

 private:
  void ProbeFPU() {
    if (source_.FPUTestPasses()) found_.Instructions.Include(isFPU);
  }

  // Returns the highest standard leaf.
  uint32_t ReadVendor() {
    const TCPUIDRegisters leaf0 = source_.Query(0);
    found_.Vendor = VendorFromIdentification(IdentificationOf(leaf0));
    return leaf0.Eax;
  }

  void ReadSignatureAndFeatures() {
    const TCPUIDRegisters leaf1 = source_.Query(1);
    found_.Signature = leaf1.Eax;
    ReadFamilyAndModel(leaf1.Eax);
    AddMembers(leaf1.Edx, kLeaf1Edx, found_.Instructions);
    AddMembers(leaf1.Ecx, kLeaf1Ecx, found_.Instructions);
    // Early processors of this vendor set the SEP bit although their fast
    // system call instructions do not work.
    if (IsVendor(cvIntel) && (found_.Signature & 0x0FFF3FFF) < 0x633) found_.Instructions.Exclude(isSEP);
    // The MONITOR bit is trusted on this vendor's processors only.
    if (!IsVendor(cvIntel)) found_.Instructions.Exclude(isMONITOR);
  }

  // Family 15 is extended by the extended-family field and its model by the
  // extended-model field. A family beyond a byte stays at 255 rather than
  // wrapping round to a small, plausible-looking value.
  void ReadFamilyAndModel(uint32_t signature) {
    uint32_t family = Bits(signature, 8, 11);
    uint32_t model = Bits(signature, 4, 7);
    if (family == 15) {
      family += Bits(signature, 20, 27);
      model += 16 * Bits(signature, 16, 19);
    }
    found_.EffFamily = static_cast<uint8_t>(std::min<uint32_t>(family, 255));
    found_.EffModel = static_cast<uint8_t>(model);
  }

  // The low byte of the first answer is how often leaf 2 must be asked.
  void ReadCacheDescriptors() {
    TCPUIDRegisters leaf2 = source_.Query(2);
    const uint32_t calls = Bits(leaf2.Eax, 0, 7);
    for (uint32_t call = 1; call <= calls; ++call) {
      ApplyDescriptorBytes(leaf2.Eax, 1);
      ApplyDescriptorBytes(leaf2.Ebx, 0);
      ApplyDescriptorBytes(leaf2.Ecx, 0);
      ApplyDescriptorBytes(leaf2.Edx, 0);
      if (call < calls) leaf2 = source_.Query(2);
    }
  }

  // A register with bit 31 set holds no descriptors (its bytes are reserved).
  void ApplyDescriptorBytes(uint32_t value, int firstByte) {
    if (BitSet(value, 31)) return;
    for (int byte = firstByte; byte < 4; ++byte) {
      ApplyDescriptor(static_cast<uint8_t>(Bits(value, 8 * byte, 8 * byte + 7)));
    }
  }

  void ApplyDescriptor(uint8_t descriptor) {
    const bool cyrixLike = IsVendor(cvCyrix) || IsVendor(cvNSC);
    switch (descriptor) {
      case 0x70:  // an instruction-TLB entry on these vendors, a 12 K trace cache elsewhere
        if (!cyrixLike) found_.CodeL1CacheSize = 12;
        return;
      case 0x80:  // a unified 16 K level-1 cache on these vendors
        if (cyrixLike) found_.CodeL1CacheSize = found_.DataL1CacheSize = 8;
        return;
      case 0x40:  // no level-3 cache when there is a level-2 cache
        if (found_.L2CacheSize != 0) found_.L3CacheSize = 0;
        return;
      default:
        break;
    }
    for (const TCacheDescriptor& entry : kCacheDescriptors) {
      if (entry.Code == descriptor) found_.*entry.Cache = entry.Size;
    }
  }

  void ReadExtendedFeatures() { AddMembers(source_.Query(kExtendedLeaves + 1).Edx, kExtendedEdx, found_.Instructions); }

  // A failing check counts as an SSE instruction that faulted.
  void DropSSEUnlessUsable() {
    bool usable = false;
    try {
      usable = source_.SSEUsable();
    } catch (...) {
      usable = false;
    }
    if (usable) return;
    found_.Instructions.Exclude(isSSE).Exclude(isSSE2).Exclude(isSSE3);
  }

  // The level-1 sizes come from leaf 2 on Cyrix and Intel processors, whose
  // leaf 0x80000005 does not describe the caches.
  void ReadExtendedCaches() {
    if (!IsVendor(cvCyrix) && !IsVendor(cvIntel)) {
      const TCPUIDRegisters leaf5 = source_.Query(kExtendedLeaves + 5);
      found_.CodeL1CacheSize = static_cast<uint16_t>(Bits(leaf5.Edx, 24, 31));
      found_.DataL1CacheSize = static_cast<uint16_t>(Bits(leaf5.Ecx, 24, 31));
    }
    found_.L2CacheSize = L2CacheSizeOf(source_.Query(kExtendedLeaves + 6).Ecx);
  }

  uint16_t L2CacheSizeOf(uint32_t leaf6Ecx) const {
    // This model reports 1 K although it has 64 K.
    if (IsVendor(cvAMD) && (found_.Signature & 0xFFF) == 0x630) return 64;
    // These models report the size in the top byte only.
    if (IsVendor(cvCentaur) && found_.EffFamily == 6 && (found_.EffModel == 7 || found_.EffModel == 8)) {
      return static_cast<uint16_t>(Bits(leaf6Ecx, 24, 31));
    }
    return static_cast<uint16_t>(Bits(leaf6Ecx, 16, 31));
  }

  bool IsVendor(TCPUVendor vendor) const { return found_.Vendor == vendor; }

  TCPUIDSource& source_;
  TCPUFeatures& found_;
};

}  // namespace

TCPUFeatures DetectCPUFeatures(TCPUIDSource& source) noexcept {
  TCPUFeatures found;
  try {
    TDetection(source, found).Run();
  } catch (...) {
    // Detection must never stop the caller; what was found so far stands.
  }
  return found;
}

TCPUVendor VendorFromIdentification(std::string_view identification) {
  for (int vendor = cvSiS; vendor > cvUnknown; --vendor) {
    if (kVendorIdentifications[vendor] == identification) return static_cast<TCPUVendor>(vendor);
  }
  return cvUnknown;
}

}  // namespace zelk
