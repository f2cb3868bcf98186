#include "controls/DIBTimer.h"

#include "runtime/ClassBuilder.h"
#include "toolkit/MessageWindow.h"

namespace zelk {

namespace {

// The one window timer every TDIBTimer uses on its own window.
constexpr uint32_t kTimerId = 1;

}  // namespace

const TClassInfo& TDIBTimer::StaticClass() {
  using T = TDIBTimer;
  static const TClassInfo info = TClassBuilder<T>("TDIBTimer")
                                     .Property("Enabled", &T::Enabled, &T::SetEnabled)
                                     .Default(false)
                                     .Property("Interval", &T::Interval, &T::SetInterval)
                                     .Default(1000)
                                     .Property("OnTimer", &T::OnTimer, &T::SetOnTimer)
                                     .Build();
  return info;
}

TDIBTimer::TDIBTimer(TComponent* owner) : TComponent(owner) {}

TDIBTimer::~TDIBTimer() { Stop(); }

void TDIBTimer::BeforeDestruction() {
  enabled_ = false;
  Stop();
  TComponent::BeforeDestruction();
}

void TDIBTimer::SetEnabled(bool value) {
  enabled_ = value;
  Rearm();
}

void TDIBTimer::SetInterval(uint32_t value) {
  if (value == interval_) return;
  interval_ = value;
  Rearm();
}

void TDIBTimer::SetOnTimer(TNotifyEvent value) {
  onTimer_ = value;
  Rearm();
}

void TDIBTimer::Stop() {
  if (window_ == nullptr) return;
  window_->KillTimer(kTimerId);
  window_.reset();
}

void TDIBTimer::Rearm() {
  Stop();
  if (interval_ == 0 || !enabled_ || !onTimer_) return;
  window_ = std::make_unique<TMessageWindow>(TWndMethod::Bind<&TDIBTimer::WindowMessage>(this));
  if (!window_->SetTimer(kTimerId, interval_)) {
    enabled_ = false;
    Stop();
  }
}

void TDIBTimer::WindowMessage(TMessage& message) {
  if (message.Msg != wmTimer || !onTimer_) return;
  // The message window contains exceptions from here. The handler may stop,
  // re-arm or free this timer: a message window may be destroyed from
  // inside its own handler, and nothing here is touched afterwards.
  onTimer_(this);
}

}  // namespace zelk
