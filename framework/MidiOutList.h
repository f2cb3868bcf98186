// The list of MIDI events a module sends to the host after a process call.
// Module code fills the records and raises the pending count; the framework
// hands the list to the host and clears the count. The list has room for
// 2048 event pointers, the first 256 of which point to the module's own
// MIDI records (zero-filled at first, of MIDI type and byte size 24).
#pragma once

#include <array>
#include <cstdint>

#include "framework/VstInterface.h"

namespace zelk {

class TMidiOutList {
 public:
  static constexpr int32_t kCapacity = 2048;
  static constexpr int32_t kRecordCount = 256;

  TMidiOutList();
  TMidiOutList(const TMidiOutList&) = delete;
  TMidiOutList& operator=(const TMidiOutList&) = delete;

  VstEventList<kCapacity>& Events() { return events_; }
  // Record index of the module's own records (0..255).
  VstMidiEvent& Record(int32_t index) { return records_.at(static_cast<size_t>(index)); }

  // The events to send: the pending count, cut to the capacity and to the
  // leading event pointers that are set, so the host is never handed a null
  // or out-of-range entry. Writes that number into the list head.
  int32_t PrepareToSend(int32_t pendingCount);

 private:
  VstEventList<kCapacity> events_{};
  std::array<VstMidiEvent, kRecordCount> records_{};
};

}  // namespace zelk
