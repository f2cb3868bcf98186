// The Win32 window system: every window is a real window of a class this
// module registers, a child of a foreign HWND (the host's editor window) or a
// top-level window. The host's message loop delivers everything; the window
// procedure translates:
//
//   WM_PAINT          -> ekPaint with the update rectangle (BeginPaint's
//                        rcPaint); Present copies into the paint context
//   WM_PRINTCLIENT    -> ekPaint of the whole client area into the given DC
//   mouse buttons     -> ekMouseDown/Up; WM_MOUSEMOVE -> ekMouseMove, with
//                        TrackMouseEvent so that WM_MOUSELEAVE -> ekMouseLeave
//   WM_CAPTURECHANGED -> ekCaptureLost, unless this system released it
//   WM_SET/KILLFOCUS  -> ekFocusIn/Out; keys -> ekKeyDown/Up (KeyCodes.h),
//                        WM_CHAR -> ekChar (UTF-16)
//   WM_TIMER          -> ekTimer; WM_SETCURSOR sets the window's cursor
//   WM_DESTROY        -> ekDestroyed, when an ancestor (the host's window)
//                        took the window with it
//
// A press in a window gives the keyboard focus to its outermost window of
// ours when the focus is elsewhere (in the host), so that an editor hears
// keys once clicked; inside, the toolkit moves the focus itself.
//
// The window class is named after the module (EXE or DLL) this code lives
// in, so that two copies of the plug-in loaded from different files never
// share a window procedure. It is registered with the first window and
// unregistered when the last window system of the module goes (for the
// plug-in: when the host unloads the library). Windows still left then are
// handed to the system's default procedure and destroyed, so that no
// message ever reaches unloaded code. User-interface thread only.
#pragma once

#include <memory>
#include <string>

#include "platform/WindowSystem.h"

namespace zelk::platform {

class TWin32WindowSystem final : public TWindowSystem {
 public:
  TWin32WindowSystem();
  ~TWin32WindowSystem() override;
  TWin32WindowSystem(const TWin32WindowSystem&) = delete;
  TWin32WindowSystem& operator=(const TWin32WindowSystem&) = delete;

  TNativeWindow CreateChild(TNativeWindow parent, const TRect& bounds, TWindowClient& client) override;
  void DestroyWindow(TNativeWindow window) override;
  void PlaceWindow(TNativeWindow window, const TRect& bounds) override;
  void ShowWindow(TNativeWindow window, bool visible) override;
  void Invalidate(TNativeWindow window, const TRect& area) override;
  void Present(TNativeWindow window, const TRect& area, TSurface& surface, TPoint source) override;
  void SetCapture(TNativeWindow window) override;
  void SetFocus(TNativeWindow window) override;
  void SetCursor(TNativeWindow window, TCursorShape shape) override;
  void SetWindowRegion(TNativeWindow window, const TRegion* region) override;
  bool SetTimer(TNativeWindow window, uint32_t id, uint32_t milliseconds) override;
  void KillTimer(TNativeWindow window, uint32_t id) override;
  bool IsKeyDown(uint16_t virtualKey) const override;
  uint32_t TickCount() const override;
  // Paints the windows of this system that wait for it (UpdateWindow); the
  // host's message loop would deliver the same paints a little later.
  void Pump() override;
  void ShowMessage(TNativeWindow owner, std::string_view text) override;
  // The window's DPI (per monitor where the system has GetDpiForWindow),
  // else the screen's, over 96.
  double DisplayScale(TNativeWindow window) override;

  // Whether window is one of this system's living windows.
  bool Owns(TNativeWindow window) const;
  TCursorShape CursorOf(TNativeWindow window) const;

  struct TState;

 private:
  std::unique_ptr<TState> state_;
};

// The window system of the Win32 backend.
TWin32WindowSystem& Win32Windows();

// The module (HMODULE) this code is linked into, and the name of the window
// class that the window system registers for a module.
uintptr_t ThisModule();
std::string WindowClassNameFor(uintptr_t module);

// Our key code (KeyCodes.h) of a Windows virtual key: the left and right
// Shift, Control and Alt keys become the plain ones, everything else keeps
// its number, which ours share.
uint16_t KeyCodeOfVirtualKey(uint32_t virtualKey);

}  // namespace zelk::platform
