#include "effect/FmZelk.h"

#include <cstdio>

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

const TClassInfo& TFmZelk2x::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFmZelk2x>("TFmZelk2x").Build();
  return info;
}

TFmZelk* NewEditorForScale(double scale) {
  constexpr double kDoubleDensityFrom = 1.5;
  if (scale >= kDoubleDensityFrom) return New<TFmZelk2x>(nullptr);
  return New<TFmZelk>(nullptr);
}

void TFmZelk::ZelkChange(TObject*) {
  if (Module == nullptr || Zelk == nullptr) return;
  Module->SetParameterAutomated(0, static_cast<float>(Zelk->ExactPosition()));
}

void TFmZelk::ZelkBeginGesture(TObject*) {
  if (Module != nullptr) Module->BeginGesture(0);
}

void TFmZelk::ZelkEndGesture(TObject*) {
  if (Module != nullptr) Module->EndGesture(0);
}

void TFmZelk::ZelkValueHint(TObject*, std::string& Text) {
  if (Zelk == nullptr) return;
  char number[32];
  std::snprintf(number, sizeof number, "%.1f", Zelk->ExactPosition());
  Text = std::string(number) + " \u00B0";
}

void TFmZelk::ShowAngle(float degrees) {
  if (Zelk == nullptr || static_cast<float>(Zelk->ExactPosition()) == degrees) return;
  Zelk->SetPositionWithoutChange(KnobPositionForAngle(degrees));
}

void TFmZelk::ConnectKnob() {
  if (Zelk == nullptr) return;
  Zelk->OnBeginGesture = TNotifyEvent::Bind<&TFmZelk::ZelkBeginGesture>(this);
  Zelk->OnEndGesture = TNotifyEvent::Bind<&TFmZelk::ZelkEndGesture>(this);
  Zelk->OnValueHint = TDIBDialHintEvent::Bind<&TFmZelk::ZelkValueHint>(this);
  // Tab reaches the knob's keys; a click leaves the keys with the host.
  Zelk->SetFocusOnClick(false);
  if (Zelk->DIBTabOrder() < 0) Zelk->SetDIBTabOrder(0);
}

void RegisterEditorClasses() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterClasses({&TFmZelk::StaticClass(), &TFmZelk2x::StaticClass()});
    return true;
  }();
}

}  // namespace zelk
