// A hidden window that only carries messages, for components that need
// window services without being controls (a timer component): its timers
// arrive as wmTimer messages at Handler, on the window thread. An exception
// from Handler goes to the application's exception handler; the timer keeps
// running. The window may be destroyed from inside Handler (a timer that
// stops itself).
#pragma once

#include <cstdint>

#include "platform/WindowSystem.h"
#include "toolkit/Control.h"

namespace zelk {

class TMessageWindow final : private platform::TWindowClient {
 public:
  explicit TMessageWindow(TWndMethod handler);
  ~TMessageWindow();
  TMessageWindow(const TMessageWindow&) = delete;
  TMessageWindow& operator=(const TMessageWindow&) = delete;

  platform::TNativeWindow Handle() const { return handle_; }
  // False when the window system refuses the timer.
  bool SetTimer(uint32_t id, uint32_t milliseconds);
  void KillTimer(uint32_t id);

 private:
  void HandleWindowEvent(platform::TNativeWindow window, const platform::TWindowEvent& event) override;

  TWndMethod handler_;
  platform::TNativeWindow handle_ = 0;
};

}  // namespace zelk
