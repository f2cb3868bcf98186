// Drag and drop between the controls of one form, driven by the mouse
// events of the window holding the capture (see TControl::BeginDrag).
#include "platform/Backend.h"
#include "toolkit/Control.h"
#include "toolkit/InputState.h"
#include "toolkit/WinControl.h"

namespace zelk {

namespace {

// The control under point (client coordinates of top), deepest first:
// windowed children lie over the windowless ones. point becomes the
// target's coordinates.
TControl* ControlUnder(TWinControl& top, TPoint& point) {
  if (!top.ClientRect().Contains(point)) return nullptr;
  TWinControl* parent = &top;
  for (;;) {
    TWinControl* inner = nullptr;
    const auto& windowed = parent->WinControlList();
    for (auto child = windowed.rbegin(); child != windowed.rend() && inner == nullptr; ++child) {
      if ((*child)->Visible() && (*child)->BoundsRect().Contains(point)) inner = *child;
    }
    if (inner == nullptr) {
      TControl* control = parent->ControlAtPos(point, false);
      if (control == nullptr) return parent;
      point = {point.X - control->Left(), point.Y - control->Top()};
      return control;
    }
    point = {point.X - inner->Left(), point.Y - inner->Top()};
    parent = inner;
  }
}

void TellOver(TControl* target, TDragState state, TPoint point, bool& accept) {
  TControl* source = InputState().DragSource;
  accept = false;
  if (target == nullptr || !target->OnDragOver) return;
  accept = true;
  target->OnDragOver(target, source, point.X, point.Y, state, accept);
}

}  // namespace

TWinControl* TopControlOf(const TControl& control, TPoint& origin) {
  origin = {0, 0};
  const TControl* current = &control;
  while (current->Parent() != nullptr) {
    origin.X += current->Left();
    origin.Y += current->Top();
    current = current->Parent();
  }
  return current->Is<TWinControl>() ? const_cast<TWinControl*>(static_cast<const TWinControl*>(current)) : nullptr;
}

void TControl::BeginDrag() {
  TInputState& state = InputState();
  if (state.DragSource != nullptr) return;
  TDragObject* dragObject = nullptr;
  if (OnStartDrag) OnStartDrag(this, dragObject);
  state.DragSource = this;
  state.DragTarget = nullptr;
  state.DragAccepted = false;
  SetMouseCapture(true);
}

bool TControl::IsDragging() const { return InputState().DragSource == this; }

void TControl::EndDrag(bool drop) {
  TInputState& state = InputState();
  if (state.DragSource != this) return;
  TControl* target = state.DragTarget;
  const bool dropped = drop && target != nullptr && state.DragAccepted;
  const TPoint point = state.DragPoint;
  if (target != nullptr && !dropped) {
    bool ignored = false;
    TellOver(target, TDragState::dsDragLeave, point, ignored);
  }
  state.DragSource = nullptr;
  state.DragTarget = nullptr;
  state.DragAccepted = false;
  SetMouseCapture(false);
  if (dropped && target->OnDragDrop) target->OnDragDrop(target, this, point.X, point.Y);
  if (OnEndDrag) OnEndDrag(this, dropped ? target : nullptr, point.X, point.Y);
}

bool HandleDragMouse(TWinControl& window, TPoint point, bool released) {
  TInputState& state = InputState();
  TControl* source = state.DragSource;
  if (source == nullptr) return false;
  TPoint origin;
  TWinControl* top = TopControlOf(window, origin);
  TPoint at{point.X + origin.X, point.Y + origin.Y};
  TControl* target = top != nullptr ? ControlUnder(*top, at) : nullptr;
  if (target != state.DragTarget) {
    bool ignored = false;
    TellOver(state.DragTarget, TDragState::dsDragLeave, state.DragPoint, ignored);
    state.DragTarget = target;
    TellOver(target, TDragState::dsDragEnter, at, state.DragAccepted);
  } else {
    TellOver(target, TDragState::dsDragMove, at, state.DragAccepted);
  }
  state.DragPoint = at;
  if (window.HandleAllocated()) {
    const TCursor cursor = state.DragAccepted ? source->DragCursor() : crNoDrop;
    platform::Backend().Windows->SetCursor(window.Handle(),
                                           cursor == crNoDrop ? platform::TCursorShape::csNo
                                                              : platform::TCursorShape::csArrow);
  }
  // A release goes on to the source, which hears it before the drop.
  return !released;
}

void ForgetDragControl(const TControl* control) {
  TInputState& state = InputState();
  if (state.DragTarget == control) {
    state.DragTarget = nullptr;
    state.DragAccepted = false;
  }
  if (state.DragSource == control) {
    state.DragSource = nullptr;
    state.DragTarget = nullptr;
    state.DragAccepted = false;
  }
}

}  // namespace zelk
