// TWinControl: window events into messages, mouse routing and tracking,
// keys, focus and tab order.
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

#include "platform/Backend.h"
#include "platform/KeyCodes.h"
#include "runtime/Application.h"
#include "runtime/Exceptions.h"
#include "runtime/SystemCodePage.h"
#include "toolkit/Form.h"
#include "toolkit/HintWindow.h"
#include "toolkit/InputState.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageViews.h"
#include "toolkit/PointerState.h"
#include "toolkit/Toolkit.h"
#include "toolkit/WinControl.h"

namespace zelk {

namespace {

constexpr char kCannotFocus[] = "Cannot focus a disabled or invisible window";

using platform::TWindowEvent;
using platform::TWindowEventKind;

platform::TWindowSystem& Windows() { return *platform::Backend().Windows; }

uint32_t MouseKeys(uint32_t modifiers) {
  uint32_t keys = 0;
  if (modifiers & platform::mfLeftButton) keys |= mkLButton;
  if (modifiers & platform::mfRightButton) keys |= mkRButton;
  if (modifiers & platform::mfMiddleButton) keys |= mkMButton;
  if (modifiers & platform::mfShift) keys |= mkShift;
  if (modifiers & platform::mfControl) keys |= mkControl;
  if (modifiers & platform::mfAlt) keys |= mkAlt;
  return keys;
}

// A second left press within this time and distance of the first is a
// double click (the usual settings of desktop systems).
constexpr uint32_t kDoubleClickTime = 500;
constexpr int32_t kDoubleClickDistance = 4;

// Whether a left press at point of window completes a double click; it
// becomes the first press of the next one otherwise.
bool IsDoubleClick(TWinControl* window, TPoint point) {
  TInputState& state = InputState();
  const uint32_t now = Windows().TickCount();
  const bool twice = state.PressWindow == window && now - state.PressTime <= kDoubleClickTime &&
                     std::abs(point.X - state.PressPoint.X) <= kDoubleClickDistance &&
                     std::abs(point.Y - state.PressPoint.Y) <= kDoubleClickDistance;
  // A third press starts over rather than making a second double click.
  state.PressWindow = twice ? nullptr : window;
  state.PressPoint = point;
  state.PressTime = now;
  return twice;
}

uint32_t ButtonMessage(const TWindowEvent& event) {
  const bool down = event.Kind == TWindowEventKind::ekMouseDown;
  switch (event.Button) {
    case TMouseButton::mbRight:
      return down ? wmRButtonDown : wmRButtonUp;
    case TMouseButton::mbMiddle:
      return down ? wmMButtonDown : wmMButtonUp;
    default:
      return down ? wmLButtonDown : wmLButtonUp;
  }
}

intptr_t KeyData(const TWindowEvent& event) {
  uint32_t data = 1;  // one repetition
  if (event.Modifiers & platform::mfAlt) data |= kdAltDown;
  if (event.Kind == TWindowEventKind::ekKeyUp) data |= kdWasDown | kdReleased;
  return static_cast<intptr_t>(data);
}

// The dialog-code flag a key needs for the control to keep it from the form.
uint32_t DialogKeyMask(uint16_t key) {
  switch (key) {
    case vkTab:
      return dlgcWantTab;
    case vkLeft:
    case vkRight:
    case vkUp:
    case vkDown:
      return dlgcWantArrows;
    case vkReturn:
    case vkExecute:
    case vkEscape:
    case vkCancel:
      return dlgcWantAllKeys;
    default:
      return 0;
  }
}

platform::TCursorShape ShapeOf(TCursor cursor) {
  using platform::TCursorShape;
  switch (cursor) {
    case crNone: return TCursorShape::csNone;
    case crCross: return TCursorShape::csCross;
    case crIBeam: return TCursorShape::csIBeam;
    case crSizeNESW: return TCursorShape::csSizeNESW;
    case crSizeNS: return TCursorShape::csSizeNS;
    case crSizeNWSE: return TCursorShape::csSizeNWSE;
    case crSizeWE: return TCursorShape::csSizeWE;
    case crUpArrow: return TCursorShape::csUpArrow;
    case crHourGlass: return TCursorShape::csWait;
    case crNo: return TCursorShape::csNo;
    case crAppStart: return TCursorShape::csAppStart;
    case crHelp: return TCursorShape::csHelp;
    case crHandPoint: return TCursorShape::csHandPoint;
    case crSizeAll: return TCursorShape::csSizeAll;
    default: return TCursorShape::csArrow;
  }
}

// Disabled controls, and controls of disabled parents, take no input.
bool TakesInput(const TControl* control) {
  for (; control != nullptr; control = control->Parent()) {
    if (!control->Enabled()) return false;
  }
  return true;
}

TControl* TopParent(TControl* control) {
  while (control->Parent() != nullptr) control = control->Parent();
  return control;
}

}  // namespace

TWinControl* FocusedWinControl() { return InputState().Focus; }

TCustomForm* GetParentForm(const TControl* control) {
  if (control == nullptr) return nullptr;
  while (control->Parent() != nullptr) control = control->Parent();
  return control->Is<TCustomForm>() ? const_cast<TCustomForm*>(static_cast<const TCustomForm*>(control)) : nullptr;
}

// --- Window events ---

void TWinControl::HandleWindowEvent(TNativeWindow window, const TWindowEvent& event) {
  if (window != handle_) return;
  try {
    switch (event.Kind) {
      case TWindowEventKind::ekPaint:
        updateRect_ = event.Area;
        Perform(wmPaint);
        break;
      case TWindowEventKind::ekMouseMove:
      case TWindowEventKind::ekMouseDown:
      case TWindowEventKind::ekMouseUp:
      case TWindowEventKind::ekMouseWheel:
        HandleMouseEvent(event);
        break;
      case TWindowEventKind::ekMouseLeave:
        if (PointerState().HoversIn(*this)) {
          CancelHint();
          TrackMouse({-1, -1});
        }
        break;
      case TWindowEventKind::ekKeyDown:
      case TWindowEventKind::ekKeyUp:
        HandleKeyEvent(event);
        break;
      case TWindowEventKind::ekChar:
        HandleCharEvent(event);
        break;
      case TWindowEventKind::ekFocusIn:
        Send(*this, ControlMessage(wmSetFocus, std::exchange(InputState().LosingFocus, nullptr)));
        break;
      case TWindowEventKind::ekFocusOut:
        Perform(wmKillFocus);
        break;
      case TWindowEventKind::ekCaptureLost:
        if (TControl* source = InputState().DragSource) source->EndDrag(false);
        PointerState().CaptureLost(*this);
        break;
      case TWindowEventKind::ekTimer:
        if (event.Code == kHintTimerId) {
          HintTimerFired(*this);
        } else {
          Perform(wmTimer, event.Code);
        }
        break;
      case TWindowEventKind::ekDestroyed:
        HandleWindowGone();
        break;
    }
  } catch (...) {
    Application().HandleException();
  }
}

void TWinControl::HandleMouseEvent(const TWindowEvent& event) {
  if (!TakesInput(this)) return;
  const TPoint point = event.Point;
  const bool dragReleased = InputState().DragSource != nullptr && event.Kind == TWindowEventKind::ekMouseUp &&
                            event.Button == TMouseButton::mbLeft;
  if (InputState().DragSource != nullptr && HandleDragMouse(*this, point, dragReleased)) return;
  TrackMouse(point);
  if (event.Kind == TWindowEventKind::ekMouseMove) {
    HintMouseMoved(*this, PointerState().Hover(), point);
  } else {
    CancelHint();
  }
  const uint32_t keys = MouseKeys(event.Modifiers);
  if (event.Kind == TWindowEventKind::ekMouseMove) {
    TControl* under = PointerState().Capture();
    if (under == nullptr) under = ControlAtPos(point, false);
    Send(*this, CursorMessage(under != nullptr ? under : this, point));
    Send(*this, MouseMessage(wmMouseMove, keys, point));
  } else if (event.Kind == TWindowEventKind::ekMouseWheel) {
    Send(*this, MouseMessage(wmMouseWheel, keys, point, event.WheelDelta));
  } else {
    if (event.Kind == TWindowEventKind::ekMouseDown && !Focused() && ClickTakesKeys(point)) {
      Windows().SetFocus(handle_);
    }
    uint32_t code = ButtonMessage(event);
    if (code == wmLButtonDown && IsDoubleClick(this, point) && MouseTarget(point)->HasControlStyle(csDoubleClicks)) {
      code = wmLButtonDblClk;
    }
    Send(*this, MouseMessage(code, keys, point));
  }
  if (TControl* source = InputState().DragSource; source != nullptr && dragReleased) source->EndDrag(true);
}

// Controls that type text or want every key take the keyboard focus when
// clicked; the others leave it with the host, whose keys (Return, Escape)
// keep working after a click on a knob.
TControl* TWinControl::MouseTarget(TPoint point) {
  if (TControl* capture = PointerState().Capture()) return capture;
  TControl* target = ControlAtPos(point, false);
  return target != nullptr ? target : this;
}

bool TWinControl::ClickTakesKeys(TPoint point) {
  TControl* target = MouseTarget(point);
  const auto code = static_cast<uint32_t>(target->Perform(wmGetDlgCode));
  return (code & (dlgcWantChars | dlgcWantAllKeys)) != 0;
}

void TWinControl::TrackMouse(TPoint point) {
  TControl* target = nullptr;
  if (ClientRect().Contains(point)) {
    target = ControlAtPos(point, true);
    if (target == nullptr) target = this;
  }
  PointerState().MoveOver(target);
}

void TWinControl::WndProc(TMessage& message) {
  if (IsMouseMessage(message.Msg) && IsControlMouseMsg(message)) return;
  TControl::WndProc(message);
}

bool TWinControl::IsControlMouseMsg(TMessage& message) {
  TControl* control = nullptr;
  TMouseMessageView mouse = MouseOf(message);
  const TPoint point = mouse.Point;
  if (TControl* capture = PointerState().Capture()) {
    if (capture->Parent() == this && !capture->Is<TWinControl>()) control = capture;
  } else {
    control = ControlAtPos(point, false);
  }
  if (control == nullptr) return false;
  TMessage routed = message;
  mouse.Point = {point.X - control->Left(), point.Y - control->Top()};
  SetMouse(routed, mouse);
  control->Perform(routed);
  message.Result = routed.Result;
  return true;
}

void TWinControl::WMSetCursor(TMessage& message) {
  TControl* control = ControlOf(message);
  TCursor cursor = control != nullptr ? control->Cursor() : crDefault;
  if (cursor == crDefault) cursor = Cursor();
  const platform::TCursorShape shape = ShapeOf(cursor);
  if (handle_ != 0 && shape != cursorShape_) {
    cursorShape_ = shape;
    Windows().SetCursor(handle_, shape);
  }
  message.Result = 1;
}

// --- Keys ---

void TWinControl::HandleKeyEvent(const TWindowEvent& event) {
  if (!TakesInput(this)) return;
  const auto key = static_cast<uint16_t>(event.Code);
  TMessage message = KeyMessage(event.Kind == TWindowEventKind::ekKeyDown ? wmKeyDown : wmKeyUp, key, KeyData(event));
  if (message.Msg == wmKeyDown) {
    CancelHint();
    if (TControl* source = InputState().DragSource; source != nullptr && key == vkEscape) {
      source->EndDrag(false);
      return;
    }
    if (IsMenuKey(message)) return;
    if (!HasState(csDesigning)) {
      if (Send(*this, ChildKeyMessage(key, this)) != 0) return;
      const uint32_t mask = DialogKeyMask(key);
      if (mask != 0) {
        const auto code = static_cast<uint32_t>(Send(*this, DialogCodeMessage(&message)));
        TCustomForm* form = GetParentForm(this);
        if ((code & (mask | dlgcWantAllKeys)) == 0 && form != nullptr &&
            Send(*form, KeyMessage(cmDialogKey, key, KeyOf(message).KeyData)) != 0) {
          return;
        }
      }
    }
  }
  Perform(message);
}

void TWinControl::HandleCharEvent(const TWindowEvent& event) {
  if (!TakesInput(this)) return;
  // Characters travel as one byte of the system code page; others are dropped.
  const std::string narrow = SystemCodePage().FromWide(std::u16string(1, static_cast<char16_t>(event.Code)));
  if (narrow.size() != 1) return;
  const auto character = static_cast<uint8_t>(narrow[0]);
  const intptr_t keyData = KeyData(event);
  if ((event.Modifiers & platform::mfAlt) != 0 && !HasState(csDesigning)) {
    if (Send(*TopParent(this), KeyMessage(cmDialogChar, character, keyData)) != 0) return;
  }
  Send(*this, KeyMessage(wmChar, character, keyData));
}

bool TWinControl::IsMenuKey(TMessage& message) {
  if (HasState(csDesigning)) return false;
  for (TControl* control = this; control != nullptr; control = control->Parent()) {
    if (TPopupMenu* menu = control->GetPopupMenu(); menu != nullptr && menu->IsShortCut(message)) return true;
  }
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form->IsShortCut(message)) return true;
  return IsApplicationShortCut(message);
}

void TWinControl::CMChildKey(TMessage& message) {
  if (Parent() != nullptr) message.Result = Send(*Parent(), message);
}

bool TWinControl::DoKeyDown(TMessage& message) {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyDown(message)) return true;
  if (HasControlStyle(csNoStdEvents)) return false;
  const TKeyMessageView view = KeyOf(message);
  uint16_t key = view.Key;
  KeyDown(key, view.Shift());
  SetKey(message, key);
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& message) {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyUp(message)) return true;
  if (HasControlStyle(csNoStdEvents)) return false;
  const TKeyMessageView view = KeyOf(message);
  uint16_t key = view.Key;
  KeyUp(key, view.Shift());
  SetKey(message, key);
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& message) {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyPress(message)) return true;
  if (HasControlStyle(csNoStdEvents)) return false;
  char key = KeyOf(message).Character();
  KeyPress(key);
  SetCharacter(message, key);
  return key == 0;
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::WMKeyDown(TMessage& message) {
  if (!DoKeyDown(message)) DefaultHandler(message);
}

void TWinControl::WMKeyUp(TMessage& message) {
  if (!DoKeyUp(message)) DefaultHandler(message);
}

void TWinControl::WMChar(TMessage& message) {
  if (!DoKeyPress(message)) DefaultHandler(message);
}

// --- Focus ---

bool TWinControl::CanFocus() const {
  const TCustomForm* form = GetParentForm(this);
  for (const TControl* control = this; control != nullptr && control != form; control = control->Parent()) {
    if (!control->Visible() || !control->Enabled()) return false;
  }
  return true;
}

bool TWinControl::Focused() const { return handle_ != 0 && InputState().Focus == this; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) {
    form->FocusControl(this);
    return;
  }
  if (!CanFocus()) throw EInvalidOperation(kCannotFocus);
  Windows().SetFocus(Handle());
}

void TWinControl::WMSetFocus(TMessage&) {
  InputState().Focus = this;
  if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage&) {
  if (InputState().Focus == this) InputState().Focus = nullptr;
  InputState().LosingFocus = this;
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// --- Tab order ---

TTabOrder TWinControl::TabOrder() const {
  if (HasState(csLoading) || Parent() == nullptr) return tabOrder_;
  const auto& list = Parent()->tabList_;
  const auto found = std::find(list.begin(), list.end(), this);
  return found == list.end() ? -1 : static_cast<TTabOrder>(found - list.begin());
}

void TWinControl::SetTabOrder(TTabOrder order) {
  if (HasState(csLoading)) {
    tabOrder_ = order;
  } else {
    UpdateTabOrder(order);
  }
}

void TWinControl::UpdateTabOrder(TTabOrder order) {
  if (Parent() == nullptr) return;
  auto& list = Parent()->tabList_;
  const auto current = std::find(list.begin(), list.end(), this);
  if (current == list.end()) return;
  const auto count = static_cast<TTabOrder>(list.size());
  if (order < 0 || order >= count) order = static_cast<TTabOrder>(count - 1);
  list.erase(current);
  list.insert(list.begin() + order, this);
}

void TWinControl::FixupTabList() {
  // Children read from a stream take the tab orders they were stored with;
  // those without one follow them in the order they came.
  std::stable_sort(tabList_.begin(), tabList_.end(), [](const TWinControl* a, const TWinControl* b) {
    constexpr int kUnordered = std::numeric_limits<int>::max();
    const int left = a->tabOrder_ < 0 ? kUnordered : a->tabOrder_;
    const int right = b->tabOrder_ < 0 ? kUnordered : b->tabOrder_;
    return left < right;
  });
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
  std::vector<TWinControl*> list;
  for (TWinControl* child : tabList_) {
    list.push_back(child);
    const std::vector<TWinControl*> inner = child->TabOrderList();
    list.insert(list.end(), inner.begin(), inner.end());
  }
  return list;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  const std::vector<TWinControl*> list = TabOrderList();
  if (list.empty()) return nullptr;
  const auto count = static_cast<ptrdiff_t>(list.size());
  ptrdiff_t start = std::find(list.begin(), list.end(), current) - list.begin();
  if (start == count) start = goForward ? count - 1 : 0;
  ptrdiff_t index = start;
  do {
    index = goForward ? (index + 1) % count : (index + count - 1) % count;
    TWinControl* candidate = list[static_cast<size_t>(index)];
    if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
        (!checkParent || candidate->Parent() == this)) {
      return candidate;
    }
  } while (index != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

}  // namespace zelk
