#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/SpeakerArrangement.h"
#include "tests/support/TestModule.h"

namespace zelk::tests {
namespace {

class TCapabilityLog : public TObject {
 public:
  std::vector<std::string> Questions;
  std::vector<uint8_t> MidiStatus;
  std::string Label = "Side chain";

  int32_t CanDo(TObject*, std::string_view text) {
    Questions.emplace_back(text);
    return 1;  // ignored by the module
  }
  int32_t Pin(TObject*, std::string& label, std::string& shortLabel, TSpeakerArrangementType& arrangement,
              TChannelPropertyFlags& flags) {
    label = Label;
    shortLabel = "Sidechain";
    arrangement = satMono;
    flags = {cpfIsActive};
    return 0;
  }
  void Midi(TObject*, const VstMidiEvent& event) { MidiStatus.push_back(static_cast<uint8_t>(event.midiData[0])); }
};

intptr_t AskCanDo(TCustomVST1Module& module, const char* text) {
  return module.Dispatch(effCanDo, 0, 0, const_cast<char*>(text), 0.0f);
}

class ModuleCapabilities : public ::testing::Test {
 protected:
  void SetUp() override {
    module = MakeTestModule();
    module->CanDos = {TVstCanDo::plugAsChannelInsert, TVstCanDo::plugAsSend, TVstCanDo::_2in2out};
  }

  TTestModulePtr module;
  TCapabilityLog log;
};

TEST_F(ModuleCapabilities, CanDoAnswersFromTheClaimedSet) {
  EXPECT_EQ(AskCanDo(*module, "plugAsChannelInsert"), 1);
  EXPECT_EQ(AskCanDo(*module, "2in2out"), 1);
  EXPECT_EQ(AskCanDo(*module, "receiveVstEvents"), -1);
  EXPECT_EQ(AskCanDo(*module, "bypass"), -1);
  EXPECT_EQ(AskCanDo(*module, "PlugAsSend"), 0);
  EXPECT_EQ(AskCanDo(*module, ""), 0);
  EXPECT_EQ(AskCanDo(*module, nullptr), 0);
}

// User code hears every question but cannot change the answer.
TEST_F(ModuleCapabilities, TheCanDoEventHearsTheTextAndIsIgnored) {
  module->OnCanDo = TOnCanDoEvent::Bind<&TCapabilityLog::CanDo>(&log);
  EXPECT_EQ(AskCanDo(*module, "bypass"), -1);
  EXPECT_EQ(AskCanDo(*module, "somethingElse"), 0);
  EXPECT_EQ(log.Questions, (std::vector<std::string>{"bypass", "somethingElse"}));
}

TEST_F(ModuleCapabilities, PinPropertiesOfExistingPins) {
  VstPinProperties record;
  std::memset(&record, 0x5A, sizeof record);
  ASSERT_EQ(module->Dispatch(effGetInputProperties, 0, 0, &record, 0.0f), 1);
  EXPECT_STREQ(record.label, "Input #1");
  EXPECT_STREQ(record.shortLabel, "In1");
  EXPECT_EQ(record.flags, 3);
  EXPECT_EQ(record.arrangementType, 0x5A5A5A5A);
  ASSERT_EQ(module->Dispatch(effGetOutputProperties, 1, 0, &record, 0.0f), 1);
  EXPECT_STREQ(record.label, "Output #2");
  EXPECT_STREQ(record.shortLabel, "Out2");
  EXPECT_EQ(record.flags, 3);
}

TEST_F(ModuleCapabilities, MissingPinsAnswerFalseAndLeaveTheRecord) {
  VstPinProperties record;
  std::memset(&record, 0x5A, sizeof record);
  for (int32_t index : {2, -1, 1000}) {
    EXPECT_EQ(module->Dispatch(effGetInputProperties, index, 0, &record, 0.0f), 0);
    EXPECT_EQ(module->Dispatch(effGetOutputProperties, index, 0, &record, 0.0f), 0);
  }
  EXPECT_EQ(record.label[0], 0x5A);
  EXPECT_EQ(module->Dispatch(effGetInputProperties, 0, 0, nullptr, 0.0f), 0);
}

TEST_F(ModuleCapabilities, PinEventsMayChangeTextsAndFlags) {
  module->OnInputProperties = TOnGetChannelPropertiesEvent::Bind<&TCapabilityLog::Pin>(&log);
  VstPinProperties record{};
  ASSERT_EQ(module->Dispatch(effGetInputProperties, 1, 0, &record, 0.0f), 1);
  EXPECT_STREQ(record.label, "Side chain");
  EXPECT_STREQ(record.shortLabel, "Sidecha");
  EXPECT_EQ(record.flags, 1);
  EXPECT_EQ(record.arrangementType, 0);

  log.Label = std::string(80, 'L');
  ASSERT_EQ(module->Dispatch(effGetInputProperties, 1, 0, &record, 0.0f), 1);
  EXPECT_EQ(std::string(record.label), std::string(63, 'L'));
  // Output pins have their own event.
  ASSERT_EQ(module->Dispatch(effGetOutputProperties, 0, 0, &record, 0.0f), 1);
  EXPECT_STREQ(record.label, "Output #1");
}

// Only MIDI events reach module code; the list may hold other kinds.
TEST_F(ModuleCapabilities, IncomingMidiEventsReachTheHandler) {
  module->OnProcessMidi = TProcessMidiEvent::Bind<&TCapabilityLog::Midi>(&log);
  VstMidiEvent noteOn{};
  noteOn.type = kVstMidiType;
  noteOn.byteSize = kVstMidiEventByteSize;
  noteOn.midiData[0] = static_cast<char>(0x90);
  VstEvent other{};
  other.type = 6;
  VstMidiEvent noteOff = noteOn;
  noteOff.midiData[0] = static_cast<char>(0x80);
  VstEventList<4> list{};
  list.numEvents = 4;
  list.events[0] = reinterpret_cast<VstEvent*>(&noteOn);
  list.events[1] = &other;
  list.events[2] = nullptr;
  list.events[3] = reinterpret_cast<VstEvent*>(&noteOff);
  EXPECT_EQ(module->Dispatch(effProcessEvents, 0, 0, list.AsVstEvents(), 0.0f), 1);
  EXPECT_EQ(log.MidiStatus, (std::vector<uint8_t>{0x90, 0x80}));
  EXPECT_EQ(module->Dispatch(effProcessEvents, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(ModuleCapabilities, OutgoingMidiListIsReadyAtConstruction) {
  EXPECT_EQ(module->MidiOutCount.load(), 0);
  EXPECT_EQ(module->MidiOut.Events().numEvents, 0);
  EXPECT_EQ(module->MidiOut.Record(255).type, kVstMidiType);
  EXPECT_EQ(module->MidiOut.Record(255).byteSize, 24);
}

TEST_F(ModuleCapabilities, SpeakerArrangementOperationsForModuleCode) {
  VstSpeakerArrangement* source = nullptr;
  ASSERT_TRUE(module->AllocateArrangement(source, 2));
  source->type = 1;
  std::strcpy(SpeakerAt(source, 1)->name, "R");
  VstSpeakerArrangement* copy = nullptr;
  ASSERT_TRUE(module->MatchArrangement(copy, source));
  EXPECT_STREQ(SpeakerAt(copy, 1)->name, "R");
  EXPECT_TRUE(module->CopySpeaker(SpeakerAt(copy, 0), SpeakerAt(source, 1)));
  EXPECT_STREQ(SpeakerAt(copy, 0)->name, "R");
  EXPECT_TRUE(module->DeallocateArrangement(source));
  EXPECT_EQ(source, nullptr);
  EXPECT_TRUE(module->DeallocateArrangement(copy));
}

// Hosts provide 32 bytes for the effect name and 64 for vendor and product.
TEST_F(ModuleCapabilities, IdentityAnswersFitTheHostsBuffers) {
  module->EffectName = std::string(40, 'E');
  module->VendorName = "Kelmora";
  module->ProductName = std::string(70, 'P');
  module->VendorVersion = 7;
  module->TailSize = 512;
  module->PlugCategory = cgEffect;
  char buffer[80];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(module->Dispatch(effGetEffectName, 0, 0, buffer, 0.0f), 1);
  EXPECT_EQ(std::string(buffer), std::string(31, 'E'));
  EXPECT_EQ(buffer[32], '#');
  EXPECT_EQ(module->Dispatch(effGetVendorString, 0, 0, buffer, 0.0f), 1);
  EXPECT_STREQ(buffer, "Kelmora");
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(module->Dispatch(effGetProductString, 0, 0, buffer, 0.0f), 1);
  EXPECT_EQ(std::string(buffer), std::string(63, 'P'));
  EXPECT_EQ(buffer[64], '#');
  EXPECT_EQ(module->Dispatch(effGetVendorVersion, 0, 0, nullptr, 0.0f), 7);
  EXPECT_EQ(module->Dispatch(effGetTailSize, 0, 0, nullptr, 0.0f), 512);
  EXPECT_EQ(module->Dispatch(effGetPlugCategory, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(module->Dispatch(effGetVstVersion, 0, 0, nullptr, 0.0f), 2300);
  EXPECT_EQ(module->Dispatch(effKeysRequired, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
}  // namespace zelk::tests
