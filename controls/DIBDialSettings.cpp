#include "controls/DIBDialSettings.h"

#include <string>

#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TDIBDialSettings::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDIBDialSettings>("TDIBDialSettings").Build();
  return info;
}

void TDIBDialSettings::Changed() {
  if (OnChange) OnChange(this);
}

const TClassInfo& TCustomDIBDialPointerAngles::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomDIBDialPointerAngles>("TCustomDIBDialPointerAngles").Build();
  return info;
}

void TCustomDIBDialPointerAngles::SetStart(int32_t value) {
  if (value < 0 || value > 359) throw EDIBDialError("Start must be 0..359");
  start_ = value;
  Changed();
}

void TCustomDIBDialPointerAngles::SetRange(int32_t value) {
  if (value < 1 || value > 360) throw EDIBDialError("Range must be 1..360");
  range_ = value;
  if (resolution_ < value) resolution_ = value;
  Changed();
}

void TCustomDIBDialPointerAngles::SetResolution(long double value) {
  // Also refuses NaN, which no comparison below would catch.
  if (!(value >= 0 && value <= range_)) {
    throw EDIBDialError("Resolution must be above 0 and less than " + std::to_string(range_ + 1));
  }
  resolution_ = value;
  Changed();
}

void TCustomDIBDialPointerAngles::AssignTo(TPersistent* dest) {
  auto* target = dynamic_cast<TCustomDIBDialPointerAngles*>(dest);
  if (target == nullptr) {
    TDIBDialSettings::AssignTo(dest);
    return;
  }
  target->range_ = range_;
  target->start_ = start_;
  target->resolution_ = resolution_;
  target->Changed();
}

const TClassInfo& TDIBDialPointerAngles::StaticClass() {
  using T = TDIBDialPointerAngles;
  static const TClassInfo info = TClassBuilder<T>("TDIBDialPointerAngles")
                                     .Property("Start", &T::Start, &T::SetStart)
                                     .Default(0)
                                     .Property("Range", &T::Range, &T::SetRange)
                                     .Default(360)
                                     .Property("Resolution", &T::Resolution, &T::SetResolution)
                                     .Build();
  return info;
}

const TClassInfo& TCustomDIBDialPointerOpacities::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomDIBDialPointerOpacities>("TCustomDIBDialPointerOpacities").Build();
  return info;
}

void TCustomDIBDialPointerOpacities::SetActive(uint8_t value) {
  active_ = value;
  Changed();
}

void TCustomDIBDialPointerOpacities::SetNormal(uint8_t value) {
  normal_ = value;
  Changed();
}

void TCustomDIBDialPointerOpacities::AssignTo(TPersistent* dest) {
  auto* target = dynamic_cast<TCustomDIBDialPointerOpacities*>(dest);
  if (target == nullptr) {
    TDIBDialSettings::AssignTo(dest);
    return;
  }
  target->active_ = active_;
  target->normal_ = normal_;
  target->Changed();
}

const TClassInfo& TDIBDialPointerOpacities::StaticClass() {
  using T = TDIBDialPointerOpacities;
  static const TClassInfo info = TClassBuilder<T>("TDIBDialPointerOpacities")
                                     .Property("Active", &T::Active, &T::SetActive)
                                     .Default(255)
                                     .Property("Normal", &T::Normal, &T::SetNormal)
                                     .Default(255)
                                     .Build();
  return info;
}

}  // namespace zelk
