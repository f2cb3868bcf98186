// The flags word and the unique ID are what hosts key on: a wrong bit hides
// the editor or the replacing entry, a wrong byte order makes a different
// plug-in of the same product.
#include <gtest/gtest.h>

#include "framework/FourCharCode.h"
#include "framework/PluginFlags.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace zelk::tests {
namespace {

TEST(PluginFlags, EachMemberHasItsStandardBit) {
  const struct {
    TVst2PluginFlag Member;
    int32_t Bit;
  } table[] = {{pfHasEditor, 0x001},          {pfFlagsHasClip, 0x002},       {pfFlagsHasVu, 0x004},
               {pfFlagsCanMono, 0x008},       {pfFlagsCanReplacing, 0x010},  {pfFlagsProgramChunks, 0x020},
               {pfFlagsIsSynth, 0x100},       {pfFlagsNoSoundInStop, 0x200}, {pfFlagsExtIsAsync, 0x400},
               {pfFlagsExtHasBuffer, 0x800}};
  for (const auto& entry : table) {
    EXPECT_EQ(PluginFlagsToBits({entry.Member}), entry.Bit) << int(entry.Member);
    EXPECT_EQ(PluginFlagsFromBits(entry.Bit), TVst2PluginFlags{entry.Member}) << int(entry.Member);
  }
}

TEST(PluginFlags, EditorAndSynthMakeOneHundredAndOne) {
  TTestModulePtr module = MakeTestModule();
  module->SetFlags({pfHasEditor, pfFlagsIsSynth});
  EXPECT_EQ(module->Effect.flags, 0x101);
  EXPECT_EQ(module->Flags(), (TVst2PluginFlags{pfHasEditor, pfFlagsIsSynth}));
}

TEST(PluginFlags, WritingReplacesTheWholeWord) {
  TTestModulePtr module = MakeTestModule();
  module->SetFlags({pfHasEditor, pfFlagsCanReplacing, pfFlagsExtHasBuffer});
  module->SetFlags({pfFlagsCanMono});
  EXPECT_EQ(module->Effect.flags, 0x008);
}

// Bits 6 and 7 have no member: reading drops them, nothing ever sets them.
TEST(PluginFlags, UnassignedBitsAreNeitherReadNorWritten) {
  EXPECT_EQ(PluginFlagsFromBits(0xC0), TVst2PluginFlags{});
  EXPECT_EQ(PluginFlagsToBits(TVst2PluginFlags::FromMask(0xFFFFFFFFu)), 0xF3F);
}

TEST(PluginFlags, TheVst1StoreAndReadKeepOnlyTheLowSixBits) {
  TTestModulePtr module = MakeTestModule();
  module->SetFlags({pfHasEditor, pfFlagsIsSynth});
  EXPECT_EQ(module->Vst1Flags(), TVst2PluginFlags{pfHasEditor});
  module->SetVst1Flags({pfFlagsCanReplacing, pfFlagsIsSynth, pfFlagsExtIsAsync});
  EXPECT_EQ(module->Effect.flags, 0x010);
}

TEST(FourCharCode, FirstCharacterGoesToTheMostSignificantByte) {
  EXPECT_EQ(FourCharCode("VstP"), 0x56737450);
  EXPECT_EQ(FourCharCode("Zelk"), ('Z' << 24) + ('e' << 16) + ('l' << 8) + 'k');
  EXPECT_EQ(FourCharText(0x4E764566), "NvEf");
}

TEST(FourCharCode, UniqueIDReadsBackWhatWasWritten) {
  TTestModulePtr module = MakeTestModule();
  module->SetUniqueID("Zelk");
  EXPECT_EQ(module->Effect.uniqueID, 0x5A656C6B);
  EXPECT_EQ(module->GetUniqueID(), "Zelk");
}

// Shorter texts are padded with spaces; longer ones keep four characters.
TEST(FourCharCode, ShortTextsArePaddedAndLongOnesCut) {
  TTestModulePtr module = MakeTestModule();
  module->SetUniqueID("Ab");
  EXPECT_EQ(module->Effect.uniqueID, 0x41622020);
  EXPECT_EQ(module->GetUniqueID(), "Ab  ");
  module->SetUniqueID("");
  EXPECT_EQ(module->GetUniqueID(), "    ");
  module->SetUniqueID("Zelkova");
  EXPECT_EQ(module->GetUniqueID(), "Zelk");
}

TEST(FourCharCode, HighBytesDoNotSignExtend) {
  EXPECT_EQ(static_cast<uint32_t>(FourCharCode("\xFF\xFE\xFD\xFC")), 0xFFFEFDFCu);
  EXPECT_EQ(FourCharText(FourCharCode("\xFF\x01\x80z")), "\xFF\x01\x80z");
}

}  // namespace
}  // namespace zelk::tests
