// The requests of the module to the host, one wrapper per host opcode. Each
// passes the module's own record and fills unused arguments with 0, null
// and 0.0. Without a host callback (tests, tools, a host that passed none)
// each answers what it answers for an absent host: 0, false or null unless
// stated otherwise.
//
// Threads: a wrapper runs on the thread of its caller. Hosts differ in what
// they accept from the audio thread; the framework itself calls only
// audioMasterAutomate (from whichever thread sets a parameter),
// audioMasterTempoAt and audioMasterProcessEvents (audio thread),
// audioMasterWantMidi and audioMasterIOChanged (dispatcher thread).
#include <cstdint>

#include "framework/FireEvent.h"
#include "framework/VST2Module.h"

namespace zelk {

namespace {
constexpr int32_t kAbsentHostVersion = 1;
constexpr int32_t kPinIsInput = 0;
constexpr int32_t kPinIsOutput = 1;
}  // namespace

// ---- VST 1 ----

void TCustomVST1Module::HostAutomate(int32_t index, float normalizedValue) {
  CallHost(audioMasterAutomate, index, 0, nullptr, normalizedValue);
}

// Hosts that predate VST 2 answer 0.
int32_t TCustomVST1Module::GetHostVersion() {
  const auto version = static_cast<int32_t>(CallHost(audioMasterVersion));
  return version == 0 ? kAbsentHostVersion : version;
}

int32_t TCustomVST1Module::GetCurrentUniqueId() { return static_cast<int32_t>(CallHost(audioMasterCurrentId)); }

void TCustomVST1Module::HostIdle() { CallHost(audioMasterIdle); }

// The host answers 0 for a connected pin.
bool TCustomVST1Module::IsInputConnected(int32_t input) {
  return CallHost(audioMasterPinConnected, input, kPinIsInput) == 0;
}

bool TCustomVST1Module::IsOutputConnected(int32_t output) {
  return CallHost(audioMasterPinConnected, output, kPinIsOutput) == 0;
}

// ---- VST 2 ----

void TCustomVST2Module::WantMidi(int32_t flag) { CallHost(audioMasterWantMidi, 0, flag); }

VstTimeInfo* TCustomVST2Module::GetTimeInfo(int32_t filter) {
  return reinterpret_cast<VstTimeInfo*>(CallHost(audioMasterGetTime, 0, filter));
}

bool TCustomVST2Module::SendVstEventsToHost(VstEvents* events) {
  return CallHost(audioMasterProcessEvents, 0, 0, events) == 1;
}

void TCustomVST2Module::SetTimeInfo(int32_t filter, VstTimeInfo* timeInfo) {
  CallHost(audioMasterSetTime, 0, filter, timeInfo);
}

int32_t TCustomVST2Module::TempoAt(int32_t samplePosition) {
  return static_cast<int32_t>(CallHost(audioMasterTempoAt, 0, samplePosition));
}

int32_t TCustomVST2Module::GetNumAutomatableParameters() {
  return static_cast<int32_t>(CallHost(audioMasterGetNumAutomatableParameters));
}

int32_t TCustomVST2Module::GetParameterQuantization() {
  return static_cast<int32_t>(CallHost(audioMasterGetParameterQuantization));
}

bool TCustomVST2Module::IOChanged() { return CallHost(audioMasterIOChanged) != 0; }

bool TCustomVST2Module::NeedIdle() { return CallHost(audioMasterNeedIdle) != 0; }

bool TCustomVST2Module::SizeWindow(int32_t width, int32_t height) {
  return CallHost(audioMasterSizeWindow, width, height) != 0;
}

// Hosts answer 0 (or garbage below it) when they do not know yet; only a
// positive answer replaces the setting.
float TCustomVST2Module::UpdateSampleRate() {
  const intptr_t answer = CallHost(audioMasterGetSampleRate);
  if (answer > 0) {
    sampleRate_.store(static_cast<float>(answer), std::memory_order_relaxed);
    FireIfAssigned(OnSampleRateChange, this, SampleRate());
  }
  return SampleRate();
}

int32_t TCustomVST2Module::UpdateBlockSize() {
  const intptr_t answer = CallHost(audioMasterGetBlockSize);
  if (answer > 0 && answer <= INT32_MAX) {
    blockSize_.store(static_cast<int32_t>(answer), std::memory_order_relaxed);
    FireIfAssigned(OnBlockSizeChange, this, BlockSize());
  }
  return BlockSize();
}

int32_t TCustomVST2Module::GetInputLatency() { return static_cast<int32_t>(CallHost(audioMasterGetInputLatency)); }

int32_t TCustomVST2Module::GetOutputLatency() { return static_cast<int32_t>(CallHost(audioMasterGetOutputLatency)); }

AEffect* TCustomVST2Module::GetPreviousPlug() {
  return reinterpret_cast<AEffect*>(CallHost(audioMasterGetPreviousPlug));
}

AEffect* TCustomVST2Module::GetNextPlug() { return reinterpret_cast<AEffect*>(CallHost(audioMasterGetNextPlug)); }

int32_t TCustomVST2Module::WillReplaceOrAccumulate() {
  return static_cast<int32_t>(CallHost(audioMasterWillReplaceOrAccumulate));
}

int32_t TCustomVST2Module::GetCurrentProcessLevel() {
  return static_cast<int32_t>(CallHost(audioMasterGetCurrentProcessLevel));
}

int32_t TCustomVST2Module::GetAutomationState() {
  return static_cast<int32_t>(CallHost(audioMasterGetAutomationState));
}

bool TCustomVST2Module::OfflineStart(VstAudioFile* audioFiles, int32_t numAudioFiles, int32_t numNewAudioFiles) {
  return CallHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, audioFiles) != 0;
}

bool TCustomVST2Module::OfflineRead(VstOfflineTask* offline, int32_t option, bool readSource) {
  return CallHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offline) != 0;
}

bool TCustomVST2Module::OfflineWrite(VstOfflineTask* offline, int32_t option) {
  return CallHost(audioMasterOfflineWrite, 0, option, offline) != 0;
}

bool TCustomVST2Module::OfflineGetCurrentPass() { return CallHost(audioMasterOfflineGetCurrentPass) != 0; }

bool TCustomVST2Module::OfflineGetCurrentMetaPass() { return CallHost(audioMasterOfflineGetCurrentMetaPass) != 0; }

void TCustomVST2Module::SetOutputSampleRate(float sampleRate) {
  CallHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, sampleRate);
}

VstSpeakerArrangement* TCustomVST2Module::GetOutputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(CallHost(audioMasterGetSpeakerArrangement));
}

VstSpeakerArrangement* TCustomVST2Module::GetInputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(CallHost(audioMasterGetInputSpeakerArrangement));
}

bool TCustomVST2Module::GetHostVendorString(char* text) {
  return CallHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool TCustomVST2Module::GetHostProductString(char* text) {
  return CallHost(audioMasterGetProductString, 0, 0, text) != 0;
}

int32_t TCustomVST2Module::GetHostVendorVersion() {
  return static_cast<int32_t>(CallHost(audioMasterGetVendorVersion));
}

intptr_t TCustomVST2Module::HostVendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) {
  return CallHost(audioMasterVendorSpecific, index, value, ptr, opt);
}

int32_t TCustomVST2Module::CanHostDo(const char* text) {
  return static_cast<int32_t>(CallHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)));
}

int32_t TCustomVST2Module::GetHostLanguage() { return static_cast<int32_t>(CallHost(audioMasterGetLanguage)); }

void* TCustomVST2Module::OpenWindow(VstWindow* window) {
  return reinterpret_cast<void*>(CallHost(audioMasterOpenWindow, 0, 0, window));
}

bool TCustomVST2Module::CloseWindow(VstWindow* window) { return CallHost(audioMasterCloseWindow, 0, 0, window) != 0; }

void* TCustomVST2Module::GetDirectory() { return reinterpret_cast<void*>(CallHost(audioMasterGetDirectory)); }

bool TCustomVST2Module::UpdateDisplay() { return CallHost(audioMasterUpdateDisplay) != 0; }

bool TCustomVST2Module::BeginEdit(int32_t index) { return CallHost(audioMasterBeginEdit, index) != 0; }

bool TCustomVST2Module::EndEdit(int32_t index) { return CallHost(audioMasterEndEdit, index) != 0; }

bool TCustomVST2Module::OpenFileSelector(VstFileSelect* fileSelect) {
  if (fileSelect == nullptr) return false;
  return CallHost(audioMasterOpenFileSelector, 0, 0, fileSelect) != 0;
}

}  // namespace zelk
