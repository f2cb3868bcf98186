// The parts a TCustomDIBControl owns, one per concern: press-and-hold
// repeat, the attached controls, the template properties and the context
// menu. Each is a member of the control, lives exactly as long as it and
// keeps the state of its concern; the control delegates to it. Window
// thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Event.h"
#include "runtime/Object.h"
#include "toolkit/Messages.h"

namespace zelk {

class TComponent;
class TControlList;
class TCustomDIBControl;
class TDIBTimer;
struct TMouseMessageView;
class TPopupMenu;

// Press-and-hold repeat: while the timer runs, each tick re-sends the
// stored press, whose position follows the mouse, until Stop or a stop
// requested for the next tick.
class TPressRepeat {
 public:
  // The timer starts disabled; its ticks reach onTick.
  explicit TPressRepeat(TNotifyEvent onTick);
  ~TPressRepeat();
  TPressRepeat(const TPressRepeat&) = delete;
  TPressRepeat& operator=(const TPressRepeat&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t milliseconds) { interval_ = milliseconds; }
  TDIBTimer* Timer() const { return timer_.get(); }
  bool Running() const;

  // A left press: kept, and the repeat starts when enabled and not running.
  void Press(const TMessage& press);
  // A mouse move: the kept press takes its position.
  void Follow(const TMouseMessageView& move);
  // Back over the capturing control: runs again when enabled.
  void Resume();
  void Stop();
  void RequestStop() { stopRequested_ = true; }
  // At a tick: the press to send again, or false when a requested stop
  // ended the repeat instead.
  bool Tick(TMessage& press);

 private:
  std::unique_ptr<TDIBTimer, TFreeObject> timer_;
  TMessage press_;
  uint32_t interval_ = 250;
  bool enabled_ = false;
  bool stopRequested_ = false;
};

// The controls that move with their control.
class TAttachedControls {
 public:
  // owner: the control the list belongs to.
  explicit TAttachedControls(TComponent* owner);
  ~TAttachedControls();
  TAttachedControls(const TAttachedControls&) = delete;
  TAttachedControls& operator=(const TAttachedControls&) = delete;

  TControlList* List() const { return list_.get(); }
  void MoveBy(int32_t deltaX, int32_t deltaY) const;
  // A component going away leaves the list.
  void Forget(TComponent* component) const;

 private:
  std::unique_ptr<TControlList, TFreeObject> list_;
};

// The names of the properties a control template carries, in order:
// "Width" and "Height" first.
class TTemplateProperties {
 public:
  const std::vector<std::string>& Names() const { return names_; }
  // Raises EDIBControlError when control's class does not publish name or
  // its kind cannot be templated; a known name is kept once.
  void Add(TCustomDIBControl& control, const std::string& name);

 private:
  // Published by every descendant; the base class itself publishes nothing
  // to check them against yet.
  std::vector<std::string> names_{"Width", "Height"};
};

// The menu a control offers: its own popup menu, else the menu shared by
// all controls, filled with the control's context items; none when that
// stays empty.
class TDIBContextMenu {
 public:
  explicit TDIBContextMenu(TCustomDIBControl& control) : control_(control) {}
  TDIBContextMenu(const TDIBContextMenu&) = delete;
  TDIBContextMenu& operator=(const TDIBContextMenu&) = delete;

  TPopupMenu* Offered() const;

 private:
  TCustomDIBControl& control_;
};

}  // namespace zelk
