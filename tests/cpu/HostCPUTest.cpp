// The processor this test runs on, as TCPU sees it, against what the
// operating system reports in /proc/cpuinfo.
#include <gtest/gtest.h>

#include <cfenv>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "framework/CPU.h"

namespace zelk::tests {
namespace {

#if defined(__i386__) || defined(__x86_64__)
constexpr bool kX86 = true;
#else
constexpr bool kX86 = false;
#endif

struct TReportedCPU {
  std::string VendorIdentification;
  std::set<std::string> Flags;
};

// The first processor's "vendor_id" and "flags" lines; false without them.
bool ReadProcCPUInfo(TReportedCPU& reported) {
  std::ifstream file("/proc/cpuinfo");
  std::string line;
  while (std::getline(file, line)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = line.substr(0, line.find_first_of(" \t"));
    const std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
    if (key == "vendor_id" && reported.VendorIdentification.empty()) reported.VendorIdentification = value;
    if (key == "flags" && reported.Flags.empty()) {
      std::istringstream words(value);
      for (std::string flag; words >> flag;) reported.Flags.insert(flag);
    }
  }
  return !reported.VendorIdentification.empty() && !reported.Flags.empty();
}

TEST(HostCPU, AgreesWithProcCPUInfo) {
  TReportedCPU reported;
  if (!ReadProcCPUInfo(reported)) GTEST_SKIP() << "no x86 /proc/cpuinfo here";
  TCPU cpu;
  EXPECT_EQ(cpu.Vendor(), VendorFromIdentification(reported.VendorIdentification));
  const std::pair<const char*, TCPUInstruction> members[] = {
      {"sse", isSSE}, {"sse2", isSSE2}, {"pni", isSSE3}, {"cmov", isCMOV}};
  for (const auto& [flag, member] : members) {
    EXPECT_EQ(cpu.Instructions().Contains(member), reported.Flags.count(flag) == 1) << flag;
  }
}

TEST(HostCPU, X86ProcessorsHaveCPUIDAndAnFPU) {
  if (!kX86) GTEST_SKIP() << "not an x86 processor";
  TCPUIDSource& host = HostCPUIDSource();
  EXPECT_TRUE(host.Available());
  EXPECT_TRUE(host.FPUTestPasses());
  EXPECT_TRUE(TCPU().Instructions().Contains(isFPU));
}

// The probe initialises the x87 unit; the caller's control word must survive.
TEST(HostCPU, TheFPUProbeKeepsTheRoundingMode) {
  if (!kX86) GTEST_SKIP() << "not an x86 processor";
  const int previous = std::fegetround();
  ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
  HostCPUIDSource().FPUTestPasses();
  const int after = std::fegetround();
  std::fesetround(previous);
  EXPECT_EQ(after, FE_UPWARD);
}

}  // namespace
}  // namespace zelk::tests
