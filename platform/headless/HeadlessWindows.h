// The headless window system: windows, painting, input, focus and timers in
// memory, with a clock that only moves when told to. Every editor test runs
// on it; tests drive it like a user and a window system would:
//
//   auto& windows = platform::HeadlessWindows();
//   windows.PressMouse(form->Handle(), {10, 10});   // routed like real input
//   windows.AdvanceClock(250);                      // due timers fire, in order
//   windows.Pump();                                 // pending paints arrive
//   windows.PixelAt(form->Handle(), 10, 10);        // what was presented there
//
// Input goes where a window system sends it: mouse events to the window
// holding the capture, else to the deepest visible window under the pointer
// (window regions respected), with ekMouseLeave to the window the pointer
// left; keys and characters to the focused window. Invalidations are united
// per window and delivered by Pump as one paint with their bounds, or one per
// rectangle. Presented pixels land in a framebuffer per window. Message
// boxes record their text (and echo it to standard error) and never block.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"
#include "platform/software/WindowCore.h"

namespace zelk::platform {

class THeadlessWindowSystem final : public TWindowSystem {
 public:
  enum class TPaintDelivery : uint8_t { pdBounds, pdRectangles };

  THeadlessWindowSystem();
  ~THeadlessWindowSystem() override;

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

  // Driving. A foreign window stands for one the toolkit does not own (the
  // host's); it is visible and its events go nowhere.
  TNativeWindow CreateForeignWindow(const TRect& bounds);
  // Points are in the client coordinates of window; the event goes where
  // the window system would send it. Modifiers are TModifierFlag; the
  // pressed or released button is added or removed by itself.
  void MoveMouse(TNativeWindow window, TPoint point, uint32_t modifiers = 0);
  void PressMouse(TNativeWindow window, TPoint point, TMouseButton button = TMouseButton::mbLeft,
                  uint32_t modifiers = 0);
  void ReleaseMouse(TNativeWindow window, TPoint point, TMouseButton button = TMouseButton::mbLeft,
                    uint32_t modifiers = 0);
  // wheelDelta: 120 per notch, positive away from the user.
  void TurnWheel(TNativeWindow window, TPoint point, int32_t wheelDelta, uint32_t modifiers = 0);
  void PressKey(uint16_t virtualKey, uint32_t modifiers = 0);
  void ReleaseKey(uint16_t virtualKey, uint32_t modifiers = 0);
  void TypeChar(char16_t character, uint32_t modifiers = 0);
  // Moves the clock on, firing every timer due on the way in the order of
  // its due time (the clock standing at that time while it fires).
  void AdvanceClock(uint32_t milliseconds);
  void SetPaintDelivery(TPaintDelivery delivery) { paintDelivery_ = delivery; }

  // Inspection.
  bool Exists(TNativeWindow window) const;
  // The window and all its ancestors are shown.
  bool IsShowing(TNativeWindow window) const;
  TNativeWindow ParentOf(TNativeWindow window) const;
  TRect BoundsOf(TNativeWindow window) const;
  // The bounds of what waits to be painted; empty when nothing does.
  TRect PendingPaint(TNativeWindow window) const;
  // The presented pixel 0xAARRGGBB at (x, y); 0 where nothing was presented.
  uint32_t PixelAt(TNativeWindow window, int32_t x, int32_t y) const;
  // What the screen shows at (x, y) of window: the pixel of the topmost
  // visible window there, window itself or one inside it (a host's view of
  // the editor it embeds); 0 outside window or where nothing is shown.
  uint32_t VisiblePixelAt(TNativeWindow window, int32_t x, int32_t y) const;
  uint64_t PresentedPixels() const { return presentedPixels_; }
  uint32_t PaintsDelivered() const { return core_.PaintsDelivered(); }
  void ResetCounters();
  TNativeWindow CaptureWindow() const { return core_.Capture(); }
  TNativeWindow FocusWindow() const { return core_.Focus(); }
  TCursorShape CursorOf(TNativeWindow window) const;
  // The window's region as rectangles; nothing when it has none.
  std::optional<std::vector<TRect>> RegionOf(TNativeWindow window) const;
  bool HasTimer(TNativeWindow window, uint32_t id) const;
  // Every window (foreign ones too) and every running timer, for leak checks.
  size_t WindowCount() const { return core_.Windows().size(); }
  size_t TimerCount() const { return core_.TimerCount(); }
  const std::vector<std::string>& MessagesShown() const { return messages_; }

 private:
  struct TWindow;

  TWindow* Find(TNativeWindow window) const;
  TNativeWindow CreateWindowRecord(TNativeWindow parent, const TRect& bounds, TWindowClient* client);
  void DeliverMouse(TWindowEventKind kind, TNativeWindow window, TPoint point, TMouseButton button,
                    uint32_t modifiers, int32_t wheelDelta = 0);
  void NoteModifiers(uint32_t modifiers);
  void SendKey(TWindowEventKind kind, uint16_t virtualKey, uint32_t modifiers);

  TWindowCore core_;
  TNativeWindow lastWindow_ = 0;
  TNativeWindow hover_ = 0;  // the window the last mouse event went to
  uint64_t clock_ = 0;
  bool keys_[256] = {};
  TPaintDelivery paintDelivery_ = TPaintDelivery::pdBounds;
  uint64_t presentedPixels_ = 0;
  std::vector<std::string> messages_;
};

// The headless backend's window system.
THeadlessWindowSystem& HeadlessWindows();

}  // namespace zelk::platform
