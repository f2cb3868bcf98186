// Mouse enter and leave that survive mouse capture, the pressed buttons and
// the message routing through the features.
#include "controls/DIBControl.h"

#include "controls/DIBFeature.h"

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
    case wmMouseMove:
      pressRepeat_.Follow(message);
      lastMousePosition_ = LParamToPoint(message.LParam);
      if (mouseOver_ && !mouseInside_) Perform(cmMouseEnter, 0, reinterpret_cast<intptr_t>(this));
      break;
    case wmLButtonUp:
      pressRepeat_.Stop();
      if (mouseInside_ && !mouseOver_) Perform(cmMouseLeave, 0, reinterpret_cast<intptr_t>(this));
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
  mouseOver_ = true;
  // Back over a capturing control that never reported its leave.
  if (mouseInside_) return;
  const bool wasIdle = !dibFocused_;
  mouseInside_ = true;
  if (wasIdle) DoActivate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCustomDIBControl::DoMouseLeave() {
  mouseOver_ = false;
  // A capturing control completes its leave at the release.
  if (MouseCapture()) return;
  if (!mouseInside_) return;
  mouseInside_ = false;
  if (OnMouseLeave) OnMouseLeave(this);
  if (!dibFocused_ && !mouseInside_) DoDeactivate();
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
  if (button == TMouseButton::mbLeft && mouseInside_ && !mouseOver_) DoMouseLeave();
}

}  // namespace zelk
