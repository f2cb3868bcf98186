// Press-and-hold repeat: the timer re-sends the stored press until release,
// leave or StopRepeat.
#include "controls/DIBControl.h"

#include "controls/DIBTimer.h"
#include "toolkit/MessageViews.h"

namespace zelk {

TPressRepeat::TPressRepeat(TNotifyEvent onTick) : timer_(New<TDIBTimer>(nullptr)) {
  timer_->SetOnTimer(onTick);
  timer_->SetEnabled(false);
}

TPressRepeat::~TPressRepeat() = default;

bool TPressRepeat::Running() const { return timer_->Enabled(); }

void TPressRepeat::Press(const TMessage& press) {
  press_ = press;
  if (enabled_ && !timer_->Enabled()) {
    timer_->SetInterval(interval_);
    timer_->SetEnabled(true);
  }
}

void TPressRepeat::Follow(const TMouseMessageView& move) { SetMouse(press_, move); }

void TPressRepeat::Resume() {
  if (enabled_) timer_->SetEnabled(true);
}

void TPressRepeat::Stop() { timer_->SetEnabled(false); }

bool TPressRepeat::Tick(TMessage& press) {
  if (stopRequested_) {
    stopRequested_ = false;
    timer_->SetEnabled(false);
    return false;
  }
  press = press_;
  return true;
}

bool TCustomDIBControl::IsRepeating() const { return pressRepeat_.Running(); }

void TCustomDIBControl::RepeatTick(TObject* sender) {
  TMessage press;
  if (pressRepeat_.Tick(press)) Perform(press);
}

}  // namespace zelk
