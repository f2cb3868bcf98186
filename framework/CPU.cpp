#include "framework/CPU.h"

#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TCPU::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCPU>("TCPU")
                                     .ReadOnly("Vendor", &TCPU::Vendor)
                                     .ReadOnly("Signature", &TCPU::Signature)
                                     .ReadOnly("EffFamily", &TCPU::EffFamily)
                                     .ReadOnly("EffModel", &TCPU::EffModel)
                                     .ReadOnly("CodeL1CacheSize", &TCPU::CodeL1CacheSize)
                                     .ReadOnly("DataL1CacheSize", &TCPU::DataL1CacheSize)
                                     .ReadOnly("L2CacheSize", &TCPU::L2CacheSize)
                                     .ReadOnly("L3CacheSize", &TCPU::L3CacheSize)
                                     .ReadOnly("Instructions", &TCPU::Instructions)
                                     .Build();
  return info;
}

TCPU::TCPU() : TCPU(HostCPUIDSource()) {}

TCPU::TCPU(TCPUIDSource& source) : features_(DetectCPUFeatures(source)) {}

}  // namespace zelk
