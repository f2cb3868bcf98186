#include "toolkit/MessageViews.h"

#include "toolkit/Control.h"

namespace zelk {

namespace {

// Which parameter of a message names a control.
enum class TControlSlot : uint8_t { csNone, csWParam, csLParam };

TControlSlot ControlSlotOf(uint32_t code) {
  switch (code) {
    case wmSetFocus:
    case wmKillFocus:
    case wmSetCursor:
      return TControlSlot::csWParam;
    case cmMouseEnter:
    case cmMouseLeave:
    case cmChildKey:
    case cmFocusChanged:
    case wmCaptureChanged:
      return TControlSlot::csLParam;
    default:
      return TControlSlot::csNone;
  }
}

}  // namespace

TMouseMessageView MouseOf(const TMessage& message) {
  TMouseMessageView view;
  view.Point = LParamToPoint(message.LParam);
  if (message.Msg == wmMouseWheel) {
    view.Keys = WheelKeysOf(message.WParam);
    view.WheelDelta = WheelDeltaOf(message.WParam);
  } else {
    view.Keys = static_cast<uint32_t>(message.WParam);
  }
  return view;
}

TMessage MouseMessage(uint32_t code, uint32_t keys, TPoint point, int32_t wheelDelta) {
  TMessage message{code, 0, 0, 0};
  SetMouse(message, {keys, point, wheelDelta});
  return message;
}

void SetMouse(TMessage& message, const TMouseMessageView& mouse) {
  message.WParam = message.Msg == wmMouseWheel ? WheelWParam(mouse.Keys, mouse.WheelDelta) : mouse.Keys;
  message.LParam = PointToLParam(mouse.Point);
}

TMessage HitTestMessage(TPoint point) { return {cmHitTest, 0, PointToLParam(point), 0}; }

TKeyMessageView KeyOf(const TMessage& message) {
  return {static_cast<uint16_t>(message.WParam), message.LParam};
}

TMessage KeyMessage(uint32_t code, uint16_t key, intptr_t keyData) { return {code, key, keyData, 0}; }

void SetKey(TMessage& message, uint16_t key) { message.WParam = key; }

void SetCharacter(TMessage& message, char character) { message.WParam = static_cast<uint8_t>(character); }

TControl* ControlOf(const TMessage& message) {
  switch (ControlSlotOf(message.Msg)) {
    case TControlSlot::csWParam:
      return reinterpret_cast<TControl*>(message.WParam);
    case TControlSlot::csLParam:
      return reinterpret_cast<TControl*>(message.LParam);
    default:
      return nullptr;
  }
}

TMessage ControlMessage(uint32_t code, TControl* control) {
  TMessage message{code, 0, 0, 0};
  switch (ControlSlotOf(code)) {
    case TControlSlot::csWParam:
      message.WParam = reinterpret_cast<uintptr_t>(control);
      break;
    case TControlSlot::csLParam:
      message.LParam = reinterpret_cast<intptr_t>(control);
      break;
    default:
      break;
  }
  return message;
}

TMessage CursorMessage(TControl* control, TPoint point) {
  TMessage message = ControlMessage(wmSetCursor, control);
  message.LParam = PointToLParam(point);
  return message;
}

TMessage ChildKeyMessage(uint16_t key, TControl* control) {
  TMessage message = ControlMessage(cmChildKey, control);
  message.WParam = key;
  return message;
}

TMessage DialogCodeMessage(TMessage* asked) { return {wmGetDlgCode, 0, reinterpret_cast<intptr_t>(asked), 0}; }

TMessage* AskedKeyOf(const TMessage& message) {
  return message.Msg == wmGetDlgCode ? reinterpret_cast<TMessage*>(message.LParam) : nullptr;
}

intptr_t Send(TControl& target, TMessage message) {
  target.Perform(message);
  return message.Result;
}

}  // namespace zelk
