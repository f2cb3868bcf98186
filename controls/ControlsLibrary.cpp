#include "controls/ControlsLibrary.h"

#include "controls/DIBBorder.h"
#include "controls/DIBContainer.h"
#include "controls/DIBDial.h"
#include "controls/DIBFeature.h"
#include "controls/DIBStandardFeatures.h"
#include "controls/DIBTimer.h"
#include "runtime/ClassRegistry.h"

namespace zelk {

namespace {

bool& Initialized() {
  static bool initialized = false;
  return initialized;
}

}  // namespace

void InitializeControlsLibrary() {
  if (Initialized()) return;
  Initialized() = true;
  RegisterClasses({&TDIBTimer::StaticClass(), &TDIBBorder::StaticClass()});
  RegisterDIBControlClasses();
  RegisterDIBDialClass();
  RegisterStandardDIBFeatures();
}

void FinalizeControlsLibrary() {
  if (!Initialized()) return;
  Initialized() = false;
  ClearDIBFeatures();
}

}  // namespace zelk
