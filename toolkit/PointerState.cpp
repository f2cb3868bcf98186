#include "toolkit/PointerState.h"

#include "platform/Backend.h"
#include "toolkit/MessageViews.h"
#include "toolkit/WinControl.h"

namespace zelk {

namespace {

bool IsOrIsChildOf(const TControl* control, const TWinControl& window) {
  return control != nullptr && (control == &window || control->Parent() == &window);
}

void Tell(TControl& control, uint32_t code) { Send(control, ControlMessage(code, &control)); }

}  // namespace

TPointerState& PointerState() {
  static TPointerState state;
  return state;
}

void TPointerState::SetCapture(TControl& control, TWinControl& window) {
  capture_ = &control;
  platform::Backend().Windows->SetCapture(window.Handle());
}

void TPointerState::Release(const TControl& control) {
  if (capture_ != &control) return;
  capture_ = nullptr;
  platform::Backend().Windows->SetCapture(0);
}

void TPointerState::CaptureLost(const TWinControl& window) {
  if (!IsOrIsChildOf(capture_, window)) return;
  TControl* holder = capture_;
  capture_ = nullptr;
  // The holder hears so, to end what it was doing with the mouse.
  if (!holder->HasState(csDestroying)) holder->Perform(wmCaptureChanged);
}

void TPointerState::MoveOver(TControl* target) {
  if (hover_ == target) return;
  TControl* left = hover_;
  hover_ = target;
  TControl* capture = capture_;
  if (left != nullptr && (capture == nullptr || left == capture)) Tell(*left, cmMouseLeave);
  // The leave's handler may have moved the pointer on.
  if (target != nullptr && hover_ == target && (capture == nullptr || target == capture)) Tell(*target, cmMouseEnter);
}

bool TPointerState::HoversIn(const TWinControl& window) const { return IsOrIsChildOf(hover_, window); }

void TPointerState::ReleasedAt(TWinControl& window, TPoint point) {
  TControl* capture = capture_;
  if (capture == nullptr || capture == &window || capture->Parent() != &window) return;
  if (capture->BoundsRect().Contains(point)) return;
  Tell(*capture, cmMouseLeave);
  TControl* under = window.ControlAtPos(point, false);
  if (under != nullptr && under != capture) Tell(*under, cmMouseEnter);
}

void TPointerState::Forget(const TControl& control) {
  Release(control);
  if (hover_ == &control) hover_ = nullptr;
}

void TPointerState::ForgetWindow(const TWinControl& window) {
  CaptureLost(window);
  if (HoversIn(window)) hover_ = nullptr;
}

bool TPointerPresence::Enter() {
  over_ = true;
  if (inside_) return false;
  inside_ = true;
  return true;
}

bool TPointerPresence::Leave(bool captured) {
  over_ = false;
  if (captured || !inside_) return false;
  inside_ = false;
  return true;
}

}  // namespace zelk
