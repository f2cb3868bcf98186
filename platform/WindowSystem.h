// The window seam: the few things the window toolkit needs of a window
// system, implemented once per backend (platform/headless in memory; X11 and
// Win32 behind the same interface). Windows only present 32-bit surfaces;
// all drawing happens on canvases (Canvas.h).
//
// A backend delivers everything that happens to a window as one small event
// to the window's client, on the thread that owns the window (the host's
// user-interface thread): from Pump (paint, timer, and for backends that
// read their own event queue, input), or from within SetFocus and
// SetCapture, never from another thread. Coordinates are the window's client
// coordinates. The toolkit turns events into its messages above every
// backend; the backends only translate.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Surface.h"
#include "runtime/Types.h"

namespace zelk::platform {

class TRegion;

// A native window: HWND, X11 Window, headless id; 0 = none.
using TNativeWindow = uintptr_t;

enum class TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during an input event.
enum TModifierFlag : uint32_t {
  mfShift = 1u << 0,
  mfControl = 1u << 1,
  mfAlt = 1u << 2,
  mfLeftButton = 1u << 3,
  mfRightButton = 1u << 4,
  mfMiddleButton = 1u << 5,
};

enum class TCursorShape : uint8_t {
  csArrow, csNone, csCross, csIBeam, csSizeAll, csSizeNESW, csSizeNS, csSizeNWSE, csSizeWE,
  csUpArrow, csWait, csNo, csHandPoint, csHelp, csAppStart,
};

enum class TWindowEventKind : uint8_t {
  ekPaint,        // Area needs painting
  ekMouseMove,    // Point
  ekMouseDown,    // Point, Button
  ekMouseUp,      // Point, Button
  ekMouseLeave,   // the pointer left the window (not sent while it holds the capture)
  ekKeyDown,      // Code: virtual key (KeyCodes.h), to the focused window
  ekKeyUp,        // Code: virtual key
  ekChar,         // Code: the character typed, a UTF-16 code unit
  ekFocusIn,      // the window took the keyboard focus
  ekFocusOut,     // the window lost it
  ekCaptureLost,  // another window or the system took the mouse capture away
  ekTimer,        // Code: the timer's id
  ekDestroyed,    // an ancestor window was destroyed by its owner: the handle is gone
  ekMouseWheel,   // Point, WheelDelta: a turn of the wheel over the window
};

struct TWindowEvent {
  TWindowEventKind Kind = TWindowEventKind::ekPaint;
  TRect Area;
  TPoint Point;
  TMouseButton Button = TMouseButton::mbLeft;
  uint32_t Modifiers = 0;  // TModifierFlag, input events
  uint32_t Code = 0;
  int32_t WheelDelta = 0;  // ekMouseWheel: 120 per notch, positive away from the user
};

// Receives the events of the windows created for it. It must stay alive
// until its windows are destroyed.
class TWindowClient {
 public:
  virtual void HandleWindowEvent(TNativeWindow window, const TWindowEvent& event) = 0;

 protected:
  ~TWindowClient() = default;
};

class TWindowSystem {
 public:
  virtual ~TWindowSystem() = default;

  // A hidden window at bounds (the parent's client coordinates), a child of
  // parent, or a top-level window for 0; its events go to client. 0 when the
  // system refuses.
  virtual TNativeWindow CreateChild(TNativeWindow parent, const TRect& bounds, TWindowClient& client) = 0;
  // Destroys the window and its descendants. The descendants' clients get
  // ekDestroyed; the window itself gets nothing. Unknown windows are ignored.
  virtual void DestroyWindow(TNativeWindow window) = 0;
  // Moves and sizes the window.
  virtual void PlaceWindow(TNativeWindow window, const TRect& bounds) = 0;
  // Showing a window invalidates all of it; windows of hidden parents stay
  // invisible.
  virtual void ShowWindow(TNativeWindow window, bool visible) = 0;
  // Adds area to what the window must paint; an ekPaint follows from Pump.
  virtual void Invalidate(TNativeWindow window, const TRect& area) = 0;
  // Copies the pixels of surface at source (surface pixels from its top-left)
  // into area of the window.
  virtual void Present(TNativeWindow window, const TRect& area, TSurface& surface, TPoint source) = 0;
  // Sends every mouse event to window, wherever the pointer is, until
  // released with 0. A window that loses the capture to another gets
  // ekCaptureLost; releasing it sends nothing.
  virtual void SetCapture(TNativeWindow window) = 0;
  // Moves the keyboard focus (0: to none); delivers ekFocusOut to the window
  // losing it and ekFocusIn to the one taking it before it returns.
  virtual void SetFocus(TNativeWindow window) = 0;
  virtual void SetCursor(TNativeWindow window, TCursorShape shape) = 0;
  // Only the region's pixels belong to the window (for mouse input and
  // presenting); null gives it its whole rectangle back. The region is copied.
  virtual void SetWindowRegion(TNativeWindow window, const TRegion* region) = 0;
  // Starts, or restarts with a new interval, timer id of window: an ekTimer
  // every milliseconds until killed or the window goes. False when refused.
  virtual bool SetTimer(TNativeWindow window, uint32_t id, uint32_t milliseconds) = 0;
  virtual void KillTimer(TNativeWindow window, uint32_t id) = 0;
  // Whether the key or mouse button (KeyCodes.h) is held right now.
  virtual bool IsKeyDown(uint16_t virtualKey) const = 0;
  // Milliseconds since an arbitrary start, wrapping at 2^32.
  virtual uint32_t TickCount() const = 0;
  // Services pending events: the paints of invalidated windows, due timers
  // and, where the backend reads its own queue (X11), input. Called from the
  // host's idle call; never blocks.
  virtual void Pump() = 0;
  // Shows text to the user; owner may be 0.
  virtual void ShowMessage(TNativeWindow owner, std::string_view text) = 0;
  // How many device pixels the user's screen settings give one pixel of a
  // window shown inside window (0: on the default screen): 1.0 at 96 dots
  // per inch, 2.0 at 192. 1.0 where the system says nothing.
  virtual double DisplayScale(TNativeWindow window) {
    (void)window;
    return 1.0;
  }
};

}  // namespace zelk::platform
