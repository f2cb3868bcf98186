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
  if (program->values_.Count() > 0) {
    values_.Resize(program->values_.Count());
    for (int32_t index = 0; index < program->values_.Count(); ++index) SetParameter(index, program->values_.Get(index));
  }
  SetDisplayName(program->displayName_);
}

TCustomVstPrograms::TCustomVstPrograms(TCustomVST1Module* module)
    : TCollection(TCustomVstProgram::StaticClass(), module), module_(module) {}

void TCustomVstPrograms::Update(TCollectionItem*) {
  if (module_ != nullptr) module_->SetNumPrograms(0);
}

}  // namespace zelk
