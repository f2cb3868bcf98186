// Detection played through fake processors: each rule that reads a leaf,
// and what survives when the processor or the source misbehaves.
#include <gtest/gtest.h>

#include "framework/CPUDetection.h"
#include "tests/cpu/FakeCPUIDSource.h"

namespace zelk::tests {
namespace {

constexpr uint32_t kIntelP3 = 0x00000673;  // family 6, model 7: SEP works

uint32_t Bit(int bit) { return uint32_t{1} << bit; }

// Leaf-2 answer: the call-count byte, then up to three descriptor bytes.
TCPUIDRegisters Leaf2Eax(uint8_t calls, uint8_t first, uint8_t second = 0, uint8_t third = 0) {
  return {uint32_t{calls} | uint32_t{first} << 8 | uint32_t{second} << 16 | uint32_t{third} << 24, 0, 0, 0};
}

// The vendor identification is read from EBX, EDX, ECX, blanks included.
TEST(CPUVendor, EveryIdentificationNamesItsVendor) {
  const std::pair<const char*, TCPUVendor> vendors[] = {
      {"AuthenticAMD", cvAMD}, {"CentaurHauls", cvCentaur}, {"CyrixInstead", cvCyrix}, {"GenuineIntel", cvIntel},
      {"GenuineTMx86", cvTransmeta}, {"NexGenDriven", cvNexGen}, {"RiseRiseRise", cvRise}, {"UMC UMC UMC ", cvUMC},
      {"Geode by NSC", cvNSC}, {"SiS SiS SiS ", cvSiS}};
  for (const auto& [identification, vendor] : vendors) {
    TFakeCPUIDSource source;
    source.Vendor(identification, 0);
    EXPECT_EQ(DetectCPUFeatures(source).Vendor, vendor) << identification;
  }
}

TEST(CPUVendor, AnIdentificationNotInTheTableIsUnknown) {
  for (const char* identification : {"GenuineIotel", "HygonGenuine", "SiS SiS SiS"}) {
    TFakeCPUIDSource source;
    source.Vendor(identification, 0);
    EXPECT_EQ(DetectCPUFeatures(source).Vendor, cvUnknown) << identification;
  }
}

// Family and model take the extended fields only for family field 15.
TEST(CPUSignature, FamilyFifteenAddsTheExtendedFields) {
  TFakeCPUIDSource source;
  source.Vendor("AuthenticAMD").Leaf1(0x00120F30);  // ext family 1, ext model 2, family 15, model 3
  const TCPUFeatures found = DetectCPUFeatures(source);
  EXPECT_EQ(found.Signature, 0x00120F30u);
  EXPECT_EQ(found.EffFamily, 16);
  EXPECT_EQ(found.EffModel, 35);
}

TEST(CPUSignature, OtherFamiliesIgnoreTheExtendedFields) {
  TFakeCPUIDSource source;
  source.Vendor("GenuineIntel").Leaf1(0x00120673);
  const TCPUFeatures found = DetectCPUFeatures(source);
  EXPECT_EQ(found.EffFamily, 6);
  EXPECT_EQ(found.EffModel, 7);
}

TEST(CPUSignature, AFamilyBeyondAByteStaysAt255InsteadOfWrapping) {
  TFakeCPUIDSource source;
  source.Vendor("AuthenticAMD").Leaf1(0x0FF00F00);
  EXPECT_EQ(DetectCPUFeatures(source).EffFamily, 255);
}

// Each member comes from its own register bit, and from no other.
TEST(CPUInstructions, EachMemberComesFromItsBit) {
  struct TSource {
    uint32_t Leaf;
    bool InEcx;
    int Bit;
    TCPUInstruction Member;
  };
  const TSource sources[] = {
      {1, false, 0, isFPU},     {1, false, 4, isTSC},   {1, false, 8, isCX8},          {1, false, 11, isSEP},
      {1, false, 15, isCMOV},   {1, false, 23, isMMX},  {1, false, 24, isFXSR},        {1, false, 25, isSSE},
      {1, false, 26, isSSE2},   {1, true, 0, isSSE3},   {1, true, 3, isMONITOR},       {1, true, 13, isCX16},
      {0x80000001, false, 29, isX64}, {0x80000001, false, 22, isExMMX}, {0x80000001, false, 30, isEx3DNow},
      {0x80000001, false, 31, is3DNow}};
  for (const TSource& bitSource : sources) {
    TFakeCPUIDSource source;
    source.Vendor("GenuineIntel").Leaf1(kIntelP3).HighestExtendedLeaf(0x80000001);
    const uint32_t value = Bit(bitSource.Bit);
    if (bitSource.Leaf == 1) {
      source.Leaf1(kIntelP3, bitSource.InEcx ? 0 : value, bitSource.InEcx ? value : 0);
    } else {
      source.Leaf(bitSource.Leaf, {0, 0, 0, value});
    }
    EXPECT_EQ(DetectCPUFeatures(source).Instructions, TCPUInstructions({bitSource.Member}))
        << EnumTypeOf(bitSource.Member).NameOf(bitSource.Member);
  }
}

// Early Intel processors claim SEP without a working SYSENTER.
TEST(CPUInstructions, IntelGetsSEPFromSignature0x633On) {
  const std::pair<uint32_t, bool> cases[] = {
      {0x00000632, false}, {0x00000633, true}, {0x0000C632, false} /* bits 14-15 are masked */,
      {0x00010632, true} /* extended model counts */};
  for (const auto& [signature, hasSEP] : cases) {
    TFakeCPUIDSource source;
    source.Vendor("GenuineIntel").Leaf1(signature, Bit(11));
    EXPECT_EQ(DetectCPUFeatures(source).Instructions.Contains(isSEP), hasSEP) << std::hex << signature;
  }
}

TEST(CPUInstructions, OtherVendorsKeepSEPButNeverGetMONITOR) {
  TFakeCPUIDSource source;
  source.Vendor("AuthenticAMD").Leaf1(0x00000632, Bit(11), Bit(3));
  EXPECT_EQ(DetectCPUFeatures(source).Instructions, TCPUInstructions({isSEP}));
}

// The SSE members stay only when the system keeps the SSE state.
TEST(CPUInstructions, AnUnusableSSERemovesTheThreeSSEMembersOnly) {
  for (const bool checkThrows : {false, true}) {
    TFakeCPUIDSource source;
    source.Vendor("GenuineIntel").Leaf1(kIntelP3, Bit(23) | Bit(25) | Bit(26), Bit(0));
    source.SSEStateKept = false;
    source.SSECheckThrows = checkThrows;
    EXPECT_EQ(DetectCPUFeatures(source).Instructions, TCPUInstructions({isMMX})) << checkThrows;
  }
}

// Leaf-2 descriptors: 15 bytes per call in register order, later ones win.
TEST(CPUCacheDescriptors, LaterBytesAndLaterCallsOverwriteEarlierOnes) {
  TFakeCPUIDSource source;
  source.Vendor("GenuineIntel", 2).Leaf1(kIntelP3);
  TCPUIDRegisters first = Leaf2Eax(2, 0x41);  // L2 128
  first.Edx = 0x45000000;                     // L2 2048, last byte of the call
  source.Leaf2(first).Leaf2(Leaf2Eax(0, 0x42));
  EXPECT_EQ(DetectCPUFeatures(source).L2CacheSize, 256);
  EXPECT_EQ(source.CallsOf(2), 2);
}

TEST(CPUCacheDescriptors, TheCallCountByteIsNoDescriptor) {
  TFakeCPUIDSource source;
  source.Vendor("GenuineIntel", 2).Leaf1(kIntelP3);
  source.Leaf2(Leaf2Eax(6, 0));  // 6 would read as the 8 K code cache
  for (int call = 2; call <= 6; ++call) source.Leaf2(Leaf2Eax(0x06, call == 6 ? 0x0A : 0));
  const TCPUFeatures found = DetectCPUFeatures(source);
  EXPECT_EQ(source.CallsOf(2), 6);
  EXPECT_EQ(found.CodeL1CacheSize, 0);
  EXPECT_EQ(found.DataL1CacheSize, 8);
}

TEST(CPUCacheDescriptors, ARegisterWithBit31SetHoldsNoDescriptors) {
  TFakeCPUIDSource source;
  source.Vendor("GenuineIntel", 2).Leaf1(kIntelP3);
  TCPUIDRegisters leaf2 = Leaf2Eax(1, 0x06);
  leaf2.Ebx = 0x80000043;
  source.Leaf2(leaf2);
  const TCPUFeatures found = DetectCPUFeatures(source);
  EXPECT_EQ(found.CodeL1CacheSize, 8);
  EXPECT_EQ(found.L2CacheSize, 0);
}

TEST(CPUCacheDescriptors, Descriptor40ClearsLevel3OnlyAfterALevel2) {
  TFakeCPUIDSource withL2;
  withL2.Vendor("GenuineIntel", 2).Leaf1(kIntelP3).Leaf2(Leaf2Eax(1, 0x43, 0x22, 0x40));
  EXPECT_EQ(DetectCPUFeatures(withL2).L3CacheSize, 0);

  TFakeCPUIDSource withoutL2;
  withoutL2.Vendor("GenuineIntel", 2).Leaf1(kIntelP3).Leaf2(Leaf2Eax(1, 0x22, 0x40, 0x43));
  EXPECT_EQ(DetectCPUFeatures(withoutL2).L3CacheSize, 512);
}

// Descriptors 70 and 80 mean different things on Cyrix-type processors.
TEST(CPUCacheDescriptors, Descriptors70And80DependOnTheVendor) {
  struct TCase {
    const char* Identification;
    uint8_t Descriptor;
    uint16_t Code;
    uint16_t Data;
  };
  const TCase cases[] = {{"GenuineIntel", 0x70, 12, 0}, {"CyrixInstead", 0x70, 0, 0}, {"Geode by NSC", 0x70, 0, 0},
                         {"GenuineIntel", 0x80, 0, 0},  {"CyrixInstead", 0x80, 8, 8}, {"Geode by NSC", 0x80, 8, 8}};
  for (const TCase& testCase : cases) {
    TFakeCPUIDSource source;
    source.Vendor(testCase.Identification, 2).Leaf2(Leaf2Eax(1, testCase.Descriptor));
    const TCPUFeatures found = DetectCPUFeatures(source);
    EXPECT_EQ(found.CodeL1CacheSize, testCase.Code) << testCase.Identification << " " << int{testCase.Descriptor};
    EXPECT_EQ(found.DataL1CacheSize, testCase.Data) << testCase.Identification << " " << int{testCase.Descriptor};
  }
}

// Extended cache leaves: level 1 from 0x80000005 except on Intel and Cyrix,
// level 2 from 0x80000006 with two model corrections.
TEST(CPUExtendedCaches, LevelOneAndTwoComeFromTheExtendedLeaves) {
  TFakeCPUIDSource source;
  source.Vendor("AuthenticAMD").Leaf1(0x00000F48).HighestExtendedLeaf(0x80000006);
  source.Leaf(0x80000005, {0, 0, 0x40020140, 0x20020140});
  source.Leaf(0x80000006, {0, 0, 0x02006140, 0});
  const TCPUFeatures found = DetectCPUFeatures(source);
  EXPECT_EQ(found.CodeL1CacheSize, 32);
  EXPECT_EQ(found.DataL1CacheSize, 64);
  EXPECT_EQ(found.L2CacheSize, 512);
}

TEST(CPUExtendedCaches, IntelAndCyrixKeepLevelOneFromLeafTwo) {
  for (const char* identification : {"GenuineIntel", "CyrixInstead"}) {
    TFakeCPUIDSource source;
    source.Vendor(identification, 2).Leaf1(kIntelP3).Leaf2(Leaf2Eax(1, 0x06, 0x43)).HighestExtendedLeaf(0x80000006);
    source.Leaf(0x80000005, {0, 0, 0x40000000, 0x40000000});
    source.Leaf(0x80000006, {0, 0, 0x01000000, 0});
    const TCPUFeatures found = DetectCPUFeatures(source);
    EXPECT_EQ(found.CodeL1CacheSize, 8) << identification;
    EXPECT_EQ(found.L2CacheSize, 256) << identification;  // leaf 0x80000006 has the last word
    EXPECT_EQ(source.CallsOf(0x80000005), 0) << identification;
  }
}

TEST(CPUExtendedCaches, AMDSignature630HasA64KLevel2) {
  const std::pair<uint32_t, uint16_t> cases[] = {{0x00000630, 64}, {0x00100630, 64}, {0x00000631, 1}};
  for (const auto& [signature, level2] : cases) {
    TFakeCPUIDSource source;
    source.Vendor("AuthenticAMD").Leaf1(signature).HighestExtendedLeaf(0x80000006);
    source.Leaf(0x80000006, {0, 0, 0x00010000, 0});
    EXPECT_EQ(DetectCPUFeatures(source).L2CacheSize, level2) << std::hex << signature;
  }
}

TEST(CPUExtendedCaches, CentaurFamily6Models7And8ReportLevel2InTheTopByte) {
  const std::pair<uint32_t, uint16_t> cases[] = {{0x00000670, 0x40}, {0x00000680, 0x40}, {0x00000690, 0x4000}};
  for (const auto& [signature, level2] : cases) {
    TFakeCPUIDSource source;
    source.Vendor("CentaurHauls").Leaf1(signature).HighestExtendedLeaf(0x80000006);
    source.Leaf(0x80000006, {0, 0, 0x40000000, 0});
    EXPECT_EQ(DetectCPUFeatures(source).L2CacheSize, level2) << std::hex << signature;
  }
}

// Without CPUID only the x87 probe can add anything.
TEST(CPUWithoutCPUID, OnlyTheFPUProbeCounts) {
  for (const bool fpuAnswers : {false, true}) {
    TFakeCPUIDSource source;
    source.Vendor("GenuineIntel").Leaf1(kIntelP3, ~uint32_t{0});
    source.HasCPUID = false;
    source.FPUAnswers = fpuAnswers;
    TCPUFeatures expected;
    if (fpuAnswers) expected.Instructions.Include(isFPU);
    EXPECT_EQ(DetectCPUFeatures(source), expected);
    EXPECT_TRUE(source.Queried.empty());
  }
}

// A failing source ends detection quietly, keeping what was read before.
TEST(CPUDetectionFailure, WhatWasReadBeforeTheFailureStays) {
  TFakeCPUIDSource source;
  source.Vendor("GenuineIntel", 2).Leaf1(kIntelP3, Bit(25)).Leaf2(Leaf2Eax(2, 0x43)).Leaf2(Leaf2Eax(0, 0x44));
  source.ThrowingLeaf = 0x80000000;
  const TCPUFeatures found = DetectCPUFeatures(source);
  EXPECT_EQ(found.Vendor, cvIntel);
  EXPECT_EQ(found.Signature, kIntelP3);
  EXPECT_EQ(found.L2CacheSize, 1024);
  EXPECT_EQ(found.Instructions, TCPUInstructions({isSSE}));
}

}  // namespace
}  // namespace zelk::tests
