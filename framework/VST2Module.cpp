#include "framework/VST2Module.h"

#include "runtime/ClassBuilder.h"

namespace zelk {

// Published by TVST2Module; this level publishes nothing of its own.
const TClassInfo& TCustomVST2Module::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomVST2Module>("TCustomVST2Module").Build();
  return info;
}

// The MIDI list's records are ready when MidiOut is constructed: zero-filled,
// of MIDI type and byte size 24, and no event pending.
TCustomVST2Module::TCustomVST2Module(TComponent* owner) : TCustomVST1Module(owner) {}

TCustomVST2Module::~TCustomVST2Module() = default;

TVst2PluginFlags TCustomVST2Module::Flags() const { return PluginFlagsFromBits(Effect.flags); }

void TCustomVST2Module::SetFlags(TVst2PluginFlags flags) { Effect.flags = PluginFlagsToBits(flags); }

// No event may leave for the host once the module is going.
void TCustomVST2Module::ReleaseContents() {
  MidiOutCount.store(0, std::memory_order_relaxed);
  TCustomVST1Module::ReleaseContents();
}

}  // namespace zelk
