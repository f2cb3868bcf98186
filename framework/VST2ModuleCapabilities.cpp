// What the module answers about itself and its MIDI: capability texts, pin
// properties, incoming MIDI events, the outgoing MIDI list and the speaker
// arrangements module code can build.
#include "framework/SpeakerArrangement.h"
#include "framework/VST2Module.h"

namespace zelk {

namespace {

bool DescribePin(TObject* sender, TPinDirection direction, int32_t index, int32_t pinCount,
                 const TOnGetChannelPropertiesEvent& event, VstPinProperties* record) {
  if (record == nullptr || index < 0 || index >= pinCount) return false;
  TPinDescription pin = DefaultPinDescription(direction, index);
  if (event) {
    // The event's answer is not used: what it leaves in the four values is.
    event(sender, pin.Label, pin.ShortLabel, pin.Arrangement, pin.Flags);
    LimitPinTexts(pin);
  }
  WritePinProperties(pin, *record);
  return true;
}

}  // namespace

// User-interface thread (effCanDo). The event hears of every question; its
// answer does not change the module's.
int32_t TCustomVST2Module::CanDo(const char* text) {
  const int32_t answer = CanDoAnswer(CanDos, text);
  if (OnCanDo) OnCanDo(this, text != nullptr ? std::string_view(text) : std::string_view());
  return answer;
}

// User-interface thread (effGetInputProperties).
bool TCustomVST2Module::GetInputProperties(int32_t index, VstPinProperties* properties) {
  return DescribePin(this, TPinDirection::pdInput, index, NumInputs(), OnInputProperties, properties);
}

// User-interface thread (effGetOutputProperties).
bool TCustomVST2Module::GetOutputProperties(int32_t index, VstPinProperties* properties) {
  return DescribePin(this, TPinDirection::pdOutput, index, NumOutputs(), OnOutputProperties, properties);
}

// Audio thread as a rule (effProcessEvents comes just before a process call).
// Only MIDI events reach the handler; a null list or entry is skipped.
int32_t TCustomVST2Module::ProcessEvents(VstEvents* events) {
  if (events == nullptr || !OnProcessMidi) return 1;
  // The host's list is longer than the two entries the record declares; walk
  // it through a pointer, not the declared array.
  VstEvent* const* entries = events->events;
  for (int32_t index = 0; index < events->numEvents; ++index) {
    const VstEvent* event = entries[index];
    if (event != nullptr && event->type == kVstMidiType) {
      OnProcessMidi(this, *reinterpret_cast<const VstMidiEvent*>(event));
    }
  }
  return 1;
}

// Audio thread, after each process call: pending events go to the host once.
void TCustomVST2Module::FlushMidiOut() {
  const int32_t pending = MidiOutCount.exchange(0, std::memory_order_acq_rel);
  if (pending < 1) return;
  if (MidiOut.PrepareToSend(pending) > 0) SendVstEventsToHost(MidiOut.Events().AsVstEvents());
}

// ---- Speaker arrangements (module code, any thread it runs on) ----

bool TCustomVST2Module::AllocateArrangement(VstSpeakerArrangement*& arrangement, int32_t channels) {
  return zelk::AllocateArrangement(arrangement, channels);
}

bool TCustomVST2Module::DeallocateArrangement(VstSpeakerArrangement*& arrangement) {
  return FreeArrangement(arrangement);
}

bool TCustomVST2Module::CopySpeaker(VstSpeakerProperties* to, const VstSpeakerProperties* from) {
  return zelk::CopySpeaker(to, from);
}

bool TCustomVST2Module::MatchArrangement(VstSpeakerArrangement*& to, const VstSpeakerArrangement* from) {
  return CopyArrangement(to, from);
}

}  // namespace zelk
