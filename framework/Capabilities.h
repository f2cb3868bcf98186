// What the plug-in tells hosts about itself: the capability texts a host
// asks about (effCanDo), the plug-in category, and the properties of each
// input and output pin.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/VstInterface.h"
#include "runtime/Set.h"
#include "runtime/TypeInfo.h"

namespace zelk {

// Capabilities a module may claim; member k is bit k of the CanDos set. The
// members are scoped because several of them ("offline", "bypass") are
// ordinary words.
enum class TVstCanDo : uint8_t {
  sendVstEvents,
  sendVstMidiEvent,
  sendVstTimeInfo,
  receiveVstEvents,
  receiveVstMidiEvent,
  receiveVstTimeInfo,
  offline,
  plugAsChannelInsert,
  plugAsSend,
  mixDryWet,
  noRealTime,
  multipass,
  metapass,
  _1in1out,
  _1in2out,
  _2in1out,
  _2in2out,
  _2in4out,
  _4in2out,
  _4in4out,
  _4in8out,
  _8in4out,
  _8in8out,
  midiProgramNames,
  LiveWithoutToolbar,
  conformsToWindowRules,
  bypass,
};
ZELK_ENUM_NAMES(TVstCanDo, "sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo", "receiveVstEvents",
                "receiveVstMidiEvent", "receiveVstTimeInfo", "offline", "plugAsChannelInsert", "plugAsSend",
                "mixDryWet", "noRealTime", "multipass", "metapass", "_1in1out", "_1in2out", "_2in1out", "_2in2out",
                "_2in4out", "_4in2out", "_4in4out", "_4in8out", "_8in4out", "_8in8out", "midiProgramNames",
                "LiveWithoutToolbar", "conformsToWindowRules", "bypass")
using TVstCanDos = TSet<TVstCanDo>;

// The plug-in category, answered to the host as its ordinal.
enum TVstPluginCategory : uint8_t {
  cgUnknown,
  cgEffect,
  cgSynth,
  cgAnalysis,
  cgMastering,
  cgSpacializer,
  cgRoomFx,
  cgSurroundFx,
  cgRestoration,
  cgOfflineProcess,
  cgShell,
  cgGenerator,
};
ZELK_ENUM_NAMES(TVstPluginCategory, "cgUnknown", "cgEffect", "cgSynth", "cgAnalysis", "cgMastering",
                "cgSpacializer", "cgRoomFx", "cgSurroundFx", "cgRestoration", "cgOfflineProcess", "cgShell",
                "cgGenerator")

// The capability text a host asks with: the member's name without the
// leading '_' of the channel layouts ("2in2out").
std::string_view CanDoText(TVstCanDo member);
// The member whose text equals text exactly (letter case included).
std::optional<TVstCanDo> FindCanDo(std::string_view text);
// The answer to effCanDo: 1 for a claimed capability, −1 for a known but
// unclaimed one, 0 for a text that names none (and for a null text).
int32_t CanDoAnswer(TVstCanDos claimed, const char* text);

// Pins.
enum TChannelPropertyFlag : uint8_t { cpfIsActive, cpfIsStereo, cpfUseSpeaker };
ZELK_ENUM_NAMES(TChannelPropertyFlag, "cpfIsActive", "cpfIsStereo", "cpfUseSpeaker")
using TChannelPropertyFlags = TSet<TChannelPropertyFlag>;

enum TSpeakerArrangementType : uint8_t {
  satUserDefined,
  satEmpty,
  satMono,
  satStereo,
  satStereoSurround,
  satStereoCenter,
  satStereoSide,
  satStereoCLfe,
  sat30Cine,
  sat30Music,
  sat31Cine,
  sat31Music,
  sat40Cine,
  sat40Music,
  sat41Cine,
  sat41Music,
  sat50,
  sat51,
  sat60Cine,
  sat60Music,
  sat61Cine,
  sat61Music,
  sat70Cine,
  sat70Music,
  sat71Cine,
  sat71Music,
  sat80Cine,
  sat80Music,
  sat81Cine,
  sat81Music,
  sat102,
};
ZELK_ENUM_NAMES(TSpeakerArrangementType, "satUserDefined", "satEmpty", "satMono", "satStereo", "satStereoSurround",
                "satStereoCenter", "satStereoSide", "satStereoCLfe", "sat30Cine", "sat30Music", "sat31Cine",
                "sat31Music", "sat40Cine", "sat40Music", "sat41Cine", "sat41Music", "sat50", "sat51", "sat60Cine",
                "sat60Music", "sat61Cine", "sat61Music", "sat70Cine", "sat70Music", "sat71Cine", "sat71Music",
                "sat80Cine", "sat80Music", "sat81Cine", "sat81Music", "sat102")

enum class TPinDirection : uint8_t { pdInput, pdOutput };

// What a module says about one pin before user code may change it.
struct TPinDescription {
  std::string Label;       // at most 63 characters
  std::string ShortLabel;  // at most 7 characters
  TSpeakerArrangementType Arrangement = satStereo;
  TChannelPropertyFlags Flags;
};

// "Input #1"/"In1", "Output #2"/"Out2", … for the pin at index (from 0):
// stereo arrangement, active and stereo.
TPinDescription DefaultPinDescription(TPinDirection direction, int32_t index);
// Cuts the texts to 63 and 7 characters.
void LimitPinTexts(TPinDescription& description);
// Writes label, short label and flags into the host's record; the texts are
// cut to the record's 64 and 8 bytes with the terminator, never inside a
// character. The record's arrangement type is left as the host supplied it.
void WritePinProperties(const TPinDescription& description, VstPinProperties& record);

}  // namespace zelk
