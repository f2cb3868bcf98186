// Where the mouse and the keyboard are, as the toolkit tracks it for every
// window: the control holding the mouse capture, the control the mouse is
// over (the last one told cmMouseEnter or about to be told cmMouseLeave), and
// the windowed control whose window has the keyboard focus. Internal to the
// toolkit; controls forget themselves here when they go.
#pragma once

namespace zelk {

class TControl;
class TWinControl;

struct TInputState {
  TControl* Capture = nullptr;
  TControl* Hover = nullptr;
  TWinControl* Focus = nullptr;
  // The control that lost the focus last, until the next one takes it.
  TWinControl* LosingFocus = nullptr;
};

TInputState& InputState();

}  // namespace zelk
