#include "framework/Program.h"

#include "framework/VST1Module.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Exceptions.h"
#include "runtime/Text.h"

namespace zelk {

namespace {
constexpr char kIndexError[] = "Index >= numParams!";
}

const TClassInfo& TCustomVstProgram::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomVstProgram>("TCustomVstProgram")
          .Property("DisplayName", &TCustomVstProgram::DisplayName, &TCustomVstProgram::SetDisplayName)
          .Property("VSTModule", &TCustomVstProgram::VSTModule, &TCustomVstProgram::SetVSTModule)
          .Property("OnInitialize", &TCustomVstProgram::OnInitialize)
          .Build();
  return info;
}

const TClassInfo& TCustomVstPrograms::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomVstPrograms>("TCustomVstPrograms").Build();
  return info;
}

TCustomVstProgram::TCustomVstProgram(TCollection* collection) : TCollectionItem(collection) {
  if (auto* programs = dynamic_cast<TCustomVstPrograms*>(collection)) module_ = programs->VSTModule();
  if (module_ == nullptr) return;
  values_.Resize(module_->numParams());
  // The count is current at once, even while the collection holds its
  // change announcements back (a collection being assigned or loaded).
  module_->SetNumPrograms(0);
}

void TCustomVstProgram::SetDisplayName(const std::string& name) {
  displayName_ = std::string(FirstCharacters(name, kMaxNameCharacters));
  TCollectionItem::SetDisplayName(displayName_);
}

void TCustomVstProgram::CheckIndex(int32_t index) const {
  const int32_t count = module_ != nullptr ? module_->numParams() : values_.Count();
  if (index < 0 || index >= count || index >= values_.Count()) throw EListError(kIndexError);
}

float TCustomVstProgram::Parameter(int32_t index) const {
  CheckIndex(index);
  return values_.Get(index);
}

void TCustomVstProgram::SetParameter(int32_t index, float value) {
  CheckIndex(index);
  values_.Set(index, value);
}

void TCustomVstProgram::Assign(TPersistent* source) {
  auto* program = dynamic_cast<TCustomVstProgram*>(source);
  if (program == nullptr) {
    TCollectionItem::Assign(source);
    return;
  }
  if (program == this) return;
  if (program->ParameterCount() > 0) CopyValues(*program);
  SetDisplayName(program->displayName_);
}

// A source with more values than this program's module has parameters
// raises at the first value too many, as any access past them does. A
// shorter source leaves 0.0 in the remaining entries: the program keeps one
// value per parameter, so no parameter of the module meets a missing value
// later (applying the program, OverwritePrograms). The store is replaced
// only when its size changes: a parameter set with OverwritePrograms may
// write into it from another thread.
void TCustomVstProgram::CopyValues(const TCustomVstProgram& source) {
  values_.Resize(module_ != nullptr ? module_->numParams() : source.ParameterCount());
  for (int32_t index = source.ParameterCount(); index < values_.Count(); ++index) values_.Set(index, 0.0f);
  for (int32_t index = 0; index < source.ParameterCount(); ++index) SetParameter(index, source.values_.Get(index));
}

TCustomVstPrograms::TCustomVstPrograms(TCustomVST1Module* module)
    : TCollection(TCustomVstProgram::StaticClass(), module), module_(module) {}

void TCustomVstPrograms::Update(TCollectionItem*) {
  if (module_ != nullptr) module_->SetNumPrograms(0);
}

}  // namespace zelk
