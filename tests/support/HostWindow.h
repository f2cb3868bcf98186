// A host's window for an editor on the window system the plug-in of this
// build uses: a top-level window on an X connection of its own (X11; the
// display comes from ZELK_X11_DISPLAY_FILE, which ctest's X server fixture
// writes, else from DISPLAY), or a top-level window of the calling thread
// (Win32). A host with a user-interface thread per plug-in window makes one
// per thread; each window's calls belong to the thread that made it.
// Implemented once per window system (tests/support/x11, tests/support/win32).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace zelk::tests {

class THostWindow {
 public:
  THostWindow();
  ~THostWindow();
  THostWindow(const THostWindow&) = delete;
  THostWindow& operator=(const THostWindow&) = delete;

  // False, with the reason and how to run the tests, when no window could
  // be made.
  bool IsOpen() const;
  std::string ErrorText() const;
  // The native window effEditOpen takes.
  void* Parent() const;
  // The host's side between idle calls: Win32 moves the pointer over every
  // window inside and runs the loop; X11 waits for the server.
  void Service();
  // The windows inside the host's window: the open editors.
  size_t ChildCount();

  struct TState;

 private:
  std::unique_ptr<TState> state_;
};

}  // namespace zelk::tests
