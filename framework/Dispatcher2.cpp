// Opcodes 25 to 76, the requests VST 2 added. The VST 1 level runs first for
// every opcode (OnDispatcher fires there, once per call) and its answer, 0
// for every opcode above 24, is what opcodes without an answer of their own
// return.
#include <cmath>

#include "framework/FireEvent.h"
#include "framework/HostText.h"
#include "framework/VST2Module.h"

namespace zelk {

namespace {
constexpr intptr_t kNoCurrentMidiProgram = -1;
constexpr unsigned kLowByte = 0xFF;

// The low byte of opt rounded to the nearest integer (halves to even).
unsigned char KeyModifier(float opt) {
  const float rounded = std::nearbyint(opt);
  if (!std::isfinite(rounded) || std::fabs(rounded) > 1.0e9f) return 0;
  return static_cast<unsigned char>(static_cast<unsigned>(static_cast<int32_t>(rounded)) & kLowByte);
}
}  // namespace

intptr_t TCustomVST2Module::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  const intptr_t vst1Answer = TCustomVST1Module::Dispatch(opcode, index, value, ptr, opt);
  switch (opcode) {
    case effProcessEvents:
      // Hosts send this on the audio thread, just before process.
      return ProcessEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
      return CanBeAutomated(index) ? 1 : 0;
    case effString2Parameter:
      return String2Parameter(index, static_cast<const char*>(ptr)) ? 1 : 0;
    case effGetNumProgramCategories:
      return 1;
    case effGetProgramNameIndexed:
      return GetProgramNameIndexed(index, static_cast<char*>(ptr)) ? 1 : 0;
    case effGetInputProperties:
      return GetInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetOutputProperties:
      return GetOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effSetBlockSizeAndSampleRate:
      SetBlockSizeAndSampleRate(static_cast<int32_t>(value), opt);
      return 1;
    case effCanDo:
      return CanDo(static_cast<const char*>(ptr));
    case effGetCurrentMidiProgram:
      return kNoCurrentMidiProgram;
    case effSetTotalSampleToProcess:
      return value;
    case effBeginLoadBank:
      return BeginLoadBank(static_cast<const VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
      return BeginLoadProgram(static_cast<const VstPatchChunkInfo*>(ptr));
    case effGetPlugCategory:
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
    case effGetVendorVersion:
    case effGetTailSize:
    case effKeysRequired:
    case effGetVstVersion:
      return DispatchIdentity(opcode, ptr);
    case effConnectInput:
    case effConnectOutput:
    case effOfflineNotify:
    case effOfflinePrepare:
    case effOfflineRun:
    case effProcessVarIo:
    case effSetBypass:
    case effVendorSpecific:
    case effSetEditKnobMode:
    case effSetPanLaw:
      return DispatchHostNotification(opcode, index, value, ptr, opt);
    case effEditKeyDown:
    case effEditKeyUp:
      return DispatchEditorKey(opcode, index, value, opt);
    case effBeginSetProgram:
    case effEndSetProgram:
    case effStartProcess:
    case effStopProcess:
      return DispatchProgramSequence(opcode);
    default:
      // effCopyProgram, effGetCurrentPosition, effGetDestinationBuffer,
      // effSetSpeakerArrangement, effGetErrorText, effIdle, effGetIcon,
      // effSetViewPosition, effGetParameterProperties, the MIDI program
      // requests, effGetSpeakerArrangement (the host's pointers stay as
      // they are), effShellGetNextPlugin, and everything unknown.
      return vst1Answer;
  }
}

intptr_t TCustomVST2Module::DispatchIdentity(int32_t opcode, void* ptr) {
  switch (opcode) {
    case effGetPlugCategory:
      return PlugCategory;
    case effGetEffectName:
      WriteHostText(ptr, kVstMaxEffectNameLen, EffectName);
      return 1;
    case effGetVendorString:
      WriteHostText(ptr, kVstMaxVendorStrLen, VendorName);
      return 1;
    case effGetProductString:
      WriteHostText(ptr, kVstMaxProductStrLen, ProductName);
      return 1;
    case effGetVendorVersion:
      return VendorVersion;
    case effGetTailSize:
      return TailSize;
    case effKeysRequired:
      return 1;
    default:  // effGetVstVersion
      return kVstVersion;
  }
}

intptr_t TCustomVST2Module::DispatchHostNotification(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                                     float opt) {
  const auto count = static_cast<int32_t>(value);
  switch (opcode) {
    case effConnectInput:
      FireIfAssigned(OnInConnected, this, index, value != 0);
      return 1;
    case effConnectOutput:
      FireIfAssigned(OnOutConnected, this, index, value != 0);
      return 1;
    case effOfflineNotify:
      return FireIfAssigned(OnOfflineNotify, this, static_cast<VstAudioFile*>(ptr), count, index != 0);
    case effOfflinePrepare:
      return FireIfAssigned(OnOfflinePrepare, this, static_cast<VstOfflineTask*>(ptr), count);
    case effOfflineRun:
      return FireIfAssigned(OnOfflineRun, this, static_cast<VstOfflineTask*>(ptr), count);
    case effProcessVarIo:
      return FireIfAssigned(OnProcessVarIO, this, static_cast<VstVariableIo*>(ptr));
    case effSetBypass:
      return FireIfAssigned(OnSoftBypass, this, value != 0);
    case effVendorSpecific:
      if (index == kContentScaleIndex && value == kContentScaleValue) {
        SetHostEditorScale(opt);
        return 1;
      }
      return OnVendorSpecific ? OnVendorSpecific(this, index, value, ptr, opt) : 0;
    case effSetEditKnobMode:
      return FireIfAssigned(OnEditorKnobMode, this, count);
    default: {  // effSetPanLaw
      int32_t lawType = count;
      float gain = opt;
      return FireIfAssigned(OnSetPanLaw, this, lawType, gain);
    }
  }
}

intptr_t TCustomVST2Module::DispatchEditorKey(int32_t opcode, int32_t index, intptr_t value, float opt) {
  VstKeyCode key{};
  key.character = index;
  key.virt = static_cast<unsigned char>(static_cast<uintptr_t>(value) & kLowByte);
  key.modifier = KeyModifier(opt);
  return FireIfAssigned(opcode == effEditKeyDown ? OnEditorKeyDown : OnEditorKeyUp, this, key);
}

intptr_t TCustomVST2Module::DispatchProgramSequence(int32_t opcode) {
  switch (opcode) {
    case effBeginSetProgram:
      return FireIfAssigned(OnBeginSetProgram, this);
    case effEndSetProgram:
      return FireIfAssigned(OnEndSetProgram, this);
    case effStartProcess:
      return FireIfAssigned(OnStartProcess, this);
    default:  // effStopProcess
      return FireIfAssigned(OnStopProcess, this);
  }
}

// Stored without comparing: hosts send this once before processing starts
// and modules rely on hearing both values then.
void TCustomVST2Module::SetBlockSizeAndSampleRate(int32_t blockSize, float sampleRate) {
  blockSize_.store(blockSize, std::memory_order_relaxed);
  sampleRate_.store(sampleRate, std::memory_order_relaxed);
  if (blockSize > 0) Processing.ReserveScratch(ChannelCounts(), blockSize);
  FireIfAssigned(OnSampleRateChange, this, sampleRate);
  FireIfAssigned(OnBlockSizeChange, this, blockSize);
}

}  // namespace zelk
