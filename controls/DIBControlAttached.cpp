// Attached controls: they move with the control.
#include "controls/DIBControl.h"

#include "controls/ControlList.h"

namespace zelk {

TAttachedControls::TAttachedControls(TComponent* owner) : list_(New<TControlList>(owner)) {}

TAttachedControls::~TAttachedControls() = default;

void TAttachedControls::MoveBy(int32_t deltaX, int32_t deltaY) const {
  for (int index = 0; index < list_->Count(); ++index) {
    TControl* control = list_->Item(index)->Control();
    if (control == nullptr) continue;
    control->SetBounds(control->Left() + deltaX, control->Top() + deltaY, control->Width(), control->Height());
  }
}

void TAttachedControls::Forget(TComponent* component) const { list_->RemoveControl(component); }

}  // namespace zelk
