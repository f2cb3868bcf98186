// What CPUID says about the processor beyond what the module's detection
// keeps: its name, its caches as the processor describes them, and every
// instruction-set extension it announces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/CPUDetection.h"

namespace zelk::cpuinfo {

enum class TCacheKind { ckData, ckInstruction, ckUnified };

struct TCacheLevel {
  int Level = 0;
  TCacheKind Kind = TCacheKind::ckUnified;
  uint32_t Kilobytes = 0;
  int Ways = 0;           // 0: not reported; -1: fully associative
  int LineBytes = 0;
  int SharedByThreads = 0;  // 0: not reported
};

struct TProcessorReport {
  std::string Identification;  // the 12 characters of leaf 0
  std::string Name;            // the brand string, trimmed
  std::vector<TCacheLevel> Caches;
  std::string Instructions;    // every announced extension, by its usual name
};

// Reads the processor this code runs on; everything empty where CPUID is
// not available.
TProcessorReport ReadProcessor();

// "AMD", "Intel", as a person reads them.
std::string VendorName(TCPUVendor vendor);
// "AMD (\"AuthenticAMD\")"; the identification alone for a vendor the module
// does not know.
std::string VendorText(TCPUVendor vendor, const std::string& identification);

// "L1 data", "L2"; "32 KB, 8-way, 64-byte lines, shared by 2 threads".
std::string CacheLabel(const TCacheLevel& cache);
std::string CacheText(const TCacheLevel& cache);

}  // namespace zelk::cpuinfo
