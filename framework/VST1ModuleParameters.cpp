// The module's parameter operations: the value store, the conversions
// between parameter units and the host's 0..1, the automated set operation
// with its re-entry guard, and the texts the host asks for.
#include <atomic>
#include <cmath>
#include <optional>
#include <string>

#include "framework/ParameterProperty.h"
#include "framework/ParameterText.h"
#include "framework/Program.h"
#include "framework/VST1Module.h"
#include "framework/VST2Module.h"

namespace zelk {

namespace {

constexpr const char kUndefinedText[] = "undefined";

TCustomVstParameterProperty* FindItem(const TCustomVST1Module& module, int32_t index) {
  if (!module.IsParameterIndex(index) || module.ParameterProperties() == nullptr) return nullptr;
  return module.ParameterProperties()->Find(index);
}

// The current program keeps the value too (OverwritePrograms).
void StoreInCurrentProgram(const TCustomVST1Module& module, int32_t index, float value) {
  TCustomVstPrograms* programs = module.Programs();
  const int32_t current = module.CurrentProgram();
  if (programs == nullptr || current < 0 || current >= programs->Count()) return;
  programs->Program(current)->SetParameter(index, value);
}

// Registers the calling thread with the re-entry guard and unregisters it
// however the set operation ends.
class TParameterUpdateScope {
 public:
  explicit TParameterUpdateScope(TParameterUpdaters& updaters) : updaters_(updaters), entered_(updaters.Enter()) {}
  ~TParameterUpdateScope() {
    if (entered_) updaters_.Leave();
  }
  TParameterUpdateScope(const TParameterUpdateScope&) = delete;
  TParameterUpdateScope& operator=(const TParameterUpdateScope&) = delete;
  // False for a call nested in a set operation of the same thread.
  bool Entered() const { return entered_; }

 private:
  TParameterUpdaters& updaters_;
  bool entered_;
};

}  // namespace

// Any thread (the audio thread included).
float TCustomVST1Module::GetParameter(int32_t index) { return Parameters.Get(index); }

// Any thread.
float TCustomVST1Module::ParameterToNormalized(int32_t index, float value) {
  const TCustomVstParameterProperty* item = FindItem(*this, index);
  return item != nullptr ? item->ToNormalized(value) : 0.0f;
}

// Any thread: the host's setParameter comes from its automation, audio or
// user-interface thread.
float TCustomVST1Module::NormalizedToParameter(int32_t index, float normalized) {
  TCustomVstParameterProperty* item = FindItem(*this, index);
  if (item == nullptr) return 0.0f;
  // A non-number from the host must not poison the smoother; the set
  // operation drops it.
  if (!std::isfinite(normalized)) return normalized;
  return item->FromNormalized(normalized);
}

// The calling thread: the host's for setParameter and effString2Parameter,
// the user-interface thread for the editor and for programs.
void TCustomVST1Module::SetParameterAutomated(int32_t index, float value) {
  TCustomVstParameterProperty* item = FindItem(*this, index);
  // Outside the parameters nothing is stored; a non-finite value would reach
  // the host and the audio routine as a non-number.
  if (item == nullptr || !std::isfinite(value)) return;
  {
    // A host may answer the automation report by setting the parameter
    // again on the same thread; that nested call is dropped. Calls from
    // other threads go through: the last one wins.
    TParameterUpdateScope scope(ParameterUpdating);
    if (!scope.Entered()) return;
    if ((Effect.flags & effFlagsProgramChunks) == 0) {
      Parameters.Set(index, value);
      if (OverwritePrograms) StoreInCurrentProgram(*this, index, value);
    }
    if (item->CanBeAutomated && HostCallback != nullptr) HostAutomate(index, ParameterToNormalized(index, value));
    if (item->OnParameterChange) item->OnParameterChange(this, index, value);
    if (OnParameterChange) OnParameterChange(this, index, value);
  }
  MarkParameterChanged(index);
}

// User-interface thread. The value asked for, not the one read back: should
// another thread set the parameter meanwhile, the two differ and the editor
// is shown that thread's value at the next idle call.
void TCustomVST1Module::SetParameterFromEditor(int32_t index, float value) {
  if (!IsParameterIndex(index)) return;
  SetParameterAutomated(index, value);
  editorValues_[static_cast<size_t>(index)] = value;
}

// User-interface thread (effGetParamLabel).
std::string TCustomVST1Module::GetParameterLabel(int32_t index) {
  TCustomVstParameterProperty* item = FindItem(*this, index);
  if (item == nullptr) return kUndefinedText;
  std::string label = item->Units();
  if (item->OnCustomParameterLabel) item->OnCustomParameterLabel(this, label);
  return label;
}

// User-interface thread (effGetParamDisplay).
std::string TCustomVST1Module::GetParameterDisplay(int32_t index) {
  TCustomVstParameterProperty* item = FindItem(*this, index);
  if (item == nullptr) return kUndefinedText;
  std::string display = FormatParameterValue(Parameters.Get(index));
  if (item->OnCustomParameterDisplay) item->OnCustomParameterDisplay(this, display);
  return display;
}

// User-interface thread (effGetParamName).
std::string TCustomVST1Module::GetParameterName(int32_t index) {
  const TCustomVstParameterProperty* item = FindItem(*this, index);
  return item != nullptr ? item->DisplayName() : kUndefinedText;
}

// User-interface thread (effCanBeAutomated).
bool TCustomVST2Module::CanBeAutomated(int32_t index) {
  const TCustomVstParameterProperties* items = ParameterProperties();
  if (items == nullptr || index < 0 || index >= items->Count()) return true;
  return items->Item(index)->CanBeAutomated;
}

// User-interface thread (effString2Parameter). Neither a text that is no
// number nor a failure while setting goes further than the answer.
bool TCustomVST2Module::String2Parameter(int32_t index, const char* text) {
  if (text == nullptr || !IsParameterIndex(index)) return false;
  const std::optional<float> value = ParseParameterValue(text);
  if (!value) return false;
  try {
    SetParameterAutomated(index, *value);
  } catch (...) {
    return false;
  }
  return true;
}

}  // namespace zelk
