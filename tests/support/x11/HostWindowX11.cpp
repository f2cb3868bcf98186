#include <mutex>

#include "platform/x11/X11HostDisplay.h"
#include "tests/support/HostWindow.h"
#include "tests/support/x11/FixtureDisplay.h"

namespace zelk::tests {

namespace {

constexpr int kSize = 300;

// The display of ctest's X server fixture, named once for every thread
// before any of them connects.
void UseTheFixturesDisplay() {
  static std::once_flag once;
  std::call_once(once, UseFixtureDisplay);
}

}  // namespace

struct THostWindow::TState {
  platform::TX11HostDisplay Display;
  platform::TNativeWindow Window = 0;
};

THostWindow::THostWindow() {
  UseTheFixturesDisplay();
  state_ = std::make_unique<TState>();
  if (state_->Display.IsOpen()) state_->Window = state_->Display.CreateTopLevel(kSize, kSize, "host");
}

THostWindow::~THostWindow() {
  if (state_->Window != 0) state_->Display.DestroyWindow(state_->Window);
}

bool THostWindow::IsOpen() const { return state_->Window != 0; }

std::string THostWindow::ErrorText() const {
  return "no X server: run these tests through ctest, which starts Xvfb, or set DISPLAY";
}

void* THostWindow::Parent() const { return reinterpret_cast<void*>(state_->Window); }

void THostWindow::Service() { state_->Display.Sync(); }

size_t THostWindow::ChildCount() { return state_->Display.Children(state_->Window).size(); }

}  // namespace zelk::tests
