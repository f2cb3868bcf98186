// Speaker arrangements for module code: lists of one speaker record per
// channel, allocated with exactly the room their channel count needs
// (8 + 112 × channels bytes). A list allocated here is released only here.
#pragma once

#include <cstdint>

#include "framework/VstInterface.h"

namespace zelk {

// Releases the list arrangement holds, then allocates a zero-filled one for
// channels speakers. False when the allocation fails or channels is
// negative (arrangement is null then).
bool AllocateArrangement(VstSpeakerArrangement*& arrangement, int32_t channels);
// Releases the list and clears the reference; always true.
bool FreeArrangement(VstSpeakerArrangement*& arrangement);
// Copies name (as zero-terminated text within its 64 bytes), type, the four
// position values and the reserved bytes. False when either side is null.
bool CopySpeaker(VstSpeakerProperties* target, const VstSpeakerProperties* source);
// Replaces target by a copy of source: type and every speaker. False when
// source is null or the allocation fails. Copying a list onto itself leaves
// it as it is.
bool CopyArrangement(VstSpeakerArrangement*& target, const VstSpeakerArrangement* source);

// Speaker index of a list (the declared array of the record holds only 8).
VstSpeakerProperties* SpeakerAt(VstSpeakerArrangement* arrangement, int32_t index);
const VstSpeakerProperties* SpeakerAt(const VstSpeakerArrangement* arrangement, int32_t index);

}  // namespace zelk
