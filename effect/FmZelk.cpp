#include "effect/FmZelk.h"

#include "controls/DIBContainer.h"
#include "controls/DIBDial.h"
#include "dib/DIBImageList.h"
#include "dib/DIBSettings.h"
#include "effect/KnobPosition.h"
#include "effect/ZelkModule.h"
#include "runtime/ClassBuilder.h"
#include "runtime/ClassRegistry.h"

namespace zelk {

const TClassInfo& TFmZelk::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFmZelk>("TFmZelk")
                                     .Field("Background", &TFmZelk::Background)
                                     .Field("Zelk", &TFmZelk::Zelk)
                                     .Field("DIBImageList", &TFmZelk::DIBImageList)
                                     .Field("DIBSettings", &TFmZelk::DIBSettings)
                                     .Method<&TFmZelk::ZelkChange>("ZelkChange")
                                     .Build();
  return info;
}

void TFmZelk::ZelkChange(TObject*) {
  if (Module == nullptr || Zelk == nullptr) return;
  Module->SetParameterAutomated(0, static_cast<float>(Zelk->Position()));
}

void TFmZelk::ShowAngle(float degrees) {
  if (Zelk != nullptr) Zelk->SetPositionWithoutChange(KnobPositionForAngle(degrees));
}

void RegisterEditorClasses() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterDIBControlClasses();
    RegisterDIBDialClass();
    RegisterClasses({&TFmZelk::StaticClass()});
    return true;
  }();
}

}  // namespace zelk
