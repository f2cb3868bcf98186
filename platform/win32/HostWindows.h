// What a Windows host does with windows, for the tests that play one: a
// top-level window to put an editor into, messages posted the way the system
// posts input, the host's message loop, and what the system tells about a
// window. Windows values are passed as plain numbers so that the tests need
// no Windows header. Not part of the backend; user-interface thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/Surface8.h"
#include "platform/WindowSystem.h"
#include "runtime/Types.h"

namespace zelk::platform::host {

// Window messages a host's system sends.
enum THostMessage : uint32_t {
  hmKeyDown = 0x0100,
  hmKeyUp = 0x0101,
  hmChar = 0x0102,
  hmTimer = 0x0113,
  hmMouseMove = 0x0200,
  hmLButtonDown = 0x0201,
  hmLButtonUp = 0x0202,
  hmRButtonDown = 0x0204,
  hmRButtonUp = 0x0205,
  hmMouseWheel = 0x020A,
  hmMouseLeave = 0x02A3,
};

// The button and key flags of mouse messages (their wParam).
enum THostMouseKeys : uint32_t { hkLeftButton = 0x0001, hkRightButton = 0x0002, hkShift = 0x0004, hkControl = 0x0008 };

// Window styles.
enum THostStyle : uint32_t {
  hsPopup = 0x80000000u,
  hsChild = 0x40000000u,
  hsVisible = 0x10000000u,
  hsCaption = 0x00C00000u,
  hsBorder = 0x00800000u,
  hsDialogFrame = 0x00400000u,
  hsThickFrame = 0x00040000u,
  hsClipChildren = 0x02000000u,
};

// A shown top-level window with a client area of width x height, as a host
// makes for an editor; destroyed with DestroyHostWindow.
TNativeWindow CreateHostWindow(int32_t width, int32_t height);
void DestroyHostWindow(TNativeWindow window);

// Posts a message to the window's queue, as the system posts input.
void PostHostMessage(TNativeWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
intptr_t SendHostMessage(TNativeWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Input as a user gives it: the pointer is put at point of window (client
// coordinates) and moves there, the left button goes down or up there, or
// the wheel turns by delta (120 a notch, positive away from the user); the
// system sends the messages where it sends a user's.
enum class THostPointerAction : uint8_t { paMove, paLeftDown, paLeftUp, paWheel };
void SendPointerInput(TNativeWindow window, TPoint point, THostPointerAction action, int32_t wheelDelta = 0);
// Another window takes the mouse capture (0 releases it), as a host's
// window may in the middle of a drag.
void TakeCapture(TNativeWindow window);
// Asks the window for its cursor as the system does when the pointer moves
// over its client area (WM_SETCURSOR).
void SendSetCursor(TNativeWindow window);
// Sleeps, so that timers fall due.
void Wait(uint32_t milliseconds);
// A mouse message's lParam for a point in client coordinates.
intptr_t PointParam(TPoint point);
// The wheel message's parameters: the turn (120 a notch, positive away from
// the user) with the key flags, and the point of window on the screen.
uintptr_t WheelParam(int32_t delta, uint32_t keys);
intptr_t ScreenPointParam(TNativeWindow window, TPoint point);
// The host's message loop: dispatches everything queued (paints included)
// until the queue is empty.
void RunMessageLoop();

// What the system tells.
bool WindowExists(TNativeWindow window);
TNativeWindow ParentOf(TNativeWindow window);
std::vector<TNativeWindow> ChildrenOf(TNativeWindow window);
// The window's rectangle in its parent's client coordinates.
TRect BoundsInParent(TNativeWindow window);
TRect ClientRectOf(TNativeWindow window);
uint32_t StyleOf(TNativeWindow window);
uint32_t ExtendedStyleOf(TNativeWindow window);
bool IsShown(TNativeWindow window);
// Whether the window waits for a paint.
bool NeedsPaint(TNativeWindow window);
// The class name of the window and the module that registered it.
std::string ClassNameOf(TNativeWindow window);
uintptr_t ClassModuleOf(TNativeWindow window);
// Whether module has a window class of that name registered.
bool IsClassRegistered(uintptr_t module, const std::string& name);
// The module (HMODULE) holding code or data at address.
uintptr_t ModuleAt(const void* address);
TNativeWindow FocusWindow();
TNativeWindow CaptureWindow();
// The window's shape as rectangles; nothing when it has no region.
std::vector<TRect> RegionOf(TNativeWindow window, bool& hasRegion);
// Whether the cursor in use is the system's cursor for shape.
bool CursorIs(TCursorShape shape);
// Whether handle is a memory device context, and the colour (0x00RRGGBB)
// GDI reads at (x, y) of it.
bool IsMemoryDeviceContext(uintptr_t handle);
uint32_t PixelOfContext(uintptr_t handle, int32_t x, int32_t y);
// A memory device context holding an 8-bit DIB section of width x height
// with the given colours, as an 8-bit display offers; its palette index at
// (x, y) from the top-left; freed with DeleteEightBitContext.
uintptr_t CreateEightBitContext(int32_t width, int32_t height, std::span<const TColorEntry, 256> colors);
uint8_t IndexOfEightBitContext(uintptr_t context, int32_t x, int32_t y);
void DeleteEightBitContext(uintptr_t context);
// While it lives, closes every message box this process shows (a plug-in
// showing an error would otherwise wait for a person) and keeps its text.
class TMessageBoxWatch {
 public:
  TMessageBoxWatch();
  ~TMessageBoxWatch();
  TMessageBoxWatch(const TMessageBoxWatch&) = delete;
  TMessageBoxWatch& operator=(const TMessageBoxWatch&) = delete;
  // The texts of the boxes closed so far.
  std::vector<std::string> Texts() const;

  struct TState;

 private:
  TState* state_;
};

// The colour (0x00RRGGBB) the window shows at (x, y) of its client area.
uint32_t PixelOfWindow(TNativeWindow window, int32_t x, int32_t y);

// The window's client area as the window paints it (WM_PRINTCLIENT into a
// 32-bit bitmap): 0x00RRGGBB values, the top row first.
std::vector<uint32_t> PrintClient(TNativeWindow window);

}  // namespace zelk::platform::host
