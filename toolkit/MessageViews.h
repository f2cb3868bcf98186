// Typed views over TMessage: the one place that knows how a message's two
// parameters carry points, keys and controls (the table in Messages.h).
// Handlers read a message through MouseOf, KeyOf or ControlOf and senders
// build one with the matching ...Message function, so no other code casts
// WParam or LParam to a point or a pointer.
#pragma once

#include <cstdint>

#include "runtime/Types.h"
#include "toolkit/Messages.h"

namespace zelk {

class TControl;

// --- mouse messages (wmMouseMove up to wmMouseWheel, cmHitTest) ---

struct TMouseMessageView {
  uint32_t Keys = 0;       // mk... flags
  TPoint Point;            // in the client area of the control it is for
  int32_t WheelDelta = 0;  // wmMouseWheel only
  TShiftState Shift() const { return KeysToShiftState(Keys); }
};

TMouseMessageView MouseOf(const TMessage& message);
// A mouse message of code at point; wheelDelta is the turn of wmMouseWheel.
TMessage MouseMessage(uint32_t code, uint32_t keys, TPoint point, int32_t wheelDelta = 0);
// Gives a mouse message mouse's keys and point, as when it is routed into a
// child or a stored press follows the moves.
void SetMouse(TMessage& message, const TMouseMessageView& mouse);
// cmHitTest asked about point (the control's own coordinates).
TMessage HitTestMessage(TPoint point);

// --- key messages (wmKeyDown, wmKeyUp, wmChar, cmDialogKey, cmDialogChar) ---

struct TKeyMessageView {
  uint16_t Key = 0;       // virtual key, or the character's byte
  intptr_t KeyData = 0;   // kd... flags and the repeat count
  char Character() const { return static_cast<char>(Key); }
  bool AltDown() const { return (static_cast<uint32_t>(KeyData) & kdAltDown) != 0; }
  // Shift and Ctrl as held now, Alt from the key data.
  TShiftState Shift() const { return KeyDataToShiftState(KeyData); }
};

TKeyMessageView KeyOf(const TMessage& message);
TMessage KeyMessage(uint32_t code, uint16_t key, intptr_t keyData);
// Writes back a key a handler changed (0: used up); characters as their byte.
void SetKey(TMessage& message, uint16_t key);
void SetCharacter(TMessage& message, char character);

// --- messages naming a control ---

// The control a message names: the one losing or taking the focus
// (wmSetFocus, wmKillFocus), under the cursor (wmSetCursor), entered or left
// (cmMouseEnter, cmMouseLeave), the key is for (cmChildKey), holding the
// focus now (cmFocusChanged) or taking the capture (wmCaptureChanged); null
// for other codes.
TControl* ControlOf(const TMessage& message);
// A message of code naming control, in the parameter that code keeps it in.
TMessage ControlMessage(uint32_t code, TControl* control);
// wmSetCursor for the control under the cursor at point (client area).
TMessage CursorMessage(TControl* control, TPoint point);
// cmChildKey: key offered to control's parents first.
TMessage ChildKeyMessage(uint16_t key, TControl* control);

// --- wmGetDlgCode ---

// Asks which keys a control handles itself; asked is the key message in
// question, or none.
TMessage DialogCodeMessage(TMessage* asked = nullptr);
TMessage* AskedKeyOf(const TMessage& message);

// Sends message to target and answers its result.
intptr_t Send(TControl& target, TMessage message);

}  // namespace zelk
