// Parameter items: one collection item per parameter of a module, in index
// order, describing its range, curve, smoothing, names and events.
//
// Threads: the settings are changed while the module's settings load (or by
// module code on the user-interface thread); the host reads the conversions
// from any of its threads. The smoother stages are atomics (see
// ParameterSmoother.h).
#pragma once

#include <cstdint>
#include <string>

#include "framework/ModuleEvents.h"
#include "framework/ParameterCurves.h"
#include "framework/ParameterSmoother.h"
#include "runtime/Collection.h"
#include "runtime/Event.h"

namespace zelk {

class TCustomVST1Module;

// May replace the label or display text the framework prepared.
using TCustomParameterLabelEvent = TEvent<void(TObject* Sender, std::string& PreDefined)>;
using TCustomParameterDisplayEvent = TEvent<void(TObject* Sender, std::string& PreDefined)>;

class TCustomVstParameterProperty : public TCollectionItem {
  ZELK_CLASS(TCustomVstParameterProperty, TCollectionItem)

  static constexpr size_t kDisplayNameCharacters = 30;
  static constexpr size_t kUnitsCharacters = 8;

  // Named "Parameter N", N the number of items once this one is added; the
  // module of a parameter collection becomes its module, whose parameter
  // count follows at once.
  explicit TCustomVstParameterProperty(TCollection* collection);

  float Min = 0.0f;  // maps to normalized 0
  float Max = 1.0f;  // maps to normalized 1
  TCurveType Curve = ctLinear;
  float CurveFactor = 1.0f;
  float SmoothingFactor = 1.0f;  // 1: no smoothing
  bool CanBeAutomated = true;    // whether changes are reported to the host

  // Keeps the first 30 characters.
  std::string DisplayName() const override { return displayName_; }
  void SetDisplayName(const std::string& name) override;
  // Keeps the first 8 characters.
  const std::string& Units() const { return units_; }
  void SetUnits(const std::string& units);

  TCustomVST1Module* VSTModule() const { return vstModule_; }
  void SetVSTModule(TCustomVST1Module* module) { vstModule_ = module; }

  TParameterChangeEvent OnParameterChange;
  TCustomParameterLabelEvent OnCustomParameterLabel;
  TCustomParameterDisplayEvent OnCustomParameterDisplay;

  TParameterRange Range() const;
  // Value in units → host's 0..1, clamped.
  float ToNormalized(float value) const;
  // Host's 0..1 → value in units through the smoother; not clamped.
  float FromNormalized(float normalized);
  const TParameterSmoother& Smoother() const { return smoother_; }

  // Copies the display name of another parameter item; any other source is
  // refused with the assignment error.
  void Assign(TPersistent* source) override;

 private:
  TParameterSmoother smoother_;
  std::string displayName_;
  std::string units_;
  TCustomVST1Module* vstModule_ = nullptr;
};

// The parameter items of one module. Every change of its items recounts the
// module's parameters (the record's numParams and the value store).
class TCustomVstParameterProperties : public TCollection {
  ZELK_CLASS(TCustomVstParameterProperties, TCollection)

  explicit TCustomVstParameterProperties(TCustomVST1Module* module);

  TCustomVST1Module* VSTModule() const { return vstModule_; }
  // Raises EListError for an index outside the collection.
  TCustomVstParameterProperty* Item(int index) const;
  // Null for an index outside the collection.
  TCustomVstParameterProperty* Find(int index) const;
  TCustomVstParameterProperty* Add();

 protected:
  void Update(TCollectionItem* item) override;

 private:
  friend class TCustomVstParameterProperty;
  void RecountModuleParameters();

  TCustomVST1Module* vstModule_;
};

}  // namespace zelk
