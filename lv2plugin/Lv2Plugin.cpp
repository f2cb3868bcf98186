#include "lv2plugin/Lv2Plugin.h"

#include <lv2/atom/atom.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "effect/LibraryStart.h"
#include "framework/VST1Module.h"
#include "lv2plugin/Lv2Features.h"
#include "lv2plugin/Lv2Ports.h"
#include "runtime/Application.h"

namespace zelk::lv2 {

namespace {

constexpr int32_t kHostVstVersion = 2400;
// effGetChunk and effSetChunk: index 1 asks for the current program's chunk.
constexpr int32_t kProgramChunk = 1;

// The module's view of its host: a VST 2.4 host that answers nothing else.
// Reports of automation are ignored: in LV2 the control port is the value.
intptr_t ZELK_VST_CALL PluginHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? kHostVstVersion : 0;
}

class TLv2Plugin {
 public:
  // Null when the module cannot be built.
  static TLv2Plugin* Create(double sampleRate, const LV2_Feature* const* features) noexcept;
  ~TLv2Plugin();
  TLv2Plugin(const TLv2Plugin&) = delete;
  TLv2Plugin& operator=(const TLv2Plugin&) = delete;

  void Connect(uint32_t port, void* data) noexcept;
  void SetActive(bool active) noexcept;
  void Run(uint32_t frames) noexcept;
  LV2_State_Status Save(LV2_State_Store_Function store, LV2_State_Handle handle) noexcept;
  LV2_State_Status Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) noexcept;

 private:
  TLv2Plugin(AEffect& effect, const LV2_Feature* const* features);
  void ApplyChangedControls() noexcept;
  void Process(uint32_t frames) noexcept;

  AEffect& effect_;
  TCustomVST1Module& module_;
  const TPortLayout layout_;
  std::vector<float*> inputs_;
  std::vector<float*> outputs_;
  std::vector<const float*> controls_;
  // The channels from a frame on, for counts beyond what VST 2 passes at once.
  std::vector<float*> sliceInputs_;
  std::vector<float*> sliceOutputs_;
  // The control values last handed to the module, as bit patterns; a value
  // never set yet is marked by its flag.
  std::vector<uint32_t> appliedBits_;
  std::vector<bool> applied_;
  LV2_URID chunkKey_ = 0;
  LV2_URID chunkType_ = 0;
};

// Missing channels stay missing.
void Offset(const std::vector<float*>& channels, uint32_t frame, std::vector<float*>& offset) {
  for (size_t channel = 0; channel < channels.size(); ++channel) {
    offset[channel] = channels[channel] != nullptr ? channels[channel] + frame : nullptr;
  }
}

TLv2Plugin* TLv2Plugin::Create(double sampleRate, const LV2_Feature* const* features) noexcept {
  AEffect* effect = CreateEffect(&PluginHost);
  if (effect == nullptr) return nullptr;
  try {
    auto* plugin = new TLv2Plugin(*effect, features);
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    return plugin;
  } catch (...) {
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    return nullptr;
  }
}

TLv2Plugin::TLv2Plugin(AEffect& effect, const LV2_Feature* const* features)
    : effect_(effect),
      module_(*TCustomVST1Module::FromEffect(&effect)),
      layout_{static_cast<uint32_t>(effect.numInputs), static_cast<uint32_t>(effect.numOutputs),
              static_cast<uint32_t>(effect.numParams)},
      inputs_(layout_.Inputs, nullptr),
      outputs_(layout_.Outputs, nullptr),
      controls_(layout_.Parameters, nullptr),
      sliceInputs_(layout_.Inputs, nullptr),
      sliceOutputs_(layout_.Outputs, nullptr),
      appliedBits_(layout_.Parameters, 0),
      applied_(layout_.Parameters, false) {
  if (const auto* map = static_cast<const LV2_URID_Map*>(FindFeature(features, LV2_URID__map))) {
    chunkKey_ = map->map(map->handle, kChunkUri);
    chunkType_ = map->map(map->handle, LV2_ATOM__Chunk);
  }
}

TLv2Plugin::~TLv2Plugin() { effect_.dispatcher(&effect_, effClose, 0, 0, nullptr, 0.0f); }

void TLv2Plugin::Connect(uint32_t port, void* data) noexcept {
  auto* samples = static_cast<float*>(data);
  if (port < layout_.FirstOutput()) {
    inputs_[port] = samples;
  } else if (port < layout_.FirstControl()) {
    outputs_[port - layout_.FirstOutput()] = samples;
  } else if (layout_.IsControl(port)) {
    controls_[layout_.ParameterOf(port)] = samples;
  }
}

// effMainsChanged: resume on activate, suspend on deactivate.
void TLv2Plugin::SetActive(bool active) noexcept {
  effect_.dispatcher(&effect_, effMainsChanged, 0, active ? 1 : 0, nullptr, 0.0f);
}

void TLv2Plugin::Run(uint32_t frames) noexcept {
  ApplyChangedControls();
  Process(frames);
}

// A control value reaches the module as a host's setParameter does: turned
// into the host's 0..1 by the parameter's curve, then through the
// setParameter entry (curve back, smoother, the module's change handlers).
// Only changed values go, as a VST 2 host sends only changes; a value that
// is no number is left out, as setParameter would drop it.
void TLv2Plugin::ApplyChangedControls() noexcept {
  for (uint32_t index = 0; index < layout_.Parameters; ++index) {
    if (controls_[index] == nullptr) continue;
    const float value = *controls_[index];
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    if (value != value || (applied_[index] && appliedBits_[index] == bits)) continue;
    appliedBits_[index] = bits;
    applied_[index] = true;
    const auto parameter = static_cast<int32_t>(index);
    effect_.setParameter(&effect_, parameter, module_.ParameterToNormalized(parameter, value));
  }
}

// The processReplacing entry, which mutes outputs whose buffers are missing.
// LV2 counts frames unsigned; VST 2 signed: a larger count goes in slices.
void TLv2Plugin::Process(uint32_t frames) noexcept {
  constexpr uint32_t kLargestSlice = std::numeric_limits<int32_t>::max();
  if (frames <= kLargestSlice) {
    effect_.processReplacing(&effect_, inputs_.data(), outputs_.data(), static_cast<int32_t>(frames));
    return;
  }
  for (uint32_t done = 0; done < frames;) {
    const uint32_t slice = frames - done < kLargestSlice ? frames - done : kLargestSlice;
    Offset(inputs_, done, sliceInputs_);
    Offset(outputs_, done, sliceOutputs_);
    effect_.processReplacing(&effect_, sliceInputs_.data(), sliceOutputs_.data(), static_cast<int32_t>(slice));
    done += slice;
  }
}

// The current program's chunk, when the module has one; the control values
// the host saves itself, as it saves every control port.
LV2_State_Status TLv2Plugin::Save(LV2_State_Store_Function store, LV2_State_Handle handle) noexcept {
  void* data = nullptr;
  const intptr_t size = effect_.dispatcher(&effect_, effGetChunk, kProgramChunk, 0, &data, 0.0f);
  if (size <= 0 || data == nullptr) return LV2_STATE_SUCCESS;
  if (chunkKey_ == 0) return LV2_STATE_ERR_NO_FEATURE;
  return store(handle, chunkKey_, data, static_cast<size_t>(size), chunkType_,
               LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status TLv2Plugin::Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) noexcept {
  if (chunkKey_ == 0) return LV2_STATE_SUCCESS;
  size_t size = 0;
  uint32_t type = 0;
  uint32_t flags = 0;
  const void* data = retrieve(handle, chunkKey_, &size, &type, &flags);
  if (data == nullptr) return LV2_STATE_SUCCESS;
  if (type != chunkType_ || size > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    return LV2_STATE_ERR_BAD_TYPE;
  }
  // effSetChunk copies the bytes; it only reads them.
  effect_.dispatcher(&effect_, effSetChunk, kProgramChunk, static_cast<intptr_t>(size), const_cast<void*>(data), 0.0f);
  return LV2_STATE_SUCCESS;
}

TLv2Plugin* AsPlugin(LV2_Handle instance) { return static_cast<TLv2Plugin*>(instance); }

LV2_Handle Instantiate(const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const* features) {
  return TLv2Plugin::Create(sampleRate, features);
}

void ConnectPort(LV2_Handle instance, uint32_t port, void* data) { AsPlugin(instance)->Connect(port, data); }
void Activate(LV2_Handle instance) { AsPlugin(instance)->SetActive(true); }
void Run(LV2_Handle instance, uint32_t frames) { AsPlugin(instance)->Run(frames); }
void Deactivate(LV2_Handle instance) { AsPlugin(instance)->SetActive(false); }

void Cleanup(LV2_Handle instance) {
  try {
    delete AsPlugin(instance);
  } catch (...) {
    Application().HandleException();
  }
}

LV2_State_Status SaveState(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                           const LV2_Feature* const*) {
  return AsPlugin(instance)->Save(store, handle);
}

LV2_State_Status RestoreState(LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                              uint32_t, const LV2_Feature* const*) {
  return AsPlugin(instance)->Restore(retrieve, handle);
}

const void* ExtensionData(const char* uri) {
  static const LV2_State_Interface state{&SaveState, &RestoreState};
  return uri != nullptr && std::strcmp(uri, LV2_STATE__interface) == 0 ? &state : nullptr;
}

}  // namespace

const LV2_Descriptor& PluginDescriptor() {
  static const LV2_Descriptor descriptor{kPluginUri, &Instantiate, &ConnectPort, &Activate, &Run,
                                         &Deactivate, &Cleanup, &ExtensionData};
  return descriptor;
}

}  // namespace zelk::lv2
