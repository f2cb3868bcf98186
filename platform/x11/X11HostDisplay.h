// What a host does with X around a plug-in's editor, on a connection of its
// own: a top-level window to open the editor in, the tree and geometry of
// windows, the pixels on the screen, real pointer input (XTest) and the
// server's resource counts (X-Resource). For the host tool, the tests and the
// benchmarks; the plug-in never links it. One thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"
#include "runtime/Types.h"

struct _XDisplay;

namespace zelk::platform {

// The resources every client holds on the server, summed.
struct TServerResources {
  uint64_t Windows = 0;
  uint64_t Pixmaps = 0;
  uint64_t GraphicsContexts = 0;
  uint64_t Cursors = 0;
  uint64_t Other = 0;
  int Clients = 0;

  bool operator==(const TServerResources&) const = default;
};

struct TX11WindowInfo {
  bool Exists = false;
  bool Mapped = false;  // mapped itself (its parents may be unmapped)
  bool Viewable = false;
  TRect Bounds;         // in its parent
  int BorderWidth = 0;
  TNativeWindow Parent = 0;
};

class TX11HostDisplay {
 public:
  // Opens $DISPLAY; IsOpen tells whether that worked.
  TX11HostDisplay();
  ~TX11HostDisplay();
  TX11HostDisplay(const TX11HostDisplay&) = delete;
  TX11HostDisplay& operator=(const TX11HostDisplay&) = delete;

  bool IsOpen() const { return display_ != nullptr; }
  bool HasXTest() const { return xtest_; }
  bool HasResourceCounts() const { return resources_; }

  // A mapped top-level window of width x height with a title at a place of
  // the screen (a window manager may move it); waits until the server shows
  // it. 0 on failure.
  TNativeWindow CreateTopLevel(int width, int height, const std::string& title, TPoint at = {});
  void DestroyWindow(TNativeWindow window);
  void ResizeWindow(TNativeWindow window, int width, int height);
  TX11WindowInfo Describe(TNativeWindow window);
  std::vector<TNativeWindow> Children(TNativeWindow window);
  // The window's pixels as the screen shows them, 0x00RRGGBB, rows from the
  // top; empty when the window cannot be read.
  std::vector<uint32_t> ReadPixels(TNativeWindow window, const TRect& area);

  // Real input through XTest: the pointer moves to point of window (its
  // coordinates), buttons 1 to 3 go down and up.
  void MovePointer(TNativeWindow window, TPoint point);
  void PressButton(unsigned button);
  void ReleaseButton(unsigned button);
  // A key, by its X key symbol, goes down or up.
  void PressKey(unsigned long keySymbol);
  void ReleaseKey(unsigned long keySymbol);

  // Gives window the keyboard focus, as a window manager does for the
  // active top-level window.
  void Focus(TNativeWindow window);
  // Reads the host window's events; false once the user asked to close it.
  // The key symbols of the key presses that reached a host window are kept
  // in KeysPressed.
  bool ServiceEvents();
  std::vector<unsigned long> KeysPressed;
  // Sets the server's resource string (the root window's RESOURCE_MANAGER,
  // as xrdb -load does; empty removes it). Connections opened afterwards
  // read it.
  void SetServerResources(const std::string& resources);
  // Waits until the server has handled every request of this connection.
  void Sync();

  TServerResources CountResources();

 private:
  _XDisplay* display_ = nullptr;
  bool xtest_ = false;
  bool resources_ = false;
  unsigned long deleteWindowAtom_ = 0;
  bool closeRequested_ = false;
};

// System V shared-memory segments created by this process that still exist.
int SharedMemorySegmentsOfThisProcess();

}  // namespace zelk::platform
