// The types through which audio reaches user code: the process event and
// the processing modes that the framework can put between the host's
// process entries and that event.
#pragma once

#include <cstdint>

#include "runtime/Event.h"
#include "runtime/TypeInfo.h"

namespace zelk {

// inputs and outputs are arrays of numInputs and numOutputs channel pointers
// to 32-bit float samples; sampleFrames is the number of samples per
// channel. The same buffer may appear as an input and an output.
using TProcessAudioEvent = TEvent<void(float** Inputs, float** Outputs, int32_t SampleFrames)>;

enum TProcessingMode : uint8_t {
  pmNormal,     // the user events directly
  pmBlockSave,  // the user events in fixed-size blocks with overlap
  pmCopy,       // inputs copied to outputs
  pmMute,       // outputs silent
};
ZELK_ENUM_NAMES(TProcessingMode, "pmNormal", "pmBlockSave", "pmCopy", "pmMute")

// The channel counts of one process call (the record's numInputs and
// numOutputs).
struct TChannelCounts {
  int32_t Inputs = 0;
  int32_t Outputs = 0;
};

}  // namespace zelk
