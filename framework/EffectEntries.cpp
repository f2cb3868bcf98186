#include "framework/EffectEntries.h"

#include <mutex>

#include "framework/AudioRoutines.h"
#include "framework/FloatingPoint.h"
#include "framework/VST1Module.h"
#include "platform/UserInterfaceLock.h"
#include "runtime/Application.h"

namespace zelk {

namespace {

// Hosts pass null channel arrays, or null channels, when they are confused
// about the channel counts (after an audioMasterIOChanged they have not yet
// acted on); no routine below them checks again.
bool ChannelsPresent(float** channels, int32_t count) {
  if (count <= 0) return true;
  if (channels == nullptr) return false;
  for (int32_t channel = 0; channel < count; ++channel) {
    if (channels[channel] == nullptr) return false;
  }
  return true;
}

bool BuffersPresent(const AEffect& effect, float** inputs, float** outputs) {
  return ChannelsPresent(inputs, effect.numInputs) && ChannelsPresent(outputs, effect.numOutputs);
}

// The opcodes that reach the editor and with it the window system, which
// every editor of the process shares.
bool ReachesTheEditor(int32_t opcode) {
  switch (opcode) {
    case effEditGetRect:
    case effEditOpen:
    case effEditClose:
    case effEditIdle:
    case effEditKeyDown:
    case effEditKeyUp:
      return true;
    default:
      return false;
  }
}

// effClose: the module hears OnClose through Dispatch, then goes away with
// its record and an editor still open. Some hosts close without a prior
// effMainsChanged(0), or close from another thread than they opened on; the
// user-interface lock makes the editor's end safe from any thread. A host
// that uses the record after effClose is beyond help: the record is gone.
intptr_t CloseModule(TCustomVST1Module& module, int32_t index, intptr_t value, void* ptr, float opt) {
  std::lock_guard lock(platform::UserInterfaceLock());
  try {
    module.Dispatch(effClose, index, value, ptr, opt);
  } catch (...) {
    Application().HandleException();
  }
  try {
    TObject::Free(&module);
  } catch (...) {
    Application().HandleException();
  }
  return 1;
}

intptr_t DispatchCaught(TCustomVST1Module& module, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                        float opt) {
  try {
    return module.Dispatch(opcode, index, value, ptr, opt);
  } catch (...) {
    Application().HandleException();
    return 0;
  }
}

// Usually the host's user-interface thread. Hosts also dispatch from the
// audio thread (effProcessEvents, effStartProcess, effStopProcess,
// effSetBlockSize while running) and some send opcodes before effOpen or
// after effMainsChanged(0); every opcode is answered whatever came before.
// Editor opcodes may come from any thread, for several instances at once
// (a host with a user-interface thread per plug-in window): they hold the
// user-interface lock, which the audio path never takes.
intptr_t ZELK_VST_CALL DispatcherEntry(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                       float opt) {
  TCustomVST1Module* module = TCustomVST1Module::FromEffect(effect);
  if (module == nullptr) return 0;
  const TMaskedFloatingPoint masked;
  if (opcode == effClose) return CloseModule(*module, index, value, ptr, opt);
  if (ReachesTheEditor(opcode)) {
    std::lock_guard lock(platform::UserInterfaceLock());
    return DispatchCaught(*module, opcode, index, value, ptr, opt);
  }
  return DispatchCaught(*module, opcode, index, value, ptr, opt);
}

// The host's audio thread. Accumulating: the outputs already hold signal
// that the module adds to. Old hosts call this entry even when the record
// offers processReplacing. Hosts flush MIDI with calls of no frames (some
// pass a negative count): such a call, like one whose buffers the host got
// wrong, adds nothing but still refreshes the tempo and sends pending MIDI.
void ZELK_VST_CALL ProcessEntry(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames) {
  TCustomVST1Module* module = TCustomVST1Module::FromEffect(effect);
  if (module == nullptr) return;
  const int32_t frames = sampleFrames > 0 && BuffersPresent(*effect, inputs, outputs) ? sampleFrames : 0;
  try {
    module->ProcessAccumulating(inputs, outputs, frames);
  } catch (...) {
    // Nothing is added; reporting would mean I/O on the audio thread.
  }
}

// The host's audio thread. Replacing: whatever the outputs hold is
// overwritten. Hosts pass the same buffer as input and output (in place).
// Calls of no frames are served as by the accumulating entry; buffers the
// host got wrong are made silent where they exist.
void ZELK_VST_CALL ProcessReplacingEntry(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames) {
  TCustomVST1Module* module = TCustomVST1Module::FromEffect(effect);
  if (module == nullptr) return;
  int32_t frames = sampleFrames > 0 ? sampleFrames : 0;
  if (frames > 0 && !BuffersPresent(*effect, inputs, outputs)) {
    MuteChannels(outputs, effect->numOutputs, frames);
    frames = 0;
  }
  try {
    module->ProcessReplacing(inputs, outputs, frames);
  } catch (...) {
    MuteChannels(outputs, effect->numOutputs, frames);
  }
}

// Any thread: the host's automation playback on the audio thread, its
// generic editor on the user-interface thread. Hosts send indexes beyond
// numParams (stale automation of another version of the plug-in) and values
// outside 0..1, even huge ones, on threads that unmask floating-point
// exceptions: the conversions run masked.
void ZELK_VST_CALL SetParameterEntry(AEffect* effect, int32_t index, float parameter) {
  TCustomVST1Module* module = TCustomVST1Module::FromEffect(effect);
  if (module == nullptr || !module->IsParameterIndex(index)) return;
  const TMaskedFloatingPoint masked;
  try {
    module->SetParameterAutomated(index, module->NormalizedToParameter(index, parameter));
  } catch (...) {
  }
}

// Any thread, often at a high rate from the user-interface thread.
float ZELK_VST_CALL GetParameterEntry(AEffect* effect, int32_t index) {
  TCustomVST1Module* module = TCustomVST1Module::FromEffect(effect);
  if (module == nullptr || !module->IsParameterIndex(index)) return 0.0f;
  const TMaskedFloatingPoint masked;
  try {
    return module->ParameterToNormalized(index, module->GetParameter(index));
  } catch (...) {
    return 0.0f;
  }
}

}  // namespace

void AssignEffectEntries(AEffect& effect) {
  effect.dispatcher = &DispatcherEntry;
  effect.process = &ProcessEntry;
  effect.processReplacing = &ProcessReplacingEntry;
  effect.setParameter = &SetParameterEntry;
  effect.getParameter = &GetParameterEntry;
}

}  // namespace zelk
