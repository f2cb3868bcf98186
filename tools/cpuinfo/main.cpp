// zelk-cpuinfo: prints the processor as TCPU detects it: vendor, signature,
// effective family and model, cache sizes and instruction-set members.
#include <cstdio>
#include <string>

#include "framework/CPU.h"

namespace {

using zelk::TCPU;

std::string Name(zelk::TCPUVendor vendor) { return std::string(EnumTypeOf(vendor).NameOf(vendor)); }

std::string MemberNames(zelk::TCPUInstructions instructions) {
  const zelk::TEnumTypeInfo& names = EnumTypeOf(zelk::TCPUInstruction{});
  std::string text;
  for (int ordinal = 0; ordinal < names.Count(); ++ordinal) {
    if (!instructions.Contains(static_cast<zelk::TCPUInstruction>(ordinal))) continue;
    if (!text.empty()) text += ' ';
    text += names.NameOf(ordinal);
  }
  return text.empty() ? "(none)" : text;
}

void PrintCache(const char* label, unsigned kilobytes) { std::printf("%-14s %u KB\n", label, kilobytes); }

}  // namespace

int main() {
  const TCPU cpu;
  std::printf("%-14s %s\n", "Vendor", Name(cpu.Vendor()).c_str());
  std::printf("%-14s 0x%08X\n", "Signature", static_cast<unsigned>(cpu.Signature()));
  std::printf("%-14s %u\n", "Family", static_cast<unsigned>(cpu.EffFamily()));
  std::printf("%-14s %u\n", "Model", static_cast<unsigned>(cpu.EffModel()));
  PrintCache("L1 code cache", cpu.CodeL1CacheSize());
  PrintCache("L1 data cache", cpu.DataL1CacheSize());
  PrintCache("L2 cache", cpu.L2CacheSize());
  PrintCache("L3 cache", cpu.L3CacheSize());
  std::printf("%-14s %s\n", "Instructions", MemberNames(cpu.Instructions()).c_str());
  return 0;
}
