// The pointer as the toolkit tracks it, in one place: the control under it
// (hover), the control holding the capture, what entering and leaving tell
// whom, and the release outside a capturing control.
//
// - The control the pointer comes over hears cmMouseEnter, the one it left
//   cmMouseLeave; while a control holds the capture only it hears them.
// - A left release outside the capturing child of a window: the child hears
//   cmMouseLeave and the control under the pointer cmMouseEnter (the image
//   container asks for this before its children see the release).
// - A control that reports enter and leave itself keeps a TPointerPresence:
//   a capturing control stays inside while the pointer is away and completes
//   its leave at the release, so it reports one leave, at the release.
//
// Window thread only; controls forget themselves here when they go.
#pragma once

#include "runtime/Types.h"

namespace zelk {

class TControl;
class TWinControl;

class TPointerState {
 public:
  TControl* Hover() const { return hover_; }
  TControl* Capture() const { return capture_; }
  bool Captures(const TControl& control) const { return capture_ == &control; }

  // control takes the capture of window's native window; Release gives it up
  // when control holds it.
  void SetCapture(TControl& control, TWinControl& window);
  void Release(const TControl& control);
  // The capture went with window's native window (lost to another, or the
  // window was destroyed): a holder among window and its children is told
  // wmCaptureChanged unless it is going itself.
  void CaptureLost(const TWinControl& window);

  // The pointer is over target now; none: outside the window.
  void MoveOver(TControl* target);
  // Whether the hovered control is window or one of its children.
  bool HoversIn(const TWinControl& window) const;
  // A left release at point of window (client coordinates).
  void ReleasedAt(TWinControl& window, TPoint point);

  // control goes: it holds neither hover nor capture any more.
  void Forget(const TControl& control);
  // window's native window went: its capture is lost (CaptureLost) and
  // nothing of it or its children is hovered.
  void ForgetWindow(const TWinControl& window);

 private:
  TControl* hover_ = nullptr;
  TControl* capture_ = nullptr;
};

TPointerState& PointerState();

// What one control has reported of the pointer: Over while the pointer is
// over it, Inside from its enter report to its leave report.
class TPointerPresence {
 public:
  bool Over() const { return over_; }
  bool Inside() const { return inside_; }
  // cmMouseEnter arrived: true when the control reports entering now (it
  // was not inside already, as a capturing control coming back is).
  bool Enter();
  // cmMouseLeave arrived or the capture ended: true when the control
  // reports leaving now; a captured control defers it to the release.
  bool Leave(bool captured);
  // Over but not yet reported inside: the next move reports the enter.
  bool EnterPending() const { return over_ && !inside_; }
  // Left during the capture and not yet reported: the release reports it.
  bool LeavePending() const { return inside_ && !over_; }
  void Clear() { over_ = inside_ = false; }

 private:
  bool over_ = false;
  bool inside_ = false;
};

}  // namespace zelk
