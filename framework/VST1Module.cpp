#include "framework/VST1Module.h"

#include <limits>

#include "framework/EffectEntries.h"
#include "framework/FourCharCode.h"
#include "framework/ParameterProperty.h"
#include "framework/Program.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

namespace {
constexpr char kAboutText[] = "VST 2 plug-in framework by Kelmora";
constexpr int32_t kDefaultChannels = 2;
constexpr int32_t kRecordVersion = 1;
constexpr int32_t kDefaultIORatio = 1;
}  // namespace

// Settings and events are published by TVST2Module, the class products
// derive from; this level publishes nothing of its own.
const TClassInfo& TCustomVST1Module::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomVST1Module>("TCustomVST1Module").Build();
  return info;
}

TCustomVST1Module::TCustomVST1Module(TComponent* owner) : TDataModule(owner), cpu_(new TCPU) {
  FillEffectRecord();
  parameterProperties_.reset(new TCustomVstParameterProperties(this));
  programs_.reset(new TCustomVstPrograms(this));
}

TCustomVST1Module::~TCustomVST1Module() {
  // Free() released these already; a plain delete still must not leak them.
  ReleaseOwned();
}

void TCustomVST1Module::FillEffectRecord() {
  Effect = AEffect{};
  Effect.magic = kEffectMagic;
  Effect.object = this;
  AssignEffectEntries(Effect);
  Effect.uniqueID = kNoEffectID;
  Effect.version = kRecordVersion;
  Effect.ioRatio = kDefaultIORatio;
  Effect.numInputs = kDefaultChannels;
  Effect.numOutputs = kDefaultChannels;
}

TCustomVST1Module* TCustomVST1Module::FromEffect(const AEffect* effect) {
  if (effect == nullptr) return nullptr;
  return static_cast<TCustomVST1Module*>(effect->object);
}

std::string TCustomVST1Module::About() const { return kAboutText; }

void TCustomVST1Module::SetAbout(const std::string&) {}

void TCustomVST1Module::SetNumParams(int32_t) {
  const int32_t count = parameterProperties_ ? parameterProperties_->Count() : 0;
  Effect.numParams = count;
  if (Parameters.Count() != count) Parameters.Resize(count);
  changedParameters_.Resize(count);
  editorValues_.assign(static_cast<size_t>(count), std::numeric_limits<float>::quiet_NaN());
  ResizeProgramValues(count);
}

void TCustomVST1Module::SetNumPrograms(int32_t) { Effect.numPrograms = programs_ ? programs_->Count() : 0; }

void TCustomVST1Module::ResizeProgramValues(int32_t count) {
  if (!programs_) return;
  for (TCollectionItem* item : programs_->Items()) {
    auto* program = static_cast<TCustomVstProgram*>(item);
    if (program->ParameterCount() != count) program->ResizeParameters(count);
  }
}

std::string TCustomVST1Module::GetUniqueID() const { return FourCharText(Effect.uniqueID); }

void TCustomVST1Module::SetUniqueID(const std::string& id) { Effect.uniqueID = FourCharCode(id); }

TVst2PluginFlags TCustomVST1Module::Vst1Flags() const { return PluginFlagsFromBits(Effect.flags & kVst1FlagBits); }

void TCustomVST1Module::SetVst1Flags(TVst2PluginFlags flags) { Effect.flags = PluginFlagsToBits(flags) & kVst1FlagBits; }

void TCustomVST1Module::SetParameterProperties(TCustomVstParameterProperties* source) {
  if (source != nullptr && source != parameterProperties_.get()) parameterProperties_->Assign(source);
}

void TCustomVST1Module::SetPrograms(TCustomVstPrograms* source) {
  if (source != nullptr && source != programs_.get()) programs_->Assign(source);
}

void TCustomVST1Module::RequestEditorUpdate() {
  changedParameters_.MarkAll();
  repaintRequested_.store(true, std::memory_order_relaxed);
  EditorNeedsUpdate.store(true, std::memory_order_release);
}

// The mark comes before the flag, so that the idle call that sees the flag
// also finds the mark.
void TCustomVST1Module::MarkParameterChanged(int32_t index) {
  changedParameters_.Mark(index);
  EditorNeedsUpdate.store(true, std::memory_order_release);
}

void TCustomVST1Module::ReleaseContents() {
  TDataModule::ReleaseContents();
  ReleaseOwned();
}

void TCustomVST1Module::ReleaseOwned() {
  // Each owner pointer is cleared before its object goes, so that the
  // collections' change notifications while their items are freed find no
  // collection to count.
  auto parameters = std::move(parameterProperties_);
  parameters.reset();
  auto programs = std::move(programs_);
  programs.reset();
  FreeEditorForm();
  cpu_.reset();
}

// The adapted editor frees its component; one that no adapter took is freed
// here.
void TCustomVST1Module::FreeEditorForm() {
  std::unique_ptr<TPluginEditor> editor = std::move(editor_);
  TComponent* form = editorForm_;
  editorForm_ = nullptr;
  if (editor != nullptr) {
    editor.reset();
  } else {
    TObject::Free(form);
  }
}

intptr_t TCustomVST1Module::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  if (HostCallback == nullptr) return 0;
  return HostCallback(&Effect, opcode, index, value, ptr, opt);
}

}  // namespace zelk
