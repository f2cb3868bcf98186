// Mouse enter and leave that survive mouse capture, the pressed buttons and
// the message routing through the features.
#include "controls/DIBControl.h"

#include "controls/DIBFeature.h"
#include "toolkit/MessageViews.h"

namespace zelk {

// --- mouse ---

void TCustomDIBControl::WndProc(TMessage& message) {
  if (HasState(csDesigning)) {
    TControl::WndProc(message);
    return;
  }
  const bool handledByFeature = dibFeatures_->RouteMessage(message);
  switch (message.Msg) {
    case wmLButtonDown:
      pressRepeat_.Press(message);
      break;
    case wmMouseMove: {
      // A repeat re-sends the press at the latest position and keys.
      const TMouseMessageView mouse = MouseOf(message);
      pressRepeat_.Follow(mouse);
      lastMousePosition_ = mouse.Point;
      if (pointer_.EnterPending()) Send(*this, ControlMessage(cmMouseEnter, this));
      break;
    }
    case wmLButtonUp:
      pressRepeat_.Stop();
      if (pointer_.LeavePending()) Send(*this, ControlMessage(cmMouseLeave, this));
      break;
    case cmMouseEnter:
      DoMouseEnter();
      if (MouseCapture()) {
        pressRepeat_.Resume();
        return;
      }
      break;
    case cmMouseLeave:
      pressRepeat_.Stop();
      DoMouseLeave();
      break;
    default:
      break;
  }
  // A feature that handled the message keeps it from the toolkit's handling.
  if (!handledByFeature) TControl::WndProc(message);
}

void TCustomDIBControl::DoMouseEnter() {
  // Back over a capturing control that never reported its leave: no report.
  if (!pointer_.Enter()) return;
  if (!dibFocused_) DoActivate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCustomDIBControl::DoMouseLeave() {
  // A capturing control completes its leave at the release.
  if (!pointer_.Leave(MouseCapture())) return;
  if (OnMouseLeave) OnMouseLeave(this);
  if (!dibFocused_ && !pointer_.Inside()) DoDeactivate();
}

void TCustomDIBControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  shiftState_ = shift;
  buttonsDown_.Include(button);
  if (focusOnClick_ && DIBTabOrder() >= 0) Perform(wmSetFocus);
  TControl::MouseDown(button, shift, x, y);
}

void TCustomDIBControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  buttonsDown_.Exclude(button);
  TControl::MouseUp(button, shift, x, y);
  if (button == TMouseButton::mbLeft && pointer_.LeavePending()) DoMouseLeave();
}

}  // namespace zelk
