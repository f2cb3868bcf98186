// The active control, the DIB tab list, tab navigation and the keys routed
// to the active control.
#include "controls/DIBContainer.h"

#include <algorithm>

#include "dib/WinDIB.h"
#include "platform/Backend.h"
#include "platform/KeyCodes.h"
#include "toolkit/Form.h"
#include "toolkit/MessageViews.h"

namespace zelk {

namespace {

bool ShiftHeld() { return platform::Backend().Windows->IsKeyDown(vkShift); }

// Which dialog-key flag a key needs before a control may take it; 0: none.
uint32_t NeededDialogCode(uint16_t key) {
  switch (key) {
    case vkCancel:
    case vkReturn:
    case vkEscape:
    case vkExecute:
      return dlgcWantAllKeys;
    case vkTab:
      return dlgcWantTab;
    case vkLeft:
    case vkUp:
    case vkRight:
    case vkDown:
      return dlgcWantArrows;
    default:
      return 0;
  }
}

// The same for a character: the control characters that Tab, Return (also
// with Ctrl), Escape and Cancel type. Printable characters need nothing,
// also those whose code is a virtual key's ('%' is vkLeft, '+' vkExecute).
uint32_t NeededDialogCodeOfCharacter(uint8_t character) {
  switch (character) {
    case '\t':
      return dlgcWantTab;
    case '\r':
    case '\n':
    case 0x1B:  // Escape
    case 0x03:  // Cancel
      return dlgcWantAllKeys;
    default:
      return 0;
  }
}

}  // namespace

// --- the active control and the DIB tab list ---

void TCustomDIBContainer::SetActiveControl(TCustomDIBControl* control) {
  if (inActiveChange_) return;
  inActiveChange_ = true;
  try {
    if (control != activeControl_ && activeControl_ != nullptr) activeControl_->Perform(wmKillFocus);
    activeControl_ = control;
    if (control != nullptr) control->Perform(wmSetFocus);
    if (OnActiveControlChange) OnActiveControlChange(this);
  } catch (...) {
    inActiveChange_ = false;
    throw;
  }
  inActiveChange_ = false;
}

int TDIBTabList::IndexOf(const TCustomDIBControl* control) const {
  const auto found = std::find(controls_.begin(), controls_.end(), control);
  return found == controls_.end() ? -1 : static_cast<int>(found - controls_.begin());
}

void TDIBTabList::Place(TCustomDIBControl* control, int index) {
  Remove(control);
  if (index >= static_cast<int>(controls_.size())) {
    controls_.push_back(control);
  } else if (index >= 0) {
    controls_.insert(controls_.begin() + index, control);
  }
}

bool TDIBTabList::Remove(const TCustomDIBControl* control) { return std::erase(controls_, control) > 0; }

int TCustomDIBContainer::DIBTabIndex(const TCustomDIBControl* control) const { return tabList_.IndexOf(control); }

void TCustomDIBContainer::PlaceInTabList(TCustomDIBControl* control, int index) {
  if (index == DIBTabIndex(control)) return;
  tabList_.Place(control, index);
  SetTabStop(!tabList_.Empty());
}

void TCustomDIBContainer::RebuildTabList() {
  std::vector<TCustomDIBControl*> slots(ControlList().size(), nullptr);
  for (TControl* child : ControlList()) {
    TCustomDIBControl* control = AsDIBControl(child);
    if (control == nullptr || control->StoredDIBTabOrder() < 0) continue;
    const auto slot = static_cast<size_t>(control->StoredDIBTabOrder());
    if (slot >= slots.size()) slots.resize(slot + 1, nullptr);
    slots[slot] = control;
  }
  for (size_t slot = 0; slot < slots.size(); ++slot) {
    if (slots[slot] != nullptr) PlaceInTabList(slots[slot], static_cast<int>(slot));
  }
}

// Tab navigation walks one sequence: the DIB tab list, then the windowed
// children in their tab order.
int TCustomDIBContainer::CandidateIndex(const TControl* control) const {
  if (control == nullptr) return -1;
  if (control->Is<TCustomDIBControl>()) return DIBTabIndex(static_cast<const TCustomDIBControl*>(control));
  if (control->Parent() != this || !control->Is<TWinControl>()) return -1;
  return static_cast<const TWinControl*>(control)->TabOrder() + static_cast<int>(tabList_.Count());
}

bool TCustomDIBContainer::SelectNextDIB(bool goForward) { return SelectNextFrom(ActiveTabControl(), goForward); }

bool TCustomDIBContainer::SelectNextFrom(TControl* current, bool goForward) {
  std::vector<TControl*> sequence;
  for (TCustomDIBControl* control : tabList_) {
    if (control->Enabled() && control->Visible()) sequence.push_back(control);
  }
  for (TWinControl* child : TabOrderList()) {
    if (child->Parent() == this && child->TabStop() && child->CanFocus()) sequence.push_back(child);
  }
  const int currentIndex = CandidateIndex(current);
  TControl* result = nullptr;
  if (goForward) {
    for (TControl* candidate : sequence) {
      if (CandidateIndex(candidate) > currentIndex) {
        result = candidate;
        break;
      }
    }
  } else if (currentIndex >= 0) {
    for (auto it = sequence.rbegin(); it != sequence.rend(); ++it) {
      if (CandidateIndex(*it) < currentIndex) {
        result = *it;
        break;
      }
    }
  }
  if (TCustomDIBControl* control = AsDIBControl(result)) {
    SetActiveControl(control);
  } else {
    SetActiveControl(nullptr);
    if (result != nullptr) static_cast<TWinControl*>(result)->SetFocus();
  }
  return result != nullptr;
}

// --- keys and focus ---

bool TCustomDIBContainer::TakesKey(TMessage& message) {
  if (activeControl_ == nullptr) return false;
  if (message.Msg == wmKeyDown && activeControl_->IsDIBShortCut(message)) return false;
  if (HasState(csDesigning)) return true;
  const uint16_t key = KeyOf(message).Key;
  if (Send(*activeControl_, ChildKeyMessage(key, activeControl_)) != 0) return false;
  const uint32_t needed = message.Msg == wmChar ? NeededDialogCodeOfCharacter(static_cast<uint8_t>(key))
                                                : NeededDialogCode(key);
  if (needed == 0) return true;
  const auto code = static_cast<uint32_t>(Send(*activeControl_, DialogCodeMessage(&message)));
  return (code & dlgcWantAllKeys) != 0 || (code & needed) != 0;
}

bool TCustomDIBContainer::ForwardKey(TMessage& message) {
  if (!TakesKey(message)) return false;
  message.Result = Send(*activeControl_, message);
  return true;
}

void TCustomDIBContainer::WMKeyDown(TMessage& message) {
  if (ForwardKey(message)) return;
  if (KeyOf(message).Key == vkTab && (!tabList_.Empty() || activeControl_ != nullptr)) {
    if (SelectNextDIB(!ShiftHeld())) return;
  }
  TCustomPanel::WMKeyDown(message);
  // A handler may have changed the key.
  if (const TKeyMessageView key = KeyOf(message); key.Key == vkTab) {
    // The focus leaves the container as the form moves it on.
    if (TCustomForm* form = GetParentForm(this)) Send(*form, KeyMessage(cmDialogKey, key.Key, key.KeyData));
  }
}

void TCustomDIBContainer::WMKeyUp(TMessage& message) {
  if (!ForwardKey(message)) TCustomPanel::WMKeyUp(message);
}

void TCustomDIBContainer::WMChar(TMessage& message) {
  if (!ForwardKey(message)) TCustomPanel::WMChar(message);
}

void TCustomDIBContainer::WMSetFocus(TMessage& message) {
  TCustomPanel::WMSetFocus(message);
  if (activeControl_ != nullptr || tabList_.Empty()) return;
  if (ShiftHeld()) {
    // Backwards from a windowed child: the candidate before it. Backwards
    // from elsewhere: the last candidate, the last windowed tab stop first.
    TControl* losing = ControlOf(message);
    if (losing != nullptr && losing->Parent() == this && losing->Is<TWinControl>()) {
      SelectNextFrom(losing, false);
      return;
    }
    if (TWinControl* last = LastWindowedTabStop()) {
      last->SetFocus();
      return;
    }
  }
  const bool backward = ShiftHeld();
  TCustomDIBControl* first = nullptr;
  for (TCustomDIBControl* control : tabList_) {
    if (!control->Enabled() || !control->Visible()) continue;
    first = control;
    if (!backward) break;
  }
  if (first != nullptr) SetActiveControl(first);
}

TWinControl* TCustomDIBContainer::LastWindowedTabStop() const {
  TWinControl* last = nullptr;
  for (TWinControl* child : TabOrderList()) {
    if (child->Parent() == this && child->TabStop() && child->CanFocus()) last = child;
  }
  return last;
}

TControl* TCustomDIBContainer::ActiveTabControl() const {
  if (activeControl_ != nullptr) return activeControl_;
  TWinControl* focused = FocusedWinControl();
  return focused != nullptr && focused->Parent() == this ? focused : nullptr;
}

void TCustomDIBContainer::WMKillFocus(TMessage& message) {
  SetActiveControl(nullptr);
  TCustomPanel::WMKillFocus(message);
}

void TCustomDIBContainer::DoEnter() { TCustomPanel::DoEnter(); }

void TCustomDIBContainer::DoExit() { TCustomPanel::DoExit(); }

void TCustomDIBContainer::CMFocusChanged(TMessage& message) {
  TControl* focused = ControlOf(message);
  if (focused != this && focused != nullptr) {
    if (TCustomDIBControl* control = AsDIBControl(focused); control != nullptr && control->Parent() == this) {
      SetActiveControl(control);
    } else if (focused->Parent() == this && focused->Is<TWinControl>()) {
      // A windowed child that takes the focus becomes the active one: the
      // DIB focus goes, and tab navigation continues from it.
      SetActiveControl(nullptr);
    } else if (activeControl_ != nullptr) {
      SetActiveControl(nullptr);
    }
  }
  Broadcast(message);
}

}  // namespace zelk
