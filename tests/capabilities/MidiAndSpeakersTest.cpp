#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "framework/MidiOutList.h"
#include "framework/SpeakerArrangement.h"

namespace zelk::tests {
namespace {

TEST(MidiOutList, OwnRecordsAreMidiEventsOfByteSize24) {
  auto list = std::make_unique<TMidiOutList>();
  for (int32_t index = 0; index < TMidiOutList::kRecordCount; ++index) {
    const VstMidiEvent& record = list->Record(index);
    ASSERT_EQ(record.type, 1);
    ASSERT_EQ(record.byteSize, 24);
    ASSERT_EQ(record.deltaFrames, 0);
    ASSERT_EQ(list->Events().events[index], reinterpret_cast<const VstEvent*>(&record));
  }
  EXPECT_EQ(list->Events().events[TMidiOutList::kRecordCount], nullptr);
  EXPECT_EQ(list->Events().numEvents, 0);
}

// The host must never be handed an entry that points nowhere.
TEST(MidiOutList, CountSentIsCutToTheEntriesThatExist) {
  auto list = std::make_unique<TMidiOutList>();
  EXPECT_EQ(list->PrepareToSend(3), 3);
  EXPECT_EQ(list->Events().numEvents, 3);
  EXPECT_EQ(list->PrepareToSend(5000), TMidiOutList::kRecordCount);
  VstMidiEvent extra{};
  list->Events().events[TMidiOutList::kRecordCount] = reinterpret_cast<VstEvent*>(&extra);
  EXPECT_EQ(list->PrepareToSend(300), TMidiOutList::kRecordCount + 1);
  EXPECT_EQ(list->PrepareToSend(-2), 0);
}

TEST(SpeakerArrangement, AllocationIsZeroFilledAndSizedForItsChannels) {
  VstSpeakerArrangement* arrangement = nullptr;
  ASSERT_TRUE(AllocateArrangement(arrangement, 12));
  EXPECT_EQ(arrangement->numChannels, 12);
  EXPECT_EQ(arrangement->type, 0);
  EXPECT_EQ(SpeakerAt(arrangement, 11)->type, 0);  // beyond the 8 speakers the record declares
  EXPECT_EQ(SpeakerAt(arrangement, 11)->name[63], 0);
  // Allocating again replaces the list; a negative count fails and leaves none.
  ASSERT_TRUE(AllocateArrangement(arrangement, 0));
  EXPECT_FALSE(AllocateArrangement(arrangement, -1));
  EXPECT_EQ(arrangement, nullptr);
  EXPECT_TRUE(FreeArrangement(arrangement));
}

TEST(SpeakerArrangement, SpeakerCopyIsBoundedByTheNameField) {
  VstSpeakerProperties source;
  std::memset(&source, 'n', sizeof source);  // a name without terminator
  source.azimuth = 0.5f;
  source.type = 7;
  VstSpeakerProperties target{};
  ASSERT_TRUE(CopySpeaker(&target, &source));
  EXPECT_EQ(std::strlen(target.name), 63u);
  EXPECT_EQ(target.azimuth, 0.5f);
  EXPECT_EQ(target.type, 7);
  EXPECT_EQ(std::memcmp(target.future, source.future, sizeof target.future), 0);
  EXPECT_FALSE(CopySpeaker(nullptr, &source));
  EXPECT_FALSE(CopySpeaker(&target, nullptr));
}

TEST(SpeakerArrangement, ArrangementCopyTakesTypeAndEverySpeaker) {
  VstSpeakerArrangement* source = nullptr;
  ASSERT_TRUE(AllocateArrangement(source, 10));
  source->type = 5;
  std::strcpy(SpeakerAt(source, 9)->name, "Rear");
  SpeakerAt(source, 9)->elevation = 0.25f;
  VstSpeakerArrangement* target = nullptr;
  ASSERT_TRUE(CopyArrangement(target, source));
  EXPECT_EQ(target->type, 5);
  EXPECT_EQ(target->numChannels, 10);
  EXPECT_STREQ(SpeakerAt(target, 9)->name, "Rear");
  EXPECT_EQ(SpeakerAt(target, 9)->elevation, 0.25f);
  // Copying a list onto itself must not free it first.
  VstSpeakerArrangement* same = source;
  EXPECT_TRUE(CopyArrangement(same, source));
  EXPECT_EQ(source->numChannels, 10);
  EXPECT_FALSE(CopyArrangement(target, nullptr));
  FreeArrangement(source);
  FreeArrangement(target);
}

}  // namespace
}  // namespace zelk::tests
