// Where the keyboard is and what the mouse is doing beyond the pointer
// itself (PointerState.h), as the toolkit tracks it for every window: the
// windowed control whose window has the keyboard focus, the last press for
// double clicks and the drag in progress. Internal to the toolkit; controls
// forget themselves here when they go.
#pragma once

#include <cstdint>

#include "runtime/Types.h"

namespace zelk {

class TControl;
class TWinControl;

struct TInputState {
  TWinControl* Focus = nullptr;
  // The last left press, to tell a double click: its window, client point
  // and tick count.
  TWinControl* PressWindow = nullptr;
  TPoint PressPoint;
  uint32_t PressTime = 0;
  // The control that lost the focus last, until the next one takes it.
  TWinControl* LosingFocus = nullptr;
  // The drag in progress: its source, the control under the pointer and
  // whether that one accepts the source, with the pointer in its coordinates.
  TControl* DragSource = nullptr;
  TControl* DragTarget = nullptr;
  bool DragAccepted = false;
  TPoint DragPoint;
};

TInputState& InputState();

// The topmost control of control's tree (none when that is not windowed)
// and control's origin in its client area.
TWinControl* TopControlOf(const TControl& control, TPoint& origin);

// Drives a running drag with a mouse event of window; true when the event
// is used up (a release is not: the window ends the drag after handling
// it). ForgetDragControl forgets a control that goes.
bool HandleDragMouse(TWinControl& window, TPoint point, bool released);
void ForgetDragControl(const TControl* control);

}  // namespace zelk
