// TCPU publishes what detection found, read-only, through its class
// description, which is how module code and streams see it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CPU.h"
#include "runtime/ClassInfo.h"
#include "tests/cpu/FakeCPUIDSource.h"

namespace zelk::tests {
namespace {

int64_t Published(TCPU& cpu, const char* name) {
  const TPropInfo* property = TCPU::StaticClass().FindProperty(name);
  if (property == nullptr) throw std::runtime_error(std::string("not published: ") + name);
  return std::get<int64_t>(property->Get(cpu));
}

TEST(CPUProperties, NinePropertiesInOrderAllReadOnly) {
  std::vector<std::string> names;
  for (const TPropInfo* property : TCPU::StaticClass().Properties()) {
    names.push_back(property->Name);
    EXPECT_TRUE(property->ReadOnly()) << property->Name;
  }
  const std::vector<std::string> expected = {"Vendor",          "Signature",       "EffFamily",
                                             "EffModel",        "CodeL1CacheSize", "DataL1CacheSize",
                                             "L2CacheSize",     "L3CacheSize",     "Instructions"};
  EXPECT_EQ(names, expected);
}

TEST(CPUProperties, ValuesReadBackThroughTheClassDescription) {
  TFakeCPUIDSource source;
  source.Vendor("GenuineIntel", 2).Leaf1(0x00000F29, (1u << 0) | (1u << 25), 1u << 0);
  TCPUIDRegisters leaf2{0x0C0A0601, 0x22420000, 0, 0};  // code 8, data 8, data 16; L2 256, L3 512
  source.Leaf2(leaf2);
  TCPU cpu(source);

  EXPECT_EQ(Published(cpu, "Vendor"), cvIntel);
  EXPECT_EQ(Published(cpu, "Signature"), 0xF29);
  EXPECT_EQ(Published(cpu, "EffFamily"), 15);
  EXPECT_EQ(Published(cpu, "EffModel"), 2);
  EXPECT_EQ(Published(cpu, "CodeL1CacheSize"), 8);
  EXPECT_EQ(Published(cpu, "DataL1CacheSize"), 16);
  EXPECT_EQ(Published(cpu, "L2CacheSize"), 256);
  EXPECT_EQ(Published(cpu, "L3CacheSize"), 512);
  EXPECT_EQ(Published(cpu, "Instructions"), TCPUInstructions({isFPU, isSSE, isSSE3}).Mask());
}

TEST(CPUProperties, VendorAndInstructionsCarryTheirMemberNames) {
  const TClassInfo& info = TCPU::StaticClass();
  const TPropInfo* vendor = info.FindProperty("Vendor");
  const TPropInfo* instructions = info.FindProperty("Instructions");
  ASSERT_EQ(vendor->Kind, TTypeKind::tkEnumeration);
  ASSERT_EQ(instructions->Kind, TTypeKind::tkSet);
  EXPECT_EQ(vendor->EnumType->Count(), 11);
  EXPECT_EQ(vendor->EnumType->NameOf(cvSiS), "cvSiS");
  EXPECT_EQ(instructions->EnumType->Count(), 16);
  EXPECT_EQ(instructions->EnumType->NameOf(is3DNow), "is3DNow");
}

}  // namespace
}  // namespace zelk::tests
