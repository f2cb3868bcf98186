// A module class for framework tests: a TVST2Module descendant whose
// settings resource is empty, so that each test configures it in code.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/ParameterProperty.h"
#include "framework/VSTModule.h"
#include "resources/ComponentResources.h"
#include "runtime/ClassBuilder.h"

namespace zelk::tests {

class TTestModule : public TVST2Module {
  ZELK_CLASS(TTestModule, TVST2Module)

  explicit TTestModule(TComponent* owner) : TVST2Module(owner) {}

  // The protected state tests look at.
  using TCustomVST1Module::EditorNeedsUpdate;
  using TCustomVST1Module::ParameterUpdating;
  using TCustomVST1Module::Processing;
  using TCustomVST1Module::RequestedInitialDelay;
};

inline const TClassInfo& TTestModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestModule>("TTestModule").Build();
  return info;
}

// "TPF0", class "TTestModule", object "TestModule", no properties, no children.
inline constexpr uint8_t kEmptyTestModuleStream[] = {
    'T', 'P', 'F', '0', 11, 'T', 'T', 'e', 's', 't', 'M', 'o', 'd', 'u', 'l', 'e',
    10,  'T', 'e', 's', 't', 'M', 'o', 'd', 'u', 'l', 'e', 0,   0};

using TTestModulePtr = std::unique_ptr<TTestModule, TFreeObject>;

inline TTestModulePtr MakeTestModule() {
  RegisterComponentResource("TTestModule", kEmptyTestModuleStream);
  return TTestModulePtr(New<TTestModule>(nullptr));
}

// A parameter item with a range and, optionally, a curve.
inline TCustomVstParameterProperty& AddParameter(TCustomVST1Module& module, float min, float max,
                                                 TCurveType curve = ctLinear, float curveFactor = 1.0f) {
  TCustomVstParameterProperty* item = module.ParameterProperties()->Add();
  item->Min = min;
  item->Max = max;
  item->Curve = curve;
  item->CurveFactor = curveFactor;
  return *item;
}

}  // namespace zelk::tests
