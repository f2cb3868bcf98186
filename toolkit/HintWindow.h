// THintWindow: a small window that shows one line of text near a point of
// a control, over the other windows of the control's form, until hidden. It
// is a window inside the form's top window (so it goes where a plug-in
// editor goes, on every backend) and draws its text in a built-in 5 x 7
// pixel font: printable ASCII and the degree sign (UTF-8), '?' for other
// characters.
//
// Hints: when the mouse rests HintPause milliseconds on a control whose
// ShowHint holds and whose Hint is not empty, the toolkit's hint window
// shows the Hint just below the pointer; it goes when the mouse moves to
// another control or leaves the window, at a button or key press, and
// after HintHidePause milliseconds. The delays run as timers of the window
// under the mouse, so nothing is left running once the window goes.
//
// Window thread only.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/GraphicControl.h"

namespace zelk {

inline constexpr uint32_t kHintPause = 500;
inline constexpr uint32_t kHintHidePause = 2500;

class THintWindow : public TCustomControl {
  ZELK_CLASS(THintWindow, TCustomControl)

  // Hidden until activated.
  explicit THintWindow(TComponent* owner);

  // Shows text with the window's top-left corner at point (client
  // coordinates of control), moved inside the form's top window when it
  // would stick out. Replaces a text already shown.
  void ActivateHint(TControl& control, TPoint point, std::string text);
  void ReleaseHint();
  bool Active() const { return Visible(); }
  const std::string& Caption() const { return caption_; }
  // The size the window takes for text.
  static TPoint HintSize(const std::string& text);

 protected:
  void Paint() override;

 private:
  std::string caption_;
};

// The toolkit's shared hint window, made when first asked for.
THintWindow& ApplicationHintWindow();
// Frees the shared hint window (FinalizeToolkit).
void FreeApplicationHintWindow();

// The toolkit's hint tracking, fed by the windows' input: a mouse move at
// point (client coordinates of window) over hover, anything that ends a hint
// (press, key, leave), the hint timer of window, and a control that goes.
void HintMouseMoved(TWinControl& window, TControl* hover, TPoint point);
void CancelHint();
void HintTimerFired(TWinControl& window);
void ForgetHintControl(const TControl* control);
// The timer id the hint tracking uses on the window under the mouse.
inline constexpr uint32_t kHintTimerId = 0x48494E54;  // "HINT"

}  // namespace zelk
