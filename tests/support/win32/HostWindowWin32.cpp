#include "platform/win32/HostWindows.h"
#include "tests/support/HostWindow.h"

namespace zelk::tests {

namespace hostwin = platform::host;

namespace {
constexpr int32_t kSize = 300;
}  // namespace

struct THostWindow::TState {
  platform::TNativeWindow Window = 0;
};

THostWindow::THostWindow() : state_(std::make_unique<TState>()) {
  state_->Window = hostwin::CreateHostWindow(kSize, kSize);
}

THostWindow::~THostWindow() {
  if (state_->Window != 0) hostwin::DestroyHostWindow(state_->Window);
}

bool THostWindow::IsOpen() const { return state_->Window != 0; }

std::string THostWindow::ErrorText() const { return "the system refused the host's window"; }

void* THostWindow::Parent() const { return reinterpret_cast<void*>(state_->Window); }

// A message for every editor window, as a user's pointer brings them.
void THostWindow::Service() {
  for (const platform::TNativeWindow child : hostwin::ChildrenOf(state_->Window)) {
    hostwin::PostHostMessage(child, hostwin::hmMouseMove, 0, hostwin::PointParam({10, 10}));
  }
  hostwin::RunMessageLoop();
}

size_t THostWindow::ChildCount() { return hostwin::ChildrenOf(state_->Window).size(); }

}  // namespace zelk::tests
