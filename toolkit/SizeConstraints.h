// TSizeConstraints: the smallest and largest size a control accepts. A
// limit of 0 is no limit. Every bounds change of the control is held
// within them; a change of a limit fires OnChange, which re-applies them.
#pragma once

#include <cstdint>

#include "runtime/Event.h"
#include "runtime/Persistent.h"

namespace zelk {

class TSizeConstraints : public TPersistent {
  ZELK_CLASS(TSizeConstraints, TPersistent)

  TSizeConstraints() = default;

  int32_t MaxHeight() const { return maxHeight_; }
  void SetMaxHeight(int32_t value) { Change(maxHeight_, value); }
  int32_t MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int32_t value) { Change(maxWidth_, value); }
  int32_t MinHeight() const { return minHeight_; }
  void SetMinHeight(int32_t value) { Change(minHeight_, value); }
  int32_t MinWidth() const { return minWidth_; }
  void SetMinWidth(int32_t value) { Change(minWidth_, value); }

  // The size held within the limits; a maximum wins over a larger minimum.
  int32_t ConstrainWidth(int32_t width) const { return Constrain(width, minWidth_, maxWidth_); }
  int32_t ConstrainHeight(int32_t height) const { return Constrain(height, minHeight_, maxHeight_); }

  void Assign(TPersistent* source) override;

  // Fired after a limit changed, with these constraints as Sender.
  TNotifyEvent OnChange;

 private:
  static int32_t Constrain(int32_t size, int32_t minimum, int32_t maximum);
  void Change(int32_t& limit, int32_t value);

  int32_t maxHeight_ = 0;
  int32_t maxWidth_ = 0;
  int32_t minHeight_ = 0;
  int32_t minWidth_ = 0;
};

}  // namespace zelk
