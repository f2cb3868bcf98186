// The X11 window system: windows of the plug-in's editor as children of a
// host's X window, on a display connection of our own.
//
// Contract
// - The connection ($DISPLAY) opens with the first window that needs the
//   server, never at library load, and closes when the last such window
//   goes; its resources go with it. A top-level window without bounds (the
//   toolkit's message windows) is message-only: it never touches the server
//   and its timers work without one.
// - Window handles are the X window ids, so a host sees its child with its
//   own tools; message-only windows get ids no X server hands out.
// - The library starts no thread. Everything arrives from Pump, which the
//   host's idle call (effEditIdle, about 30 times a second) reaches: X events
//   are read, due timers fire (each once, in the order they fell due: late
//   by at most one idle period, never lost), then invalidated and exposed
//   rectangles are painted, and only those are presented.
// - Presenting copies the rectangle into an image of the window's size,
//   in shared memory when the server offers MIT-SHM, and puts it. Pump waits
//   for the server once after it presented anything, so the pixels are on
//   the screen when the host's idle call returns; a present waits before
//   then only to overwrite pixels the server may still be reading.
// - Mouse events come with the server's implicit grab while a button is
//   held; SetCapture routes the events of all our windows to the capturing
//   one. A press gives the window the keyboard focus when none of ours has
//   it. Window regions use the X Shape extension where the server has it.
// - X errors on our connection are recorded (LastError, ErrorCount) and
//   never end the host; a lost connection leaves every window gone
//   (ekDestroyed) instead of exiting.
// - A host window destroyed under an open editor takes our windows with it:
//   their clients hear ekDestroyed at the next Pump.
// Window thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/WindowSystem.h"

namespace zelk::platform {

// The scale that the Xft.dpi line of a server's resource string (as xrdb
// loads it) asks for, dpi / 96; 1.0 for null, no such line or a value
// outside 48..960 dots per inch.
double XftDpiScale(const char* resources);

class TX11WindowSystem final : public TWindowSystem {
 public:
  TX11WindowSystem();
  ~TX11WindowSystem() override;

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
  void Pump() override;
  void ShowMessage(TNativeWindow owner, std::string_view text) override;
  // From the server's Xft.dpi resource (what desktops set for high-density
  // screens); connects when no window has yet.
  double DisplayScale(TNativeWindow window) override;

  // Inspection, for tests and benchmarks.
  bool IsConnected() const;
  bool UsesSharedMemory() const;
  bool HasShape() const;
  size_t WindowCount() const;
  uint64_t PresentedPixels() const;
  uint32_t PaintsDelivered() const;
  uint32_t ErrorCount() const;
  // The last X error as "request code/error code", empty when there was none.
  std::string LastError() const;
  // Leaves the shared-memory path (for comparing both paths); takes effect
  // for images made from now on.
  void SetSharedMemoryAllowed(bool allowed);

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

// The X11 backend's window system.
TX11WindowSystem& X11Windows();

}  // namespace zelk::platform
