#include "effect/LibraryStart.h"

#include "controls/ControlsLibrary.h"
#include "dib/DIBLibrary.h"
#include "editorhost/FormEditor.h"
#include "effect/FmZelk.h"
#include "effect/ZelkModule.h"
#include "framework/FrameworkInit.h"
#include "runtime/Application.h"
#include "runtime/ClassRegistry.h"
#include "toolkit/Toolkit.h"

namespace zelk {

bool StartLibrary() {
  InitializeToolkit();
  Application();
  InitializeFramework();
  RegisterFormEditor();
  InitializeDIBLibrary();
  InitializeControlsLibrary();
  RegisterEditorClasses();
  RegisterClass(TZelkVSTModule::StaticClass());
  return true;
}

void StopLibrary() noexcept {
  try {
    FinalizeControlsLibrary();
    FinalizeDIBLibrary();
    FinalizeToolkit();
    ReleaseApplication();
  } catch (...) {
  }
}

AEffect* CreateEffect(audioMasterCallback host) noexcept {
  try {
    auto* module = New<TZelkVSTModule>(&Application());
    module->HostCallback = host;
    module->Effect.user = module->Effect.object;
    return &module->Effect;
  } catch (...) {
    Application().HandleException();
    return nullptr;
  }
}

}  // namespace zelk
