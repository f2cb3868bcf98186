// The mouse: a release outside the capturing child and the cursor.
#include "controls/DIBContainer.h"

#include "toolkit/MessageViews.h"
#include "toolkit/PointerState.h"

namespace zelk {

// --- mouse ---

void TCustomDIBContainer::WndProc(TMessage& message) {
  // The capturing child hears of a release outside it before the release.
  if (message.Msg == wmLButtonUp) PointerState().ReleasedAt(*this, MouseOf(message).Point);
  TCustomPanel::WndProc(message);
}

void TCustomDIBContainer::WMSetCursor(TMessage& message) {
  TControl* control = ControlOf(message);
  if (!HasState(csDesigning) && control != nullptr && control != this && control->Parent() == this &&
      Send(*control, message) == 1) {
    message.Result = 1;
    return;
  }
  TCustomPanel::WMSetCursor(message);
}

}  // namespace zelk
