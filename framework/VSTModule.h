// TVST2Module: the module class products derive from. It publishes every
// setting and event of the module, and at construction loads them from the
// component resource of the concrete class.
//
// Construction (New<T> or the class's Create, which run AfterConstruction):
//   1. the constructors fill the effect record and the defaults;
//   2. InitializeComponent: unless the class is TVST2Module itself or the
//      module is being designed, the resource named after each class between
//      TCustomVST2Module and the concrete class is read (a class chain without
//      any resource fails with "Resource %s not found"); with OldCreateOrder
//      OnCreate fires here; then OnInitialize, each program's OnInitialize in
//      program order, and CurrentProgram := 0;
//   3. without OldCreateOrder, OnCreate fires last.
// Destruction (Free): OnDestroy unless OldCreateOrder; the MIDI records,
// parameter items, programs, editor form and CPU object are released;
// OnDestroy with OldCreateOrder; then the owned components are freed.
#pragma once

#include "framework/VST2Module.h"

namespace zelk {

class TVST2Module : public TCustomVST2Module {
  ZELK_CLASS(TVST2Module, TCustomVST2Module)

  explicit TVST2Module(TComponent* owner);

 protected:
  void InitializeComponent() override;

 private:
  bool LoadsSettings() const;
  void InitializePrograms();
};

}  // namespace zelk
