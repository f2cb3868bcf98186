// Press-and-hold repeat: the timer re-sends the stored press until release,
// leave or StopRepeat.
#include "controls/DIBControl.h"

#include "controls/DIBTimer.h"

namespace zelk {

bool TCustomDIBControl::IsRepeating() const { return repeatTimer_->Enabled(); }

void TCustomDIBControl::RepeatTick(TObject* sender) {
  if (stopRepeat_) {
    stopRepeat_ = false;
    repeatTimer_->SetEnabled(false);
    return;
  }
  TMessage press = storedPress_;
  Perform(press);
}

}  // namespace zelk
