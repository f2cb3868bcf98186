#include "framework/VST2Module.h"

#include <algorithm>

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

// No event may leave for the host once the module is going; a gesture the
// host saw begin still ends, so that its begin and end pairs match.
void TCustomVST2Module::ReleaseContents() {
  EndOpenGestures();
  MidiOutCount.store(0, std::memory_order_relaxed);
  TCustomVST1Module::ReleaseContents();
}

// --- edit gestures ---

void TCustomVST2Module::BeginGesture(int32_t index) {
  if (GestureOpen(index)) return;
  openGestures_.push_back(index);
  BeginEdit(index);
}

void TCustomVST2Module::EndGesture(int32_t index) {
  const auto open = std::find(openGestures_.begin(), openGestures_.end(), index);
  if (open == openGestures_.end()) return;
  openGestures_.erase(open);
  EndEdit(index);
}

void TCustomVST2Module::EndOpenGestures() {
  while (!openGestures_.empty()) EndGesture(openGestures_.front());
}

bool TCustomVST2Module::GestureOpen(int32_t index) const {
  return std::find(openGestures_.begin(), openGestures_.end(), index) != openGestures_.end();
}

// The form goes first, silently; then the host hears the end of whatever
// gesture it was in the middle of.
void TCustomVST2Module::EditClose() {
  TCustomVST1Module::EditClose();
  EndOpenGestures();
}

}  // namespace zelk
