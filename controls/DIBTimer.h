// TDIBTimer: a timer component that calls OnTimer every Interval
// milliseconds on the window thread, through a window timer of a private
// message window. The window exists only while the timer runs: with
// Interval 0, Enabled false or OnTimer unassigned the timer holds no window
// and never fires.
//
// Writing Enabled, Interval (only when the value changes) or OnTimer (always)
// re-arms the timer: the running one stops and, when all three allow it, a
// new one starts with a full interval. When the window system refuses the
// timer, Enabled becomes false and nothing is reported.
//
// An exception from OnTimer goes to the application's exception handler and
// the timer keeps running. OnTimer may re-arm or stop its own timer.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/Component.h"
#include "runtime/Event.h"
#include "toolkit/Messages.h"

namespace zelk {

class TMessageWindow;

class TDIBTimer : public TComponent {
  ZELK_CLASS(TDIBTimer, TComponent)

  explicit TDIBTimer(TComponent* owner);
  ~TDIBTimer() override;

  // Published: Enabled (default false), Interval (default 1000), OnTimer.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t value);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent value);

  // The timer holds its message window, that is, it runs.
  bool Running() const { return window_ != nullptr; }

  void BeforeDestruction() override;

 private:
  void Rearm();
  void Stop();
  void WindowMessage(TMessage& message);

  uint32_t interval_ = 1000;
  std::unique_ptr<TMessageWindow> window_;
  TNotifyEvent onTimer_;
  bool enabled_ = false;
};

}  // namespace zelk
