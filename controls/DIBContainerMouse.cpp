// The mouse: a release outside the capturing child and the cursor.
#include "controls/DIBContainer.h"

namespace zelk {

// --- mouse ---

void TCustomDIBContainer::WndProc(TMessage& message) {
  if (message.Msg == wmLButtonUp) {
    TControl* capture = CaptureControl();
    if (capture != nullptr && capture != this && capture->Parent() == this) {
      const TPoint point = LParamToPoint(message.LParam);
      if (!capture->BoundsRect().Contains(point)) {
        capture->Perform(cmMouseLeave, 0, reinterpret_cast<intptr_t>(capture));
        TControl* under = ControlAtPos(point, false);
        if (under != nullptr && under != capture) under->Perform(cmMouseEnter, 0, reinterpret_cast<intptr_t>(under));
      }
    }
  }
  TCustomPanel::WndProc(message);
}

void TCustomDIBContainer::WMSetCursor(TMessage& message) {
  auto* control = reinterpret_cast<TControl*>(message.WParam);
  if (!HasState(csDesigning) && control != nullptr && control != this && control->Parent() == this &&
      control->Perform(wmSetCursor, message.WParam, message.LParam) == 1) {
    message.Result = 1;
    return;
  }
  TCustomPanel::WMSetCursor(message);
}

}  // namespace zelk
