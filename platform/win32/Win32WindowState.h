// The state behind TWin32WindowSystem, shared by its source files: the
// records of our windows. Win32WindowClass.cpp registers the module's
// window class, Win32WindowMessages.cpp translates the window procedure's
// messages, Win32Windows.cpp holds the seam's calls. Windows itself keeps
// the tree, the update regions, the timers, the focus and the capture.
// User-interface thread only.
#pragma once

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/win32/Win32Windows.h"

namespace zelk::platform {

inline HWND AsHandle(TNativeWindow window) { return reinterpret_cast<HWND>(window); }
inline TNativeWindow AsWindow(HWND handle) { return reinterpret_cast<TNativeWindow>(handle); }
inline RECT AsRECT(const TRect& rect) { return {rect.Left, rect.Top, rect.Right, rect.Bottom}; }
inline TRect AsTRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The module's window class, shared by every window system of the module:
// registered by the first that needs it, unregistered when the last lets go.
bool AcquireWindowClass();
void ReleaseWindowClass();
const wchar_t* WindowClassName();
// Makes sure the class's bookkeeping outlives the window systems.
void KeepWindowClass();

LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
HCURSOR SystemCursor(TCursorShape shape);

struct TWin32Window {
  TWin32WindowSystem::TState* System = nullptr;
  HWND Handle = nullptr;
  TWindowClient* Client = nullptr;
  TCursorShape Cursor = TCursorShape::csArrow;
  bool TopLevel = false;
  bool TrackingLeave = false;
  bool Gone = false;           // WM_DESTROY arrived: nothing more is delivered
  HDC PaintContext = nullptr;  // while a paint is delivered
};

struct TWin32WindowSystem::TState {
  std::map<HWND, std::unique_ptr<TWin32Window>> Windows;
  bool UsesClass = false;
  TWin32Window* Creating = nullptr;  // the record WM_NCCREATE takes over
  HWND Destroying = nullptr;         // the window DestroyWindow was asked for
  bool ReleasingCapture = false;

  TWin32Window* Find(TNativeWindow window) const {
    const auto found = Windows.find(AsHandle(window));
    return found == Windows.end() || found->second->Gone ? nullptr : found->second.get();
  }
  bool IsAlive(HWND handle) const { return Find(AsWindow(handle)) != nullptr; }

  // --- Messages (Win32WindowMessages.cpp) ---

  // Hands event to the window's client; the client may destroy windows, so
  // callers look the window up again afterwards.
  void Deliver(TWin32Window& window, const TWindowEvent& event);
  void Deliver(TWin32Window& window, TWindowEventKind kind, uint32_t code = 0);
  // The outermost window of ours that holds handle.
  HWND OutermostOf(HWND handle) const;
  void DeliverPaint(TWin32Window& window, HDC context, const RECT& area);
  void DeliverMouse(TWin32Window& window, TWindowEventKind kind, TMouseButton button, WPARAM wParam, LPARAM lParam);
  void TakeFocusOnPress(HWND handle);
  void DeliverKey(TWin32Window& window, TWindowEventKind kind, WPARAM key);
  // Answers true with result when the message is handled here.
  bool Handle(TWin32Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // --- Windows (Win32Windows.cpp) ---

  // Our windows inside handle (its descendants).
  std::vector<HWND> DescendantsOf(HWND handle) const;
  // Cuts the window and its descendants loose from this system: their
  // clients are told of the descendants' end, nothing of ours is reached
  // from them again (no client, marked gone, no user data, the system's
  // default procedure) and their records go. The windows themselves are
  // then the owning thread's to destroy.
  void Detach(HWND handle);
};

}  // namespace zelk::platform
