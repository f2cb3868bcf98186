// TCPU: the processor the module runs on, detected once at construction and
// published read-only (every module publishes its TCPU as `CPU`), so that
// module code can choose processing paths by processor features. Published
// in this order: Vendor, Signature, EffFamily, EffModel, CodeL1CacheSize,
// DataL1CacheSize, L2CacheSize, L3CacheSize (kilobytes) and Instructions.
#pragma once

#include <cstdint>

#include "framework/CPUDetection.h"
#include "runtime/Persistent.h"

namespace zelk {

class TCPU : public TPersistent {
  ZELK_CLASS(TCPU, TPersistent)

  // Detects the processor this code runs on. Never throws.
  TCPU();
  // Detects the processor that source describes. Never throws.
  explicit TCPU(TCPUIDSource& source);

  TCPUVendor Vendor() const { return features_.Vendor; }
  uint32_t Signature() const { return features_.Signature; }
  uint8_t EffFamily() const { return features_.EffFamily; }
  uint8_t EffModel() const { return features_.EffModel; }
  uint16_t CodeL1CacheSize() const { return features_.CodeL1CacheSize; }
  uint16_t DataL1CacheSize() const { return features_.DataL1CacheSize; }
  uint16_t L2CacheSize() const { return features_.L2CacheSize; }
  uint16_t L3CacheSize() const { return features_.L3CacheSize; }
  TCPUInstructions Instructions() const { return features_.Instructions; }

 private:
  TCPUFeatures features_;
};

}  // namespace zelk
