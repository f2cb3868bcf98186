#include "toolkit/Toolkit.h"

#include "platform/Backend.h"
#include "runtime/Application.h"
#include "runtime/ClassRegistry.h"
#include "toolkit/HintWindow.h"
#include "toolkit/Menus.h"
#include "toolkit/Panel.h"

namespace zelk {

namespace {

TShortCutEvent& ApplicationShortCut() {
  static TShortCutEvent handler;
  return handler;
}

void ShowExceptionMessage(std::string_view message) { ShowMessage(message); }

}  // namespace

void InitializeToolkit() {
  static bool initialized = false;
  if (!initialized) {
    platform::InstallBackend(platform::NativeBackend());
    RegisterClasses({&TForm::StaticClass(), &TPanel::StaticClass(), &TPopupMenu::StaticClass(),
                     &TMenuItem::StaticClass()});
    initialized = true;
  }
  SetExceptionDisplay(&ShowExceptionMessage);
}

void FinalizeToolkit() {
  FreeApplicationHintWindow();
  SetExceptionDisplay(nullptr);
}

uint32_t TickCount() { return platform::Backend().Windows->TickCount(); }

bool IsKeyDown(uint16_t virtualKey) { return platform::Backend().Windows->IsKeyDown(virtualKey); }

void ProcessMessages() { platform::Backend().Windows->Pump(); }

void ShowMessage(std::string_view text) { platform::Backend().Windows->ShowMessage(0, text); }

void SetApplicationShortCut(TShortCutEvent handler) { ApplicationShortCut() = handler; }

bool IsApplicationShortCut(TMessage& keyMessage) {
  bool handled = false;
  if (const TShortCutEvent& handler = ApplicationShortCut()) handler(keyMessage, handled);
  return handled;
}

}  // namespace zelk
