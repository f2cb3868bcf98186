#include "framework/FrameworkInit.h"

#include "framework/FloatingPoint.h"
#include "framework/VSTModule.h"
#include "runtime/ClassRegistry.h"

namespace zelk {

namespace {
bool StartFramework() {
  MaskFloatingPointExceptions();
  RegisterClasses({&TCustomVST1Module::StaticClass(), &TCustomVST2Module::StaticClass(), &TVST2Module::StaticClass()});
  return true;
}
}  // namespace

void InitializeFramework() {
  // A function-local static runs its initializer exactly once, also when
  // several threads arrive together.
  [[maybe_unused]] static const bool started = StartFramework();
}

}  // namespace zelk
