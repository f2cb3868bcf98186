#include "tools/cpuinfo/ProcessorReport.h"

#include <iterator>

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__i386__) || defined(__x86_64__))
#define ZELK_CPUINFO_X86 1
#include <cpuid.h>
#else
#define ZELK_CPUINFO_X86 0
#endif

namespace zelk::cpuinfo {

namespace {

struct TRegisters {
  uint32_t Eax = 0, Ebx = 0, Ecx = 0, Edx = 0;
};

// One leaf and sub-leaf; all zero beyond the processor's highest leaf of
// that range, or where there is no CPUID.
TRegisters Query(uint32_t leaf, uint32_t subleaf = 0) {
  TRegisters registers;
#if ZELK_CPUINFO_X86
  const uint32_t highest = __get_cpuid_max(leaf & 0x80000000u, nullptr);
  if (highest == 0 || leaf > highest) return registers;
  __cpuid_count(leaf, subleaf, registers.Eax, registers.Ebx, registers.Ecx, registers.Edx);
#else
  (void)leaf;
  (void)subleaf;
#endif
  return registers;
}

uint32_t Bits(uint32_t value, int low, int count) { return (value >> low) & ((1u << count) - 1u); }

std::string Characters(std::initializer_list<uint32_t> words) {
  std::string text;
  for (uint32_t word : words) {
    for (int shift = 0; shift < 32; shift += 8) {
      const char character = static_cast<char>((word >> shift) & 0xFF);
      if (character != '\0') text += character;
    }
  }
  return text;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Intel's leaf 4 and AMD's leaf 0x8000001D describe one cache per sub-leaf
// in the same layout, until a sub-leaf of type 0.
std::vector<TCacheLevel> DeterministicCaches(uint32_t leaf) {
  std::vector<TCacheLevel> caches;
  constexpr uint32_t kMaxSubleaves = 16;
  for (uint32_t subleaf = 0; subleaf < kMaxSubleaves; ++subleaf) {
    const TRegisters registers = Query(leaf, subleaf);
    const uint32_t type = Bits(registers.Eax, 0, 5);
    if (type == 0 || type > 3) break;
    TCacheLevel cache;
    cache.Level = static_cast<int>(Bits(registers.Eax, 5, 3));
    cache.Kind = type == 1 ? TCacheKind::ckData : type == 2 ? TCacheKind::ckInstruction : TCacheKind::ckUnified;
    const uint64_t lineBytes = Bits(registers.Ebx, 0, 12) + 1;
    const uint64_t partitions = Bits(registers.Ebx, 12, 10) + 1;
    const uint64_t ways = Bits(registers.Ebx, 22, 10) + 1;
    const uint64_t sets = uint64_t{registers.Ecx} + 1;
    cache.Kilobytes = static_cast<uint32_t>(lineBytes * partitions * ways * sets / 1024);
    cache.Ways = Bits(registers.Eax, 9, 1) != 0 ? -1 : static_cast<int>(ways);
    cache.LineBytes = static_cast<int>(lineBytes);
    cache.SharedByThreads = static_cast<int>(Bits(registers.Eax, 14, 12) + 1);
    caches.push_back(cache);
  }
  return caches;
}

// The older AMD leaves: L1 in 0x80000005, L2 and L3 in 0x80000006.
std::vector<TCacheLevel> ExtendedLeafCaches() {
  std::vector<TCacheLevel> caches;
  const TRegisters level1 = Query(0x80000005u);
  const TRegisters levels23 = Query(0x80000006u);
  const auto level1Cache = [](uint32_t word, TCacheKind kind) {
    return TCacheLevel{1, kind, Bits(word, 24, 8), static_cast<int>(Bits(word, 16, 8)), static_cast<int>(Bits(word, 0, 8)), 0};
  };
  if (Bits(level1.Ecx, 24, 8) != 0) caches.push_back(level1Cache(level1.Ecx, TCacheKind::ckData));
  if (Bits(level1.Edx, 24, 8) != 0) caches.push_back(level1Cache(level1.Edx, TCacheKind::ckInstruction));
  // The associativity of these two is a code, not a count: left out.
  if (Bits(levels23.Ecx, 16, 16) != 0) {
    caches.push_back({2, TCacheKind::ckUnified, Bits(levels23.Ecx, 16, 16), 0, static_cast<int>(Bits(levels23.Ecx, 0, 8)), 0});
  }
  if (Bits(levels23.Edx, 18, 14) != 0) {
    caches.push_back({3, TCacheKind::ckUnified, Bits(levels23.Edx, 18, 14) * 512, 0, static_cast<int>(Bits(levels23.Edx, 0, 8)), 0});
  }
  return caches;
}

std::vector<TCacheLevel> ReadCaches(bool amdTopology) {
  std::vector<TCacheLevel> caches = DeterministicCaches(amdTopology ? 0x8000001Du : 4u);
  return caches.empty() ? ExtendedLeafCaches() : caches;
}

// One announced extension: the register of a leaf and its bit.
enum class TRegister { rEbx, rEcx, rEdx, rEax };
struct TFeatureBit {
  uint32_t Leaf;
  uint32_t Subleaf;
  TRegister Register;
  int Bit;
  const char* Name;
};

// In the order people list them: the classic set, the SSE and AVX families,
// AVX-512, then the rest.
constexpr TFeatureBit kFeatureBits[] = {
    {1, 0, TRegister::rEdx, 0, "FPU"},        {1, 0, TRegister::rEdx, 4, "TSC"},
    {1, 0, TRegister::rEdx, 8, "CX8"},        {1, 0, TRegister::rEdx, 11, "SEP"},
    {1, 0, TRegister::rEdx, 15, "CMOV"},      {1, 0, TRegister::rEdx, 23, "MMX"},
    {1, 0, TRegister::rEdx, 24, "FXSR"},      {0x80000001u, 0, TRegister::rEdx, 22, "MMXEXT"},
    {0x80000001u, 0, TRegister::rEdx, 31, "3DNow!"}, {0x80000001u, 0, TRegister::rEdx, 30, "3DNowExt"},
    {1, 0, TRegister::rEdx, 25, "SSE"},       {1, 0, TRegister::rEdx, 26, "SSE2"},
    {1, 0, TRegister::rEcx, 0, "SSE3"},       {1, 0, TRegister::rEcx, 9, "SSSE3"},
    {1, 0, TRegister::rEcx, 19, "SSE4.1"},    {1, 0, TRegister::rEcx, 20, "SSE4.2"},
    {0x80000001u, 0, TRegister::rEcx, 6, "SSE4a"}, {1, 0, TRegister::rEcx, 28, "AVX"},
    {1, 0, TRegister::rEcx, 29, "F16C"},      {1, 0, TRegister::rEcx, 12, "FMA"},
    {0x80000001u, 0, TRegister::rEcx, 16, "FMA4"}, {0x80000001u, 0, TRegister::rEcx, 11, "XOP"},
    {7, 0, TRegister::rEbx, 5, "AVX2"},       {7, 1, TRegister::rEax, 4, "AVX-VNNI"},
    {7, 0, TRegister::rEbx, 16, "AVX-512F"},  {7, 0, TRegister::rEbx, 17, "AVX-512DQ"},
    {7, 0, TRegister::rEbx, 28, "AVX-512CD"}, {7, 0, TRegister::rEbx, 30, "AVX-512BW"},
    {7, 0, TRegister::rEbx, 31, "AVX-512VL"}, {7, 0, TRegister::rEbx, 21, "AVX-512IFMA"},
    {7, 0, TRegister::rEcx, 1, "AVX-512VBMI"}, {7, 0, TRegister::rEcx, 6, "AVX-512VBMI2"},
    {7, 0, TRegister::rEcx, 11, "AVX-512VNNI"}, {7, 0, TRegister::rEcx, 12, "AVX-512BITALG"},
    {7, 0, TRegister::rEcx, 14, "AVX-512VPOPCNTDQ"}, {7, 1, TRegister::rEax, 5, "AVX-512BF16"},
    {1, 0, TRegister::rEcx, 1, "PCLMULQDQ"},  {7, 0, TRegister::rEcx, 10, "VPCLMULQDQ"},
    {1, 0, TRegister::rEcx, 25, "AES"},       {7, 0, TRegister::rEcx, 9, "VAES"},
    {7, 0, TRegister::rEbx, 29, "SHA"},       {7, 0, TRegister::rEcx, 8, "GFNI"},
    {1, 0, TRegister::rEcx, 23, "POPCNT"},    {0x80000001u, 0, TRegister::rEcx, 5, "LZCNT"},
    {7, 0, TRegister::rEbx, 3, "BMI1"},       {7, 0, TRegister::rEbx, 8, "BMI2"},
    {7, 0, TRegister::rEbx, 19, "ADX"},       {1, 0, TRegister::rEcx, 22, "MOVBE"},
    {1, 0, TRegister::rEcx, 13, "CX16"},      {1, 0, TRegister::rEcx, 3, "MONITOR"},
    {1, 0, TRegister::rEcx, 30, "RDRAND"},    {7, 0, TRegister::rEbx, 18, "RDSEED"},
    {0x80000001u, 0, TRegister::rEdx, 27, "RDTSCP"}, {1, 0, TRegister::rEcx, 26, "XSAVE"},
    {1, 0, TRegister::rEcx, 27, "OSXSAVE"},   {0x80000001u, 0, TRegister::rEdx, 20, "NX"},
    {0x80000001u, 0, TRegister::rEdx, 29, "x86-64"}, {1, 0, TRegister::rEcx, 31, "hypervisor"},
};

uint32_t RegisterOf(const TRegisters& registers, TRegister which) {
  switch (which) {
    case TRegister::rEax:
      return registers.Eax;
    case TRegister::rEbx:
      return registers.Ebx;
    case TRegister::rEcx:
      return registers.Ecx;
    case TRegister::rEdx:
      return registers.Edx;
  }
  return 0;
}

std::string AnnouncedInstructions() {
  std::string text;
  for (const TFeatureBit& feature : kFeatureBits) {
    if (Bits(RegisterOf(Query(feature.Leaf, feature.Subleaf), feature.Register), feature.Bit, 1) == 0) continue;
    if (!text.empty()) text += ' ';
    text += feature.Name;
  }
  return text;
}

}  // namespace

TProcessorReport ReadProcessor() {
  TProcessorReport report;
  const TRegisters leaf0 = Query(0);
  report.Identification = Characters({leaf0.Ebx, leaf0.Edx, leaf0.Ecx});
  if (report.Identification.empty()) return report;
  for (uint32_t leaf = 0x80000002u; leaf <= 0x80000004u; ++leaf) {
    const TRegisters part = Query(leaf);
    report.Name += Characters({part.Eax, part.Ebx, part.Ecx, part.Edx});
  }
  report.Name = Trimmed(report.Name);
  constexpr int kTopologyExtensionsBit = 22;  // leaf 0x80000001 ECX
  report.Caches = ReadCaches(Bits(Query(0x80000001u).Ecx, kTopologyExtensionsBit, 1) != 0);
  report.Instructions = AnnouncedInstructions();
  return report;
}

std::string VendorName(TCPUVendor vendor) {
  static const char* const kVendorNames[] = {"unknown", "AMD",  "Centaur (VIA)", "Cyrix", "Intel", "Transmeta",
                                             "NexGen",  "Rise", "UMC", "National Semiconductor", "SiS"};
  return vendor < std::size(kVendorNames) ? kVendorNames[vendor] : "unknown";
}

std::string VendorText(TCPUVendor vendor, const std::string& identification) {
  const std::string quoted = identification.empty() ? "no CPUID" : "\"" + identification + "\"";
  return VendorName(vendor) + " (" + quoted + ")";
}

std::string CacheLabel(const TCacheLevel& cache) {
  std::string label("L");
  label.append(std::to_string(cache.Level)).append(" cache");
  if (cache.Kind == TCacheKind::ckData) label += " (data)";
  if (cache.Kind == TCacheKind::ckInstruction) label += " (code)";
  return label;
}

std::string CacheText(const TCacheLevel& cache) {
  std::string text = cache.Kilobytes >= 1024 && cache.Kilobytes % 1024 == 0
                         ? std::to_string(cache.Kilobytes / 1024) + " MB"
                         : std::to_string(cache.Kilobytes) + " KB";
  if (cache.Ways == -1) text += ", fully associative";
  if (cache.Ways > 0) text += ", " + std::to_string(cache.Ways) + "-way";
  if (cache.LineBytes > 0) text += ", " + std::to_string(cache.LineBytes) + "-byte lines";
  if (cache.SharedByThreads > 1) text += ", shared by " + std::to_string(cache.SharedByThreads) + " threads";
  return text;
}

}  // namespace zelk::cpuinfo
