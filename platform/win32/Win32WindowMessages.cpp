// The window procedure's messages in the seam's terms:
//
//   WM_PAINT          -> ekPaint with the update rectangle (BeginPaint's
//                        rcPaint); Present copies into the paint context
//   WM_PRINTCLIENT    -> ekPaint of the whole client area into the given DC
//   mouse buttons     -> ekMouseDown/Up; WM_MOUSEMOVE -> ekMouseMove, with
//                        TrackMouseEvent so that WM_MOUSELEAVE -> ekMouseLeave
//   WM_CAPTURECHANGED -> ekCaptureLost, unless this system released it
//   WM_SET/KILLFOCUS  -> ekFocusIn/Out; keys -> ekKeyDown/Up, WM_CHAR -> ekChar
//   WM_TIMER          -> ekTimer; WM_SETCURSOR sets the window's cursor
//   WM_DESTROY        -> ekDestroyed, when an ancestor took the window with it
#include "platform/win32/Win32WindowState.h"

#include <windowsx.h>

#include <mutex>

#include "platform/KeyCodes.h"
#include "platform/UserInterfaceLock.h"

namespace zelk::platform {

namespace {

LPCSTR SystemCursorName(TCursorShape shape) {
  switch (shape) {
    case TCursorShape::csCross: return IDC_CROSS;
    case TCursorShape::csIBeam: return IDC_IBEAM;
    case TCursorShape::csSizeAll: return IDC_SIZEALL;
    case TCursorShape::csSizeNESW: return IDC_SIZENESW;
    case TCursorShape::csSizeNS: return IDC_SIZENS;
    case TCursorShape::csSizeNWSE: return IDC_SIZENWSE;
    case TCursorShape::csSizeWE: return IDC_SIZEWE;
    case TCursorShape::csUpArrow: return IDC_UPARROW;
    case TCursorShape::csWait: return IDC_WAIT;
    case TCursorShape::csNo: return IDC_NO;
    case TCursorShape::csHandPoint: return IDC_HAND;
    case TCursorShape::csHelp: return IDC_HELP;
    case TCursorShape::csAppStart: return IDC_APPSTARTING;
    default: return IDC_ARROW;
  }
}

uint32_t KeyModifiers() {
  uint32_t modifiers = 0;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= mfShift;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= mfControl;
  if (GetKeyState(VK_MENU) < 0) modifiers |= mfAlt;
  return modifiers;
}

uint32_t MouseModifiers(WPARAM keys) {
  uint32_t modifiers = 0;
  if (keys & MK_SHIFT) modifiers |= mfShift;
  if (keys & MK_CONTROL) modifiers |= mfControl;
  if (keys & MK_LBUTTON) modifiers |= mfLeftButton;
  if (keys & MK_RBUTTON) modifiers |= mfRightButton;
  if (keys & MK_MBUTTON) modifiers |= mfMiddleButton;
  if (GetKeyState(VK_MENU) < 0) modifiers |= mfAlt;
  return modifiers;
}

}  // namespace

HCURSOR SystemCursor(TCursorShape shape) {
  return shape == TCursorShape::csNone ? nullptr : LoadCursorA(nullptr, SystemCursorName(shape));
}

void TWin32WindowSystem::TState::Deliver(TWin32Window& window, const TWindowEvent& event) {
  if (window.Gone || window.Client == nullptr) return;
  try {
    window.Client->HandleWindowEvent(AsWindow(window.Handle), event);
  } catch (...) {
    // Nothing may unwind through the window procedure into the host.
  }
}

void TWin32WindowSystem::TState::Deliver(TWin32Window& window, TWindowEventKind kind, uint32_t code) {
  TWindowEvent event;
  event.Kind = kind;
  event.Code = code;
  Deliver(window, event);
}

HWND TWin32WindowSystem::TState::OutermostOf(HWND handle) const {
  for (HWND parent = GetParent(handle); parent != nullptr && IsAlive(parent); parent = GetParent(parent)) {
    handle = parent;
  }
  return handle;
}

void TWin32WindowSystem::TState::DeliverPaint(TWin32Window& window, HDC context, const RECT& area) {
  if (IsRectEmpty(&area)) return;
  const HWND handle = window.Handle;
  window.PaintContext = context;
  TWindowEvent paint;
  paint.Kind = TWindowEventKind::ekPaint;
  paint.Area = AsTRect(area);
  Deliver(window, paint);
  if (TWin32Window* still = Find(AsWindow(handle))) still->PaintContext = nullptr;
}

void TWin32WindowSystem::TState::DeliverMouse(TWin32Window& window, TWindowEventKind kind, TMouseButton button, WPARAM wParam,
                  LPARAM lParam) {
  if (kind == TWindowEventKind::ekMouseMove && !window.TrackingLeave && GetCapture() != window.Handle) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window.Handle, 0};
    window.TrackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  const HWND handle = window.Handle;
  if (kind == TWindowEventKind::ekMouseDown) TakeFocusOnPress(handle);
  TWin32Window* target = Find(AsWindow(handle));
  if (target == nullptr) return;
  TWindowEvent event;
  event.Kind = kind;
  event.Point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  event.Button = button;
  event.Modifiers = MouseModifiers(wParam);
  Deliver(*target, event);
}

void TWin32WindowSystem::TState::TakeFocusOnPress(HWND handle) {
  const HWND outermost = OutermostOf(handle);
  const HWND focus = GetFocus();
  if (focus == outermost || (focus != nullptr && IsAlive(focus) && OutermostOf(focus) == outermost)) return;
  ::SetFocus(outermost);
}

void TWin32WindowSystem::TState::DeliverKey(TWin32Window& window, TWindowEventKind kind, WPARAM key) {
  TWindowEvent event;
  event.Kind = kind;
  event.Code = kind == TWindowEventKind::ekChar ? static_cast<uint32_t>(key) : KeyCodeOfVirtualKey(static_cast<uint32_t>(key));
  event.Modifiers = KeyModifiers();
  Deliver(window, event);
}

bool TWin32WindowSystem::TState::Handle(TWin32Window& window, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC context = BeginPaint(window.Handle, &paint);
      if (context != nullptr) {
        DeliverPaint(window, context, paint.rcPaint);
        EndPaint(window.Handle, &paint);
      }
      return true;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(window.Handle, &client);
      DeliverPaint(window, reinterpret_cast<HDC>(wParam), client);
      return true;
    }
    case WM_ERASEBKGND:
      // The paint covers every pixel of its area.
      result = 1;
      return true;
    case WM_MOUSEMOVE:
      DeliverMouse(window, TWindowEventKind::ekMouseMove, TMouseButton::mbLeft, wParam, lParam);
      return true;
    case WM_LBUTTONDOWN:
      DeliverMouse(window, TWindowEventKind::ekMouseDown, TMouseButton::mbLeft, wParam, lParam);
      return true;
    case WM_LBUTTONUP:
      DeliverMouse(window, TWindowEventKind::ekMouseUp, TMouseButton::mbLeft, wParam, lParam);
      return true;
    case WM_RBUTTONDOWN:
      DeliverMouse(window, TWindowEventKind::ekMouseDown, TMouseButton::mbRight, wParam, lParam);
      return true;
    case WM_RBUTTONUP:
      DeliverMouse(window, TWindowEventKind::ekMouseUp, TMouseButton::mbRight, wParam, lParam);
      return true;
    case WM_MBUTTONDOWN:
      DeliverMouse(window, TWindowEventKind::ekMouseDown, TMouseButton::mbMiddle, wParam, lParam);
      return true;
    case WM_MBUTTONUP:
      DeliverMouse(window, TWindowEventKind::ekMouseUp, TMouseButton::mbMiddle, wParam, lParam);
      return true;
    case WM_MOUSEWHEEL: {
      // The wheel's point is on the screen; the toolkit works in client points.
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(window.Handle, &point);
      TWindowEvent event;
      event.Kind = TWindowEventKind::ekMouseWheel;
      event.Point = {point.x, point.y};
      event.WheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
      event.Modifiers = MouseModifiers(GET_KEYSTATE_WPARAM(wParam));
      Deliver(window, event);
      return true;
    }
    case WM_MOUSELEAVE:
      window.TrackingLeave = false;
      // While it holds the capture the window still has the pointer; the
      // next move re-arms the tracking.
      if (GetCapture() != window.Handle) Deliver(window, TWindowEventKind::ekMouseLeave);
      return true;
    case WM_CAPTURECHANGED:
      if (!ReleasingCapture) Deliver(window, TWindowEventKind::ekCaptureLost);
      return true;
    case WM_SETFOCUS:
      Deliver(window, TWindowEventKind::ekFocusIn);
      return true;
    case WM_KILLFOCUS:
      Deliver(window, TWindowEventKind::ekFocusOut);
      return true;
    case WM_KEYDOWN:
      DeliverKey(window, TWindowEventKind::ekKeyDown, wParam);
      return true;
    case WM_KEYUP:
      DeliverKey(window, TWindowEventKind::ekKeyUp, wParam);
      return true;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
      // Alt combinations reach the toolkit and then the host's menus.
      const HWND handle = window.Handle;
      DeliverKey(window, message == WM_SYSKEYDOWN ? TWindowEventKind::ekKeyDown : TWindowEventKind::ekKeyUp, wParam);
      result = DefWindowProcW(handle, message, wParam, lParam);
      return true;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
      DeliverKey(window, TWindowEventKind::ekChar, wParam);
      return message == WM_CHAR;
    case WM_GETDLGCODE:
      // Arrows, Tab and characters are the toolkit's, even in a host's dialog.
      result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
      return true;
    case WM_TIMER:
      Deliver(window, TWindowEventKind::ekTimer, static_cast<uint32_t>(wParam));
      return true;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != window.Handle || LOWORD(lParam) != HTCLIENT) return false;
      ::SetCursor(SystemCursor(window.Cursor));
      result = TRUE;
      return true;
    case WM_DESTROY:
      if (window.Handle != Destroying) Deliver(window, TWindowEventKind::ekDestroyed);
      window.Gone = true;
      return true;
    default:
      return false;
  }
}

// The host's message loop calls in on the thread owning the window, which
// may be another editor's thread than the one in an editor opcode now: the
// user-interface lock keeps them apart.
LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard lock(UserInterfaceLock());
  if (message == WM_NCCREATE) {
    auto* window = static_cast<TWin32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->Handle = handle;
    window->System->Creating = nullptr;
    window->System->Windows[handle].reset(window);
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    TWin32WindowSystem::TState* system = window->System;
    system->Windows.erase(handle);  // frees window
    return DefWindowProcW(handle, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (window->System->Handle(*window, message, wParam, lParam, result)) return result;
  return DefWindowProcW(handle, message, wParam, lParam);
}

uint16_t KeyCodeOfVirtualKey(uint32_t virtualKey) {
  switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return vkShift;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return vkControl;
    case VK_LMENU:
    case VK_RMENU:
      return vkMenu;
    default:
      return static_cast<uint16_t>(virtualKey & 0xFFu);
  }
}

}  // namespace zelk::platform
