#include "controls/ControlsLibrary.h"

#include "controls/DIBBorder.h"
#include "controls/DIBContainer.h"
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
}

void FinalizeControlsLibrary() {
  if (!Initialized()) return;
  Initialized() = false;
}

}  // namespace zelk
