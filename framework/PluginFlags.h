// The effect flags as a published set: member k of TVst2PluginFlag stands
// for one bit of the record's flags word. The first six members are the bits
// 0 to 5 that VST 1 knew; the last four are bits 8 to 11. Bits 6 and 7 have
// no member and are never set.
#pragma once

#include <cstdint>

#include "runtime/Set.h"
#include "runtime/TypeInfo.h"

namespace zelk {

enum TVst2PluginFlag : uint8_t {
  pfHasEditor,           // 0x001
  pfFlagsHasClip,        // 0x002
  pfFlagsHasVu,          // 0x004
  pfFlagsCanMono,        // 0x008
  pfFlagsCanReplacing,   // 0x010
  pfFlagsProgramChunks,  // 0x020
  pfFlagsIsSynth,        // 0x100
  pfFlagsNoSoundInStop,  // 0x200
  pfFlagsExtIsAsync,     // 0x400
  pfFlagsExtHasBuffer,   // 0x800
};
ZELK_ENUM_NAMES(TVst2PluginFlag, "pfHasEditor", "pfFlagsHasClip", "pfFlagsHasVu", "pfFlagsCanMono",
                "pfFlagsCanReplacing", "pfFlagsProgramChunks", "pfFlagsIsSynth", "pfFlagsNoSoundInStop",
                "pfFlagsExtIsAsync", "pfFlagsExtHasBuffer")
using TVst2PluginFlags = TSet<TVst2PluginFlag>;

// The bits VST 1 knew: editor, clip, VU, mono, replacing, chunks.
inline constexpr int32_t kVst1FlagBits = 0x3F;

// The flags word for a set, and the set for a flags word (bits without a
// member are dropped).
int32_t PluginFlagsToBits(TVst2PluginFlags flags);
TVst2PluginFlags PluginFlagsFromBits(int32_t bits);

}  // namespace zelk
