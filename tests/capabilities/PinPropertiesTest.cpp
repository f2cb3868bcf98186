#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/Capabilities.h"
#include "runtime/Text.h"

namespace zelk::tests {
namespace {

VstPinProperties PoisonedRecord() {
  VstPinProperties record;
  std::memset(&record, 0x5A, sizeof record);
  return record;
}

TEST(PinProperties, DefaultTextsNumberPinsFromOne) {
  const TPinDescription input = DefaultPinDescription(TPinDirection::pdInput, 0);
  EXPECT_EQ(input.Label, "Input #1");
  EXPECT_EQ(input.ShortLabel, "In1");
  EXPECT_EQ(input.Arrangement, satStereo);
  EXPECT_EQ(input.Flags, (TChannelPropertyFlags{cpfIsActive, cpfIsStereo}));
  const TPinDescription output = DefaultPinDescription(TPinDirection::pdOutput, 1);
  EXPECT_EQ(output.Label, "Output #2");
  EXPECT_EQ(output.ShortLabel, "Out2");
}

TEST(PinProperties, RecordGetsTextsAndFlagsButKeepsTheHostsArrangement) {
  VstPinProperties record = PoisonedRecord();
  WritePinProperties(DefaultPinDescription(TPinDirection::pdOutput, 1), record);
  EXPECT_STREQ(record.label, "Output #2");
  EXPECT_STREQ(record.shortLabel, "Out2");
  EXPECT_EQ(record.flags, 3);
  EXPECT_EQ(record.arrangementType, 0x5A5A5A5A);
  EXPECT_EQ(record.future[0], 0x5A);
}

TEST(PinProperties, AllThreeFlagsMapToTheirBits) {
  TPinDescription pin = DefaultPinDescription(TPinDirection::pdInput, 0);
  pin.Flags = {cpfUseSpeaker};
  VstPinProperties record = PoisonedRecord();
  WritePinProperties(pin, record);
  EXPECT_EQ(record.flags, 4);
}

// User texts are cut to what the record holds, terminator included, and
// never inside a character.
TEST(PinProperties, LongTextsAreCutWithoutSplittingCharacters) {
  TPinDescription pin;
  pin.Label = std::string(70, 'x');
  pin.ShortLabel = "Süd-Süd-West";  // ü takes two bytes
  LimitPinTexts(pin);
  EXPECT_EQ(pin.Label.size(), 63u);
  EXPECT_EQ(pin.ShortLabel, "Süd-Süd");
  VstPinProperties record = PoisonedRecord();
  WritePinProperties(pin, record);
  EXPECT_EQ(std::string(record.label), std::string(63, 'x'));
  // "Süd-Süd" is 9 bytes: 7 fit with the terminator, ending before the second ü.
  EXPECT_STREQ(record.shortLabel, "Süd-S");

  pin.Label = std::string(62, 'y') + "é";  // 64 bytes: é no longer fits whole
  WritePinProperties(pin, record);
  EXPECT_EQ(std::string(record.label), std::string(62, 'y'));
}

}  // namespace
}  // namespace zelk::tests
