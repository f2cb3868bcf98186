// The dial's two settings objects, owned by the dial and streamed as its
// PointerAngles and PointerOpacities: where Min and Max point, and how opaque
// the pointer is while held and otherwise. Each tells its owner about every
// change through OnChange.
#pragma once

#include <cstdint>

#include "runtime/Event.h"
#include "runtime/Exceptions.h"
#include "runtime/Persistent.h"

namespace zelk {

// Errors raised by the dial and its settings (message only).
ZELK_EXCEPTION_CLASS(EDIBDialError, Exception);

class TDIBDialSettings : public TPersistent {
  ZELK_CLASS(TDIBDialSettings, TPersistent)

  // Fired after every stored change and every Assign into this object.
  TNotifyEvent OnChange;

 protected:
  void Changed();
};

class TCustomDIBDialPointerAngles : public TDIBDialSettings {
  ZELK_CLASS(TCustomDIBDialPointerAngles, TDIBDialSettings)

  // Angle of Min, clockwise from twelve o'clock; 0..359.
  int32_t Start() const { return start_; }
  void SetStart(int32_t value);
  // Degrees swept from Min to Max; 1..360. A Range above Resolution lifts
  // Resolution to it.
  int32_t Range() const { return range_; }
  void SetRange(int32_t value);
  // Kept and checked against 0..Range; nothing else reads it.
  long double Resolution() const { return resolution_; }
  void SetResolution(long double value);

 protected:
  // To another angles object: Range, Start and Resolution without checks.
  void AssignTo(TPersistent* dest) override;

 private:
  int32_t start_ = 0;
  int32_t range_ = 360;
  long double resolution_ = 0;
};

class TDIBDialPointerAngles : public TCustomDIBDialPointerAngles {
  ZELK_CLASS(TDIBDialPointerAngles, TCustomDIBDialPointerAngles)
};

class TCustomDIBDialPointerOpacities : public TDIBDialSettings {
  ZELK_CLASS(TCustomDIBDialPointerOpacities, TDIBDialSettings)

  // Pointer opacity while the pointer is dragged.
  uint8_t Active() const { return active_; }
  void SetActive(uint8_t value);
  // Pointer opacity otherwise.
  uint8_t Normal() const { return normal_; }
  void SetNormal(uint8_t value);

 protected:
  // To another opacities object: Active and Normal.
  void AssignTo(TPersistent* dest) override;

 private:
  uint8_t active_ = 255;
  uint8_t normal_ = 255;
};

class TDIBDialPointerOpacities : public TCustomDIBDialPointerOpacities {
  ZELK_CLASS(TDIBDialPointerOpacities, TCustomDIBDialPointerOpacities)
};

}  // namespace zelk
