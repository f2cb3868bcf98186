#include "framework/ParameterProperty.h"

#include "framework/VST1Module.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Text.h"

namespace zelk {

const TClassInfo& TCustomVstParameterProperty::StaticClass() {
  using T = TCustomVstParameterProperty;
  static const TClassInfo info =
      TClassBuilder<T>("TCustomVstParameterProperty")
          .Property("Min", &T::Min)
          .Property("Max", &T::Max)
          .Property("Curve", &T::Curve)
          .Default(ctLinear)
          .Property("CurveFactor", &T::CurveFactor)
          .Property("DisplayName", &T::DisplayName, &T::SetDisplayName)
          .Property("Units", &T::Units, &T::SetUnits)
          .Property("SmoothingFactor", &T::SmoothingFactor)
          .Property("CanBeAutomated", &T::CanBeAutomated)
          .Default(true)
          .Property("VSTModule", &T::VSTModule, &T::SetVSTModule)
          .Property("OnParameterChange", &T::OnParameterChange)
          .Property("OnCustomParameterLabel", &T::OnCustomParameterLabel)
          .Property("OnCustomParameterDisplay", &T::OnCustomParameterDisplay)
          .Build();
  return info;
}

const TClassInfo& TCustomVstParameterProperties::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomVstParameterProperties>("TCustomVstParameterProperties").Build();
  return info;
}

// ---- TCustomVstParameterProperty ----

TCustomVstParameterProperty::TCustomVstParameterProperty(TCollection* collection) : TCollectionItem(collection) {
  displayName_ = "Parameter " + IntToStr(collection != nullptr ? collection->Count() : 1);
  if (auto* parameters = dynamic_cast<TCustomVstParameterProperties*>(collection)) {
    vstModule_ = parameters->VSTModule();
    // The new item is already counted: the module's values follow at once,
    // also while the collection holds its change announcements back.
    parameters->RecountModuleParameters();
  }
}

void TCustomVstParameterProperty::SetDisplayName(const std::string& name) {
  displayName_ = std::string(FirstCharacters(name, kDisplayNameCharacters));
  TCollectionItem::SetDisplayName(displayName_);
}

void TCustomVstParameterProperty::SetUnits(const std::string& units) {
  units_ = std::string(FirstCharacters(units, kUnitsCharacters));
}

TParameterRange TCustomVstParameterProperty::Range() const { return {Min, Max, {Curve, CurveFactor}}; }

float TCustomVstParameterProperty::ToNormalized(float value) const { return ValueToNormalized(Range(), value); }

float TCustomVstParameterProperty::FromNormalized(float normalized) {
  return smoother_.Next(NormalizedToValue(Range(), normalized), SmoothingFactor);
}

void TCustomVstParameterProperty::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TCustomVstParameterProperty*>(source)) {
    SetDisplayName(other->DisplayName());
    return;
  }
  TCollectionItem::Assign(source);
}

// ---- TCustomVstParameterProperties ----

TCustomVstParameterProperties::TCustomVstParameterProperties(TCustomVST1Module* module)
    : TCollection(TCustomVstParameterProperty::StaticClass(), module), vstModule_(module) {}

TCustomVstParameterProperty* TCustomVstParameterProperties::Item(int index) const {
  return static_cast<TCustomVstParameterProperty*>(TCollection::Item(index));
}

TCustomVstParameterProperty* TCustomVstParameterProperties::Find(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return static_cast<TCustomVstParameterProperty*>(Items()[static_cast<size_t>(index)]);
}

TCustomVstParameterProperty* TCustomVstParameterProperties::Add() {
  return static_cast<TCustomVstParameterProperty*>(TCollection::Add());
}

void TCustomVstParameterProperties::Update(TCollectionItem*) { RecountModuleParameters(); }

void TCustomVstParameterProperties::RecountModuleParameters() {
  if (vstModule_ != nullptr) vstModule_->SetNumParams(Count());
}

}  // namespace zelk
