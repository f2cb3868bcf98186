#include <gtest/gtest.h>

#include <string>

#include "framework/Capabilities.h"

namespace zelk::tests {
namespace {

const TVstCanDos kProductCanDos{TVstCanDo::plugAsChannelInsert, TVstCanDo::plugAsSend, TVstCanDo::_2in2out};

TEST(CanDo, ClaimedCapabilitiesAnswerOneAndKnownOthersMinusOne) {
  EXPECT_EQ(CanDoAnswer(kProductCanDos, "plugAsChannelInsert"), 1);
  EXPECT_EQ(CanDoAnswer(kProductCanDos, "plugAsSend"), 1);
  EXPECT_EQ(CanDoAnswer(kProductCanDos, "2in2out"), 1);
  EXPECT_EQ(CanDoAnswer(kProductCanDos, "receiveVstEvents"), -1);
  EXPECT_EQ(CanDoAnswer(kProductCanDos, "bypass"), -1);
}

// Hosts ask with exact texts; anything else is unknown, not refused.
TEST(CanDo, OnlyExactTextsAreKnown) {
  for (const char* text : {"_2in2out", "PlugAsSend", "", "bypass ", "2in2out\n"}) {
    EXPECT_EQ(CanDoAnswer(kProductCanDos, text), 0) << text;
  }
  EXPECT_EQ(CanDoAnswer(kProductCanDos, nullptr), 0);
}

TEST(CanDo, EveryMemberHasItsTextAndBit) {
  const std::pair<TVstCanDo, const char*> table[] = {
      {TVstCanDo::sendVstEvents, "sendVstEvents"},
      {TVstCanDo::sendVstMidiEvent, "sendVstMidiEvent"},
      {TVstCanDo::sendVstTimeInfo, "sendVstTimeInfo"},
      {TVstCanDo::receiveVstEvents, "receiveVstEvents"},
      {TVstCanDo::receiveVstMidiEvent, "receiveVstMidiEvent"},
      {TVstCanDo::receiveVstTimeInfo, "receiveVstTimeInfo"},
      {TVstCanDo::offline, "offline"},
      {TVstCanDo::plugAsChannelInsert, "plugAsChannelInsert"},
      {TVstCanDo::plugAsSend, "plugAsSend"},
      {TVstCanDo::mixDryWet, "mixDryWet"},
      {TVstCanDo::noRealTime, "noRealTime"},
      {TVstCanDo::multipass, "multipass"},
      {TVstCanDo::metapass, "metapass"},
      {TVstCanDo::_1in1out, "1in1out"},
      {TVstCanDo::_1in2out, "1in2out"},
      {TVstCanDo::_2in1out, "2in1out"},
      {TVstCanDo::_2in2out, "2in2out"},
      {TVstCanDo::_2in4out, "2in4out"},
      {TVstCanDo::_4in2out, "4in2out"},
      {TVstCanDo::_4in4out, "4in4out"},
      {TVstCanDo::_4in8out, "4in8out"},
      {TVstCanDo::_8in4out, "8in4out"},
      {TVstCanDo::_8in8out, "8in8out"},
      {TVstCanDo::midiProgramNames, "midiProgramNames"},
      {TVstCanDo::LiveWithoutToolbar, "LiveWithoutToolbar"},
      {TVstCanDo::conformsToWindowRules, "conformsToWindowRules"},
      {TVstCanDo::bypass, "bypass"},
  };
  int bit = 0;
  for (const auto& [member, text] : table) {
    EXPECT_EQ(static_cast<int>(member), bit);
    EXPECT_EQ(CanDoText(member), text);
    EXPECT_EQ(CanDoAnswer(TVstCanDos{member}, text), 1);
    EXPECT_EQ(TVstCanDos{member}.Mask(), 1u << bit);
    ++bit;
  }
  EXPECT_EQ(EnumTypeOf(TVstCanDo{}).Count(), 27);
  // The streamed names keep the underscore of the channel layouts.
  EXPECT_EQ(EnumTypeOf(TVstCanDo{}).IndexOf("_2in2out"), 16);
}

TEST(PluginCategory, OrdinalsAreTheHostsNumbers) {
  EXPECT_EQ(static_cast<int>(cgEffect), 1);
  EXPECT_EQ(static_cast<int>(cgShell), 10);
  EXPECT_EQ(static_cast<int>(cgGenerator), 11);
  EXPECT_EQ(EnumTypeOf(cgUnknown).NameOf(cgSpacializer), "cgSpacializer");
  EXPECT_EQ(EnumTypeOf(satUserDefined).NameOf(sat102), "sat102");
  EXPECT_EQ(static_cast<int>(sat102), 30);
}

}  // namespace
}  // namespace zelk::tests
