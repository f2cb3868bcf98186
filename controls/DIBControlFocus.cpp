// The DIB focus and the control's place in its container's DIB tab list.
#include "controls/DIBControl.h"

#include "controls/DIBContainer.h"

namespace zelk {

TTabOrder TCustomDIBControl::DIBTabOrder() const {
  const TCustomDIBContainer* container = Container();
  return container != nullptr ? static_cast<TTabOrder>(container->DIBTabIndex(this)) : TTabOrder{-1};
}

void TCustomDIBControl::SetDIBTabOrder(TTabOrder order) {
  TCustomDIBContainer* container = Container();
  if (container == nullptr || HasState(csLoading)) {
    dibTabOrder_ = order;
    return;
  }
  container->PlaceInTabList(this, order);
  dibTabOrder_ = static_cast<TTabOrder>(container->DIBTabIndex(this));
}

void TCustomDIBControl::Click() {
  TControl::Click();
  if (focusOnClick_ && DIBTabOrder() >= 0 && !dibFocused_) Perform(wmSetFocus);
}

// --- DIB focus ---

void TCustomDIBControl::WMSetFocus(TMessage& message) {
  if (Enabled() && !dibFocused_) DoDIBEnter();
}

void TCustomDIBControl::WMKillFocus(TMessage& message) { DoDIBExit(); }

void TCustomDIBControl::DoDIBEnter() {
  const bool wasIdle = !dibFocused_ && !pointer_.Inside();
  dibFocused_ = true;
  if (TCustomDIBContainer* container = Container()) {
    container->SetActiveControl(this);
    if (container->CanFocus() && !container->Focused()) container->SetFocus();
  }
  if (wasIdle) DoActivate();
  if (OnEnter) OnEnter(this);
}

void TCustomDIBControl::DoDIBExit() {
  dibFocused_ = false;
  if (OnExit) OnExit(this);
  if (!dibFocused_ && !pointer_.Inside()) DoDeactivate();
}

void TCustomDIBControl::CMEnabledChanged(TMessage& message) {
  TControl::CMEnabledChanged(message);
  if (!Enabled() && dibFocused_) DoDIBExit();
}

}  // namespace zelk
