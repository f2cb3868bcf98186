// zelk-cpuinfo: the processor as the plug-in sees it. Beside what the
// module's own detection (TCPU) reports, it prints what CPUID says in full:
// the vendor and name, the caches as the processor describes them, every
// instruction-set extension it announces, and which rotation kernel the
// plug-in chooses on this machine.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "effect/StereoRotation.h"
#include "framework/CPU.h"
#include "tools/common/CommandLine.h"
#include "tools/cpuinfo/ProcessorReport.h"

namespace {

using zelk::TCPU;

const char kUsage[] =
    "usage: zelk-cpuinfo\n"
    "\n"
    "Prints the processor: vendor, name, signature, family and model, its caches\n"
    "as it reports them, every instruction-set extension it announces, what the\n"
    "plug-in's own detection finds, and the rotation kernel the plug-in runs here.\n"
    "\n"
    "  --help, --version\n";

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

const char* PathName(zelk::TRotationPath path) {
  switch (path) {
    case zelk::TRotationPath::rpReference:
      return "reference (x87, extended precision)";
    case zelk::TRotationPath::rpSse2:
      return "SSE2";
    case zelk::TRotationPath::rpAvx2:
      return "AVX2 + FMA";
    case zelk::TRotationPath::rpAvx512:
      return "AVX-512F";
  }
  return "unknown";
}

void PrintRotationKernels() {
  std::string available;
  for (zelk::TRotationPath path : {zelk::TRotationPath::rpReference, zelk::TRotationPath::rpSse2,
                                   zelk::TRotationPath::rpAvx2, zelk::TRotationPath::rpAvx512}) {
    if (!zelk::IsRotationPathAvailable(path)) continue;
    if (!available.empty()) available += ", ";
    available += PathName(path);
  }
  std::printf("%-16s %s\n", "Rotation kernel", PathName(zelk::SelectedRotationPath()));
  std::printf("%-16s %s\n", "  runnable here", available.c_str());
}

void PrintCaches(const std::vector<zelk::cpuinfo::TCacheLevel>& caches) {
  if (caches.empty()) {
    std::printf("%-16s %s\n", "Caches", "(the processor describes none)");
    return;
  }
  for (const zelk::cpuinfo::TCacheLevel& cache : caches) {
    std::printf("%-16s %s\n", zelk::cpuinfo::CacheLabel(cache).c_str(), zelk::cpuinfo::CacheText(cache).c_str());
  }
}

void PrintModuleDetection(const TCPU& cpu) {
  std::printf("\nThe plug-in's detection (TCPU)\n");
  std::printf("%-16s %s\n", "  vendor", zelk::cpuinfo::VendorName(cpu.Vendor()).c_str());
  std::printf("%-16s %u KB code, %u KB data\n", "  L1 cache", static_cast<unsigned>(cpu.CodeL1CacheSize()),
              static_cast<unsigned>(cpu.DataL1CacheSize()));
  std::printf("%-16s %u KB\n", "  L2 cache", static_cast<unsigned>(cpu.L2CacheSize()));
  std::printf("%-16s %u KB%s\n", "  L3 cache", static_cast<unsigned>(cpu.L3CacheSize()),
              cpu.L3CacheSize() == 0 ? " (not found by its rules)" : "");
  std::printf("%-16s %s\n", "  instructions", MemberNames(cpu.Instructions()).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const zelk::tools::TCommandLine line(std::vector<std::string>(argv + 1, argv + argc), {});
    if (const auto status = zelk::tools::AnswerHelpOrVersion(line, "zelk-cpuinfo", kUsage)) return *status;
    if (!line.Operands().empty()) throw zelk::tools::TUsageError{"takes no arguments"};
  } catch (const zelk::tools::TUsageError& error) {
    return zelk::tools::ReportUsageError("zelk-cpuinfo", error);
  }
  const TCPU cpu;
  const zelk::cpuinfo::TProcessorReport report = zelk::cpuinfo::ReadProcessor();
  std::printf("%-16s %s\n", "Vendor", zelk::cpuinfo::VendorText(cpu.Vendor(), report.Identification).c_str());
  if (!report.Name.empty()) std::printf("%-16s %s\n", "Name", report.Name.c_str());
  std::printf("%-16s 0x%08X (family %u, model %u)\n", "Signature", static_cast<unsigned>(cpu.Signature()),
              static_cast<unsigned>(cpu.EffFamily()), static_cast<unsigned>(cpu.EffModel()));
  PrintCaches(report.Caches);
  std::printf("%-16s %s\n", "Instructions", report.Instructions.empty() ? "(none)" : report.Instructions.c_str());
  PrintRotationKernels();
  PrintModuleDetection(cpu);
  return 0;
}
