#include "controls/DIBContainer.h"

#include "dib/WinDIB.h"

namespace zelk {

const TMessageTable& TCustomDIBContainer::StaticMessages() {
  static const TMessageTable table = TMessageTableBuilder<TCustomDIBContainer>()
                                         .On<&TCustomDIBContainer::WMPaint>(wmPaint)
                                         .On<&TCustomDIBContainer::WMGetDlgCode>(wmGetDlgCode)
                                         .On<&TCustomDIBContainer::WMKeyDown>(wmKeyDown)
                                         .On<&TCustomDIBContainer::WMKeyUp>(wmKeyUp)
                                         .On<&TCustomDIBContainer::WMChar>(wmChar)
                                         .On<&TCustomDIBContainer::WMSetFocus>(wmSetFocus)
                                         .On<&TCustomDIBContainer::WMKillFocus>(wmKillFocus)
                                         .On<&TCustomDIBContainer::WMSetCursor>(wmSetCursor)
                                         .On<&TCustomDIBContainer::CMFocusChanged>(cmFocusChanged)
                                         .Build();
  return table;
}

TCustomDIBContainer::TCustomDIBContainer(TComponent* owner) : TCustomPanel(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  buffer_.reset(New<TWinDIB>());
  SetTabStop(false);
  SetBorderWidth(0);
  SetBevelOuter(TPanelBevel::bvNone);
}

TCustomDIBContainer::~TCustomDIBContainer() = default;

// --- settings ---

void TCustomDIBContainer::SetBorderDrawPosition(TBorderDrawPosition position) {
  borderDrawPosition_ = position;
  Invalidate();
}

void TCustomDIBContainer::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  TCustomPanel::SetBounds(left, top, width, height);
  if (buffer_ && !HasState(csLoading) && Width() > 0 && Height() > 0) {
    buffer_->SetSize(static_cast<uint16_t>(Width()), static_cast<uint16_t>(Height()));
  }
}

void TCustomDIBContainer::LoadingFinished() {
  TCustomPanel::LoadingFinished();
  if (Width() > 0 && Height() > 0) buffer_->SetSize(static_cast<uint16_t>(Width()), static_cast<uint16_t>(Height()));
  RebuildTabList();
  Realign();
}

void TCustomDIBContainer::RemoveControl(TControl* control) {
  if (TCustomDIBControl* dibControl = AsDIBControl(control); dibControl != nullptr && control->Parent() == this) {
    ForgetControl(*dibControl);
  }
  TCustomPanel::RemoveControl(control);
}

// A child leaves the tab list and the DIB focus as it leaves the container:
// freed (whoever owns it), moved to another parent or left without one.
void TCustomDIBContainer::ForgetControl(TCustomDIBControl& control) {
  if (tabList_.Remove(&control)) SetTabStop(!tabList_.Empty());
  if (activeControl_ != &control) return;
  activeControl_ = nullptr;
  // A control being freed hears nothing more, and tells nobody.
  if (control.HasState(csDestroying)) return;
  control.Perform(wmKillFocus);
  if (!HasState(csDestroying) && OnActiveControlChange) OnActiveControlChange(this);
}

void TCustomDIBContainer::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation != TOperation::opRemove || component == this || HasState(csDestroying)) return;
  if (auto* control = component->Is<TCustomDIBControl>() ? static_cast<TCustomDIBControl*>(component) : nullptr) {
    tabList_.Remove(control);
    if (control == activeControl_) activeControl_ = nullptr;
    SetTabStop(!tabList_.Empty());
  }
  if (dibBorder_ != nullptr && component == BorderComponent()) SetDIBBorder(nullptr);
}

}  // namespace zelk
