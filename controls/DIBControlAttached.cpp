// Attached controls: they move with the control.
#include "controls/DIBControl.h"

#include "controls/ControlList.h"

namespace zelk {

void TCustomDIBControl::MoveAttachedControls(int32_t deltaX, int32_t deltaY) {
  if (!attachedControls_) return;
  for (int index = 0; index < attachedControls_->Count(); ++index) {
    TControl* control = attachedControls_->Item(index)->Control();
    if (control == nullptr) continue;
    control->SetBounds(control->Left() + deltaX, control->Top() + deltaY, control->Width(), control->Height());
  }
}

}  // namespace zelk
