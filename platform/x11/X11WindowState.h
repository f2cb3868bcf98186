// The state behind TX11WindowSystem, shared by its source files: the
// window core with the server's side of each window, and the connection.
// X11Windows.cpp holds the seam's calls and the windows' life on the
// server, X11Presenting.cpp the pixels, X11Events.cpp the translation of
// the server's events. Window thread only.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <memory>

#include "platform/software/WindowCore.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Image.h"
#include "platform/x11/X11Windows.h"

namespace zelk::platform {

struct TX11Window : TCoreWindow {
  Window Id = 0;  // 0 for a message-only window
  Visual* WindowVisual = nullptr;
  int Depth = 0;
  GC Context = nullptr;
  std::unique_ptr<TX11Image> Image;
  // What the server may still be reading from the shared image.
  TRectSet InFlight;
};

struct TX11WindowSystem::TState {
  // Message-only windows get ids above every X resource id (29 bits).
  static constexpr TNativeWindow kMessageWindowBase = TNativeWindow{1} << 31;

  TX11Connection Server;
  TWindowCore Core;
  TNativeWindow LastMessageWindow = kMessageWindowBase;
  unsigned long FocusRequest = 0;  // serial of our last focus request
  bool SharedMemoryAllowed = true;
  bool PresentedInPump = false;
  uint64_t PresentedPixels = 0;
  std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();

  TX11Window* Find(TNativeWindow window) const { return static_cast<TX11Window*>(Core.Find(window)); }
  uint64_t Now() const;

  // --- Windows on the server (X11Windows.cpp) ---
  bool AnyServerWindow() const;
  void DisconnectWhenUnused();
  // Every window on the server is gone with a broken connection.
  void AbandonConnection();
  // Frees what the server holds for detached windows (the windows
  // themselves are the caller's).
  void ReleaseServerSide(const TDetachedWindows& detached);
  void UpdateMapping(const TX11Window& window);
  // A showing window of ours about to hide, move or go: the server keeps no
  // pixels under it, so what it covers of the windows of ours beneath is
  // painted again in this pump, not whenever the server's exposures arrive.
  void UncoverParent(TNativeWindow id);
  // Invalidates what area (coordinates of id's parent) meets of id and of
  // the shown windows inside it; skip and its windows are left out.
  void InvalidateUnder(TNativeWindow id, const TRect& area, TNativeWindow skip);
  // Selects the keys of the window holding the focus, and of no other.
  void SelectKeys(TNativeWindow id, bool keys);
  // Moves the focus; fromServer: the server moved it already.
  void MoveFocus(TNativeWindow id, bool fromServer);

  // --- Pixels (X11Presenting.cpp) ---
  TX11Image* ImageOf(TX11Window& window);
  // Waits until the server has read every shared image put so far.
  void WaitForImages();
  void Present(TX11Window& window, const TRect& area, TSurface& surface, TPoint source);

  // --- Events from the server (X11Events.cpp) ---
  void ReadEvents();
  void Dispatch(XEvent& event);
  void Button(TNativeWindow id, const XButtonEvent& event);
  void Wheel(TNativeWindow id, const XButtonEvent& event, int32_t delta);
  void Pointer(TNativeWindow id, TWindowEventKind kind, int x, int y, int rootX, int rootY, TMouseButton button,
               uint32_t modifiers);
  void Key(TNativeWindow id, XKeyEvent& event);
  void FocusChange(TNativeWindow id, const XFocusChangeEvent& event);
};

}  // namespace zelk::platform
