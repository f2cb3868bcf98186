// The server's events in the seam's terms. The core delivers them; input
// follows the capture and the focus the core keeps.
#include <X11/Xutil.h>

#include "platform/x11/X11Input.h"
#include "platform/x11/X11WindowState.h"

// Last of the includes: this file's X calls go through the functions
// loaded on first need.
#include "platform/x11/XlibLoader.h"

namespace zelk::platform {

namespace {

// One notch of the wheel, as the window seam counts it.
constexpr int32_t kWheelNotch = 120;

TRect ExposedArea(const XExposeEvent& event) { return BoundsRect(event.x, event.y, event.width, event.height); }

}  // namespace

void TX11WindowSystem::TState::ReadEvents() {
  while (Server.Usable() && XPending(Server.Handle()) > 0) {
    XEvent event;
    XNextEvent(Server.Handle(), &event);
    Dispatch(event);
  }
  if (Server.Lost()) AbandonConnection();
}

void TX11WindowSystem::TState::Dispatch(XEvent& event) {
  const TNativeWindow id = event.xany.window;
  const bool ours = Find(id) != nullptr;
  switch (event.type) {
    case Expose:
      Core.Invalidate(id, ExposedArea(event.xexpose));
      break;
    case ButtonPress:
    case ButtonRelease:
      if (ours) Button(id, event.xbutton);
      break;
    case MotionNotify:
      // Only the latest position of a drag matters.
      while (XCheckTypedWindowEvent(Server.Handle(), event.xmotion.window, MotionNotify, &event)) {
      }
      if (ours) Pointer(id, TWindowEventKind::ekMouseMove, event.xmotion.x, event.xmotion.y, event.xmotion.x_root,
                        event.xmotion.y_root, TMouseButton::mbLeft, ModifiersOf(event.xmotion.state));
      break;
    case EnterNotify:
      // The toolkit learns of entering from the first position.
      if (ours && (Core.Capture() == 0 || Core.Capture() == id)) {
        Pointer(id, TWindowEventKind::ekMouseMove, event.xcrossing.x, event.xcrossing.y, event.xcrossing.x_root,
                event.xcrossing.y_root, TMouseButton::mbLeft, ModifiersOf(event.xcrossing.state));
      }
      break;
    case LeaveNotify:
      if (ours && Core.Capture() != id) {
        TWindowEvent leave;
        leave.Kind = TWindowEventKind::ekMouseLeave;
        Core.Deliver(id, leave);
      }
      break;
    case KeyPress:
    case KeyRelease:
      if (ours) Key(id, event.xkey);
      break;
    case FocusIn:
    case FocusOut:
      if (ours) FocusChange(id, event.xfocus);
      break;
    case DestroyNotify:
      // Ours are dropped before they are destroyed: this one went with a
      // window of the host.
      if (Find(event.xdestroywindow.window) != nullptr) {
        const TDetachedWindows detached = Core.Detach(event.xdestroywindow.window, true);
        ReleaseServerSide(detached);
        Core.TellDestroyed(detached);
      }
      break;
    case MappingNotify:
      XRefreshKeyboardMapping(&event.xmapping);
      break;
    default:
      break;
  }
}

void TX11WindowSystem::TState::Button(TNativeWindow id, const XButtonEvent& event) {
  TMouseButton button;
  uint32_t flag;
  switch (event.button) {
    case Button1:
      button = TMouseButton::mbLeft;
      flag = mfLeftButton;
      break;
    case Button2:
      button = TMouseButton::mbMiddle;
      flag = mfMiddleButton;
      break;
    case Button3:
      button = TMouseButton::mbRight;
      flag = mfRightButton;
      break;
    case Button4:
    case Button5:
      // The wheel: each notch is a press and a release; the press counts.
      if (event.type == ButtonPress) Wheel(id, event, event.button == Button4 ? kWheelNotch : -kWheelNotch);
      return;
    default:
      return;  // extra buttons
  }
  const bool press = event.type == ButtonPress;
  // A click leaves the keyboard focus where it is: the toolkit asks for it
  // when the clicked control takes keys (SetFocus).
  const uint32_t modifiers = press ? ModifiersOf(event.state) | flag : ModifiersOf(event.state) & ~flag;
  Pointer(id, press ? TWindowEventKind::ekMouseDown : TWindowEventKind::ekMouseUp, event.x, event.y, event.x_root,
          event.y_root, button, modifiers);
}

void TX11WindowSystem::TState::Wheel(TNativeWindow id, const XButtonEvent& event, int32_t delta) {
  TWindowEvent wheel;
  wheel.Kind = TWindowEventKind::ekMouseWheel;
  wheel.Point = {event.x, event.y};
  wheel.WheelDelta = delta;
  wheel.Modifiers = ModifiersOf(event.state);
  Core.Deliver(id, wheel);
}

void TX11WindowSystem::TState::Pointer(TNativeWindow id, TWindowEventKind kind, int x, int y, int rootX, int rootY,
                                       TMouseButton button, uint32_t modifiers) {
  TWindowEvent event;
  event.Kind = kind;
  event.Point = {x, y};
  event.Button = button;
  event.Modifiers = modifiers;
  TNativeWindow target = id;
  const TNativeWindow capture = Core.Capture();
  if (capture != 0 && capture != id) {
    const TX11Window* capturing = Find(capture);
    if (capturing == nullptr || capturing->Id == 0) return;
    Window child = 0;
    int localX = 0;
    int localY = 0;
    XTranslateCoordinates(Server.Handle(), DefaultRootWindow(Server.Handle()), capturing->Id, rootX, rootY, &localX,
                          &localY, &child);
    event.Point = {localX, localY};
    target = capture;
  }
  Core.Deliver(target, event);
}

void TX11WindowSystem::TState::Key(TNativeWindow id, XKeyEvent& event) {
  const TNativeWindow target = Find(Core.Focus()) != nullptr ? Core.Focus() : id;
  TWindowEvent key;
  key.Kind = event.type == KeyPress ? TWindowEventKind::ekKeyDown : TWindowEventKind::ekKeyUp;
  key.Modifiers = ModifiersOf(event.state);
  key.Code = VirtualKeyOf(XLookupKeysym(&event, 0));
  const char16_t character = event.type == KeyPress ? CharacterOf(event) : 0;
  if (key.Code != 0) Core.Deliver(target, key);
  if (character != 0) {
    TWindowEvent typed;
    typed.Kind = TWindowEventKind::ekChar;
    typed.Code = character;
    typed.Modifiers = key.Modifiers;
    Core.Deliver(target, typed);
  }
}

void TX11WindowSystem::TState::FocusChange(TNativeWindow id, const XFocusChangeEvent& event) {
  // Our own requests have told the clients already; grabs and the
  // pointer's passing focus move nothing.
  if (event.serial < FocusRequest || event.mode == NotifyGrab || event.mode == NotifyUngrab ||
      event.detail == NotifyPointer || event.detail == NotifyInferior) {
    return;
  }
  if (event.type == FocusIn) {
    MoveFocus(id, true);
  } else if (Core.Focus() == id) {
    MoveFocus(0, true);
  }
}

}  // namespace zelk::platform
