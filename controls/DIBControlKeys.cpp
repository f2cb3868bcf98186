// Keys routed to the control by its container, its dialog code, shortcuts
// and the accelerator.
#include "controls/DIBControl.h"

#include "platform/KeyCodes.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageViews.h"
#include "toolkit/Toolkit.h"

namespace zelk {

// --- keys ---

namespace {

bool FormPreviews(TControl& control, bool (TWinControl::*handler)(TMessage&), TMessage& message) {
  TCustomForm* form = GetParentForm(&control);
  return form != nullptr && form->KeyPreview() && (form->*handler)(message);
}

}  // namespace

bool TCustomDIBControl::DoDIBKeyDown(TMessage& message) {
  if (FormPreviews(*this, &TWinControl::DoKeyDown, message)) return true;
  const TKeyMessageView view = KeyOf(message);
  shiftState_ = view.Shift();
  if (HasControlStyle(csNoStdEvents)) return false;
  uint16_t key = view.Key;
  if (OnKeyDown) OnKeyDown(this, key, shiftState_);
  SetKey(message, key);
  return key == 0;
}

bool TCustomDIBControl::DoDIBKeyUp(TMessage& message) {
  if (FormPreviews(*this, &TWinControl::DoKeyUp, message)) return true;
  const TKeyMessageView view = KeyOf(message);
  shiftState_ = view.Shift();
  if (HasControlStyle(csNoStdEvents)) return false;
  uint16_t key = view.Key;
  if (OnKeyUp) OnKeyUp(this, key, shiftState_);
  SetKey(message, key);
  return key == 0;
}

bool TCustomDIBControl::DoDIBKeyPress(TMessage& message) {
  if (FormPreviews(*this, &TWinControl::DoKeyPress, message)) return true;
  if (HasControlStyle(csNoStdEvents)) return false;
  char key = KeyOf(message).Character();
  if (OnKeyPress) OnKeyPress(this, key);
  SetCharacter(message, key);
  return key == '\0';
}

void TCustomDIBControl::WMKeyDown(TMessage& message) {
  if (!DoDIBKeyDown(message)) DefaultHandler(message);
}

void TCustomDIBControl::WMKeyUp(TMessage& message) {
  if (!DoDIBKeyUp(message)) DefaultHandler(message);
}

void TCustomDIBControl::WMChar(TMessage& message) {
  if (!DoDIBKeyPress(message)) DefaultHandler(message);
}

void TCustomDIBControl::WMGetDlgCode(TMessage& message) {
  if (wantKeys_.Contains(TWantKey::wkAll)) {
    message.Result = dlgcWantAllKeys;
    return;
  }
  intptr_t code = 0;
  if (wantKeys_.Contains(TWantKey::wkTab)) code |= dlgcWantTab;
  if (wantKeys_.Contains(TWantKey::wkArrows)) code |= dlgcWantArrows;
  message.Result = code;
}

bool TCustomDIBControl::IsDIBShortCut(TMessage& message) {
  if (HasState(csDesigning)) return false;
  for (TControl* control = this; control != nullptr; control = control->Parent()) {
    TPopupMenu* menu = control->GetPopupMenu();
    if (menu != nullptr && menu->IsShortCut(message)) return true;
  }
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form->IsShortCut(message)) return true;
  return IsApplicationShortCut(message);
}

void TCustomDIBControl::CMDialogChar(TMessage& message) {
  const TKeyMessageView view = KeyOf(message);
  shiftState_ = view.Shift();
  if (accelerator_ != '\0' && view.Character() == accelerator_ && Enabled() && Visible() && view.AltDown() &&
      Parent() != nullptr && Parent()->CanFocus()) {
    Click();
    message.Result = 1;  // taken: the character goes no further
    return;
  }
  DefaultHandler(message);
}

}  // namespace zelk
