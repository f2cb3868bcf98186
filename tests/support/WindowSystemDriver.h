// What the window-system conformance suite (tests/windowsystem) needs of a
// backend besides its TWindowSystem: a host's window to put windows into,
// input given the way a user gives it, the pixels the screen shows, and time
// passing. Each backend's test program implements one and names it in
// BackendDriver; the suite runs once with it.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "platform/WindowSystem.h"

namespace zelk::tests {

class TWindowSystemDriver {
 public:
  virtual ~TWindowSystemDriver() = default;

  virtual platform::TWindowSystem& Windows() = 0;
  // A shown window of width x height that the window system does not own,
  // as a host makes for an editor; 0, with Problem telling why, when none
  // can be made.
  virtual platform::TNativeWindow CreateHostWindow(int32_t width, int32_t height) = 0;
  virtual void DestroyHostWindow(platform::TNativeWindow window) = 0;
  virtual std::string Problem() const = 0;

  // Input at point of window (its client coordinates), wherever the system
  // then sends it: the pointer moves there, the left button goes down or up
  // there, or the wheel turns by notches (positive away from the user).
  virtual void MovePointer(platform::TNativeWindow window, TPoint point) = 0;
  virtual void PressButton(platform::TNativeWindow window, TPoint point) = 0;
  virtual void ReleaseButton(platform::TNativeWindow window, TPoint point) = 0;
  virtual void TurnWheel(platform::TNativeWindow window, TPoint point, int notches) = 0;
  // The key of an upper-case letter is pressed and released, typing the
  // letter in lower case, into the window holding the keyboard focus.
  virtual void TypeLetter(char letter) = 0;

  // The colour the screen shows at (x, y) of window, 0x00RRGGBB.
  virtual uint32_t PixelAt(platform::TNativeWindow window, int32_t x, int32_t y) = 0;
  // milliseconds pass (the headless clock, real time elsewhere), then what
  // is pending is delivered as a host's idle call does: the system's queue
  // is read and Pump is called.
  virtual void Idle(uint32_t milliseconds = 0) = 0;
};

struct TBackendDriver {
  const char* Name;  // in the test names: WindowSystem/WindowSystemConformance.Case/Name
  std::unique_ptr<TWindowSystemDriver> (*Make)();
};

inline void PrintTo(const TBackendDriver& driver, std::ostream* out) { *out << driver.Name; }

// The driver of the test program's backend, defined once per program.
TBackendDriver BackendDriver();

}  // namespace zelk::tests
