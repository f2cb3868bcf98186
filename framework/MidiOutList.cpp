#include "framework/MidiOutList.h"

#include <algorithm>

namespace zelk {

TMidiOutList::TMidiOutList() {
  for (int32_t index = 0; index < kRecordCount; ++index) {
    VstMidiEvent& record = records_[static_cast<size_t>(index)];
    record.type = kVstMidiType;
    record.byteSize = kVstMidiEventByteSize;
    events_.events[index] = reinterpret_cast<VstEvent*>(&record);
  }
}

int32_t TMidiOutList::PrepareToSend(int32_t pendingCount) {
  int32_t count = std::clamp(pendingCount, int32_t{0}, kCapacity);
  for (int32_t index = 0; index < count; ++index) {
    if (events_.events[index] == nullptr) count = index;
  }
  events_.numEvents = count;
  return count;
}

}  // namespace zelk
