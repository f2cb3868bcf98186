#include "platform/win32/Win32Windows.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/KeyCodes.h"
#include "platform/UserInterfaceLock.h"
#include "platform/win32/DibSectionSurface.h"
#include "platform/win32/GdiRegion.h"

namespace zelk::platform {

namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kTopLevelStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HWND AsHandle(TNativeWindow window) { return reinterpret_cast<HWND>(window); }
TNativeWindow AsWindow(HWND handle) { return reinterpret_cast<TNativeWindow>(handle); }

LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// The module's window class, shared by every window system of the module.
class TWindowClass {
 public:
  bool Acquire() {
    if (users_ == 0 && !Register()) return false;
    ++users_;
    return true;
  }
  // The module registered with is kept: while the library unloads, the
  // system may no longer answer which module an address belongs to.
  void Release() {
    if (users_ > 0 && --users_ == 0) UnregisterClassW(name_.c_str(), module_);
  }
  const wchar_t* Name() {
    if (name_.empty()) name_ = Widen(WindowClassNameFor(ThisModule()));
    return name_.c_str();
  }

 private:
  static HINSTANCE Module() { return reinterpret_cast<HINSTANCE>(ThisModule()); }
  bool Register() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    // Resizing repaints all, as the toolkit's align pass expects.
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &WindowProcedure;
    module_ = Module();
    windowClass.hInstance = module_;
    windowClass.hCursor = nullptr;  // WM_SETCURSOR sets it
    windowClass.lpszClassName = Name();
    return RegisterClassExW(&windowClass) != 0;
  }

  std::wstring name_;
  HINSTANCE module_ = nullptr;
  int users_ = 0;
};

TWindowClass& WindowClass() {
  static TWindowClass windowClass;
  return windowClass;
}

LPCSTR SystemCursorName(TCursorShape shape) {
  switch (shape) {
    case TCursorShape::csCross: return IDC_CROSS;
    case TCursorShape::csIBeam: return IDC_IBEAM;
    case TCursorShape::csSizeAll: return IDC_SIZEALL;
    case TCursorShape::csSizeNESW: return IDC_SIZENESW;
    case TCursorShape::csSizeNS: return IDC_SIZENS;
    case TCursorShape::csSizeNWSE: return IDC_SIZENWSE;
    case TCursorShape::csSizeWE: return IDC_SIZEWE;
    case TCursorShape::csUpArrow: return IDC_UPARROW;
    case TCursorShape::csWait: return IDC_WAIT;
    case TCursorShape::csNo: return IDC_NO;
    case TCursorShape::csHandPoint: return IDC_HAND;
    case TCursorShape::csHelp: return IDC_HELP;
    case TCursorShape::csAppStart: return IDC_APPSTARTING;
    default: return IDC_ARROW;
  }
}

HCURSOR SystemCursor(TCursorShape shape) {
  return shape == TCursorShape::csNone ? nullptr : LoadCursorA(nullptr, SystemCursorName(shape));
}

uint32_t KeyModifiers() {
  uint32_t modifiers = 0;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= mfShift;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= mfControl;
  if (GetKeyState(VK_MENU) < 0) modifiers |= mfAlt;
  return modifiers;
}

uint32_t MouseModifiers(WPARAM keys) {
  uint32_t modifiers = 0;
  if (keys & MK_SHIFT) modifiers |= mfShift;
  if (keys & MK_CONTROL) modifiers |= mfControl;
  if (keys & MK_LBUTTON) modifiers |= mfLeftButton;
  if (keys & MK_RBUTTON) modifiers |= mfRightButton;
  if (keys & MK_MBUTTON) modifiers |= mfMiddleButton;
  if (GetKeyState(VK_MENU) < 0) modifiers |= mfAlt;
  return modifiers;
}

RECT AsRECT(const TRect& rect) { return {rect.Left, rect.Top, rect.Right, rect.Bottom}; }
TRect AsTRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

struct TWin32Window {
  TWin32WindowSystem::TState* System = nullptr;
  HWND Handle = nullptr;
  TWindowClient* Client = nullptr;
  TCursorShape Cursor = TCursorShape::csArrow;
  bool TopLevel = false;
  bool TrackingLeave = false;
  bool Gone = false;        // WM_DESTROY arrived: nothing more is delivered
  HDC PaintContext = nullptr;  // while a paint is delivered
};

struct TWin32WindowSystem::TState {
  std::map<HWND, std::unique_ptr<TWin32Window>> Windows;
  bool UsesClass = false;
  TWin32Window* Creating = nullptr;  // the record WM_NCCREATE takes over
  HWND Destroying = nullptr;    // the window DestroyWindow was asked for
  bool ReleasingCapture = false;

  TWin32Window* Find(TNativeWindow window) const {
    const auto found = Windows.find(AsHandle(window));
    return found == Windows.end() || found->second->Gone ? nullptr : found->second.get();
  }
  bool IsAlive(HWND handle) const { return Find(AsWindow(handle)) != nullptr; }

  // Hands event to the window's client; the client may destroy windows, so
  // callers look the window up again afterwards.
  void Deliver(TWin32Window& window, const TWindowEvent& event) {
    if (window.Gone || window.Client == nullptr) return;
    try {
      window.Client->HandleWindowEvent(AsWindow(window.Handle), event);
    } catch (...) {
      // Nothing may unwind through the window procedure into the host.
    }
  }
  void Deliver(TWin32Window& window, TWindowEventKind kind, uint32_t code = 0) {
    TWindowEvent event;
    event.Kind = kind;
    event.Code = code;
    Deliver(window, event);
  }

  // The outermost window of ours that holds handle.
  HWND OutermostOf(HWND handle) const {
    for (HWND parent = GetParent(handle); parent != nullptr && IsAlive(parent); parent = GetParent(parent)) {
      handle = parent;
    }
    return handle;
  }

  void DeliverPaint(TWin32Window& window, HDC context, const RECT& area) {
    if (IsRectEmpty(&area)) return;
    const HWND handle = window.Handle;
    window.PaintContext = context;
    TWindowEvent paint;
    paint.Kind = TWindowEventKind::ekPaint;
    paint.Area = AsTRect(area);
    Deliver(window, paint);
    if (TWin32Window* still = Find(AsWindow(handle))) still->PaintContext = nullptr;
  }

  void DeliverMouse(TWin32Window& window, TWindowEventKind kind, TMouseButton button, WPARAM wParam,
                    LPARAM lParam) {
    if (kind == TWindowEventKind::ekMouseMove && !window.TrackingLeave && GetCapture() != window.Handle) {
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window.Handle, 0};
      window.TrackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    const HWND handle = window.Handle;
    if (kind == TWindowEventKind::ekMouseDown) TakeFocusOnPress(handle);
    TWin32Window* target = Find(AsWindow(handle));
    if (target == nullptr) return;
    TWindowEvent event;
    event.Kind = kind;
    event.Point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    event.Button = button;
    event.Modifiers = MouseModifiers(wParam);
    Deliver(*target, event);
  }

  void TakeFocusOnPress(HWND handle) {
    const HWND outermost = OutermostOf(handle);
    const HWND focus = GetFocus();
    if (focus == outermost || (focus != nullptr && IsAlive(focus) && OutermostOf(focus) == outermost)) return;
    ::SetFocus(outermost);
  }

  void DeliverKey(TWin32Window& window, TWindowEventKind kind, WPARAM key) {
    TWindowEvent event;
    event.Kind = kind;
    event.Code = kind == TWindowEventKind::ekChar ? static_cast<uint32_t>(key) : KeyCodeOfVirtualKey(static_cast<uint32_t>(key));
    event.Modifiers = KeyModifiers();
    Deliver(window, event);
  }

  // Answers true with result when the message is handled here.
  bool Handle(TWin32Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Our windows inside handle (its descendants).
  std::vector<HWND> DescendantsOf(HWND handle) const {
    std::vector<HWND> descendants;
    for (const auto& [each, window] : Windows) {
      if (each != handle && IsChild(handle, each)) descendants.push_back(each);
    }
    return descendants;
  }

  // Cuts the window and its descendants loose from this system: their
  // clients are told of the descendants' end, nothing of ours is reached
  // from them again (no client, marked gone, no user data, the system's
  // default procedure) and their records go. The windows themselves are
  // then the owning thread's to destroy.
  void Detach(HWND handle) {
    std::vector<HWND> members = DescendantsOf(handle);
    for (HWND member : members) {
      if (TWin32Window* window = Find(AsWindow(member))) Deliver(*window, TWindowEventKind::ekDestroyed);
    }
    members.push_back(handle);
    for (HWND member : members) {
      const auto found = Windows.find(member);
      if (found == Windows.end()) continue;
      found->second->Client = nullptr;
      found->second->Gone = true;
      SetWindowLongPtrW(member, GWLP_USERDATA, 0);
      SetWindowLongPtrW(member, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
      Windows.erase(found);
    }
  }
};

bool TWin32WindowSystem::TState::Handle(TWin32Window& window, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC context = BeginPaint(window.Handle, &paint);
      if (context != nullptr) {
        DeliverPaint(window, context, paint.rcPaint);
        EndPaint(window.Handle, &paint);
      }
      return true;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(window.Handle, &client);
      DeliverPaint(window, reinterpret_cast<HDC>(wParam), client);
      return true;
    }
    case WM_ERASEBKGND:
      // The paint covers every pixel of its area.
      result = 1;
      return true;
    case WM_MOUSEMOVE:
      DeliverMouse(window, TWindowEventKind::ekMouseMove, TMouseButton::mbLeft, wParam, lParam);
      return true;
    case WM_LBUTTONDOWN:
      DeliverMouse(window, TWindowEventKind::ekMouseDown, TMouseButton::mbLeft, wParam, lParam);
      return true;
    case WM_LBUTTONUP:
      DeliverMouse(window, TWindowEventKind::ekMouseUp, TMouseButton::mbLeft, wParam, lParam);
      return true;
    case WM_RBUTTONDOWN:
      DeliverMouse(window, TWindowEventKind::ekMouseDown, TMouseButton::mbRight, wParam, lParam);
      return true;
    case WM_RBUTTONUP:
      DeliverMouse(window, TWindowEventKind::ekMouseUp, TMouseButton::mbRight, wParam, lParam);
      return true;
    case WM_MBUTTONDOWN:
      DeliverMouse(window, TWindowEventKind::ekMouseDown, TMouseButton::mbMiddle, wParam, lParam);
      return true;
    case WM_MBUTTONUP:
      DeliverMouse(window, TWindowEventKind::ekMouseUp, TMouseButton::mbMiddle, wParam, lParam);
      return true;
    case WM_MOUSEWHEEL: {
      // The wheel's point is on the screen; the toolkit works in client points.
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(window.Handle, &point);
      TWindowEvent event;
      event.Kind = TWindowEventKind::ekMouseWheel;
      event.Point = {point.x, point.y};
      event.WheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
      event.Modifiers = MouseModifiers(GET_KEYSTATE_WPARAM(wParam));
      Deliver(window, event);
      return true;
    }
    case WM_MOUSELEAVE:
      window.TrackingLeave = false;
      // While it holds the capture the window still has the pointer; the
      // next move re-arms the tracking.
      if (GetCapture() != window.Handle) Deliver(window, TWindowEventKind::ekMouseLeave);
      return true;
    case WM_CAPTURECHANGED:
      if (!ReleasingCapture) Deliver(window, TWindowEventKind::ekCaptureLost);
      return true;
    case WM_SETFOCUS:
      Deliver(window, TWindowEventKind::ekFocusIn);
      return true;
    case WM_KILLFOCUS:
      Deliver(window, TWindowEventKind::ekFocusOut);
      return true;
    case WM_KEYDOWN:
      DeliverKey(window, TWindowEventKind::ekKeyDown, wParam);
      return true;
    case WM_KEYUP:
      DeliverKey(window, TWindowEventKind::ekKeyUp, wParam);
      return true;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
      // Alt combinations reach the toolkit and then the host's menus.
      const HWND handle = window.Handle;
      DeliverKey(window, message == WM_SYSKEYDOWN ? TWindowEventKind::ekKeyDown : TWindowEventKind::ekKeyUp, wParam);
      result = DefWindowProcW(handle, message, wParam, lParam);
      return true;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
      DeliverKey(window, TWindowEventKind::ekChar, wParam);
      return message == WM_CHAR;
    case WM_GETDLGCODE:
      // Arrows, Tab and characters are the toolkit's, even in a host's dialog.
      result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
      return true;
    case WM_TIMER:
      Deliver(window, TWindowEventKind::ekTimer, static_cast<uint32_t>(wParam));
      return true;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != window.Handle || LOWORD(lParam) != HTCLIENT) return false;
      ::SetCursor(SystemCursor(window.Cursor));
      result = TRUE;
      return true;
    case WM_DESTROY:
      if (window.Handle != Destroying) Deliver(window, TWindowEventKind::ekDestroyed);
      window.Gone = true;
      return true;
    default:
      return false;
  }
}

namespace {

// The host's message loop calls in on the thread owning the window, which
// may be another editor's thread than the one in an editor opcode now: the
// user-interface lock keeps them apart.
LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard lock(UserInterfaceLock());
  if (message == WM_NCCREATE) {
    auto* window = static_cast<TWin32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->Handle = handle;
    window->System->Creating = nullptr;
    window->System->Windows[handle].reset(window);
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    TWin32WindowSystem::TState* system = window->System;
    system->Windows.erase(handle);  // frees window
    return DefWindowProcW(handle, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (window->System->Handle(*window, message, wParam, lParam, result)) return result;
  return DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace

// The window class is made first so that it outlives this system: the
// system's destructor (for the plug-in, at unload) still unregisters it.
TWin32WindowSystem::TWin32WindowSystem() : state_(std::make_unique<TState>()) { WindowClass(); }

TWin32WindowSystem::~TWin32WindowSystem() {
  // Whatever is left must never call into this system again (for the
  // plug-in: into an unloaded library).
  std::vector<HWND> left;
  for (const auto& [handle, window] : state_->Windows) left.push_back(handle);
  for (HWND handle : left) {
    SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  }
  // Children go with their parents: destroy from the outermost.
  for (HWND handle : left) {
    if (IsWindow(handle) && std::find(left.begin(), left.end(), GetParent(handle)) == left.end()) {
      ::DestroyWindow(handle);
    }
  }
  state_->Windows.clear();
  if (state_->UsesClass) WindowClass().Release();
}

bool TWin32WindowSystem::Owns(TNativeWindow window) const { return state_->Find(window) != nullptr; }

TNativeWindow TWin32WindowSystem::CreateChild(TNativeWindow parent, const TRect& bounds, TWindowClient& client) {
  if (parent != 0 && !IsWindow(AsHandle(parent))) return 0;
  if (!state_->UsesClass) {
    if (!WindowClass().Acquire()) return 0;
    state_->UsesClass = true;
  }
  auto window = std::make_unique<TWin32Window>();
  window->System = state_.get();
  window->Client = &client;
  window->TopLevel = parent == 0;
  const DWORD style = parent != 0 ? kChildStyle : kTopLevelStyle;
  // No WM_PARENTNOTIFY: the host's window may belong to another thread,
  // and a message sent there would wait for it.
  const DWORD extendedStyle = parent != 0 ? WS_EX_NOPARENTNOTIFY : 0;
  RECT frame = AsRECT(bounds);
  if (parent == 0) AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  // WM_NCCREATE takes the record over; a creation refused before that leaves it here.
  state_->Creating = window.get();
  TWin32Window* record = window.release();
  HWND handle = CreateWindowExW(extendedStyle, WindowClass().Name(), L"", style, frame.left, frame.top,
                                frame.right - frame.left, frame.bottom - frame.top, AsHandle(parent), nullptr,
                                reinterpret_cast<HINSTANCE>(ThisModule()), record);
  delete std::exchange(state_->Creating, nullptr);
  return handle != nullptr ? AsWindow(handle) : 0;
}

// Only the thread that owns a window can destroy it. A host that closes the
// editor from another thread than it opened it on (bridges do) gets the
// window detached here at once, so that the form may go, and destroyed by
// its owner at that thread's next message: a posted WM_CLOSE, which the
// default procedure turns into DestroyWindow. Posted, not sent: the owner
// may be waiting for the user-interface lock this thread holds.
void TWin32WindowSystem::DestroyWindow(TNativeWindow window) {
  if (state_->Find(window) == nullptr) return;
  const HWND handle = AsHandle(window);
  if (GetWindowThreadProcessId(handle, nullptr) == GetCurrentThreadId()) {
    const HWND previous = std::exchange(state_->Destroying, handle);
    const bool destroyed = ::DestroyWindow(handle) != FALSE;
    state_->Destroying = previous;
    if (destroyed || state_->Find(window) == nullptr) return;
  }
  state_->Detach(handle);
  ShowWindowAsync(handle, SW_HIDE);
  PostMessageW(handle, WM_CLOSE, 0, 0);
}

void TWin32WindowSystem::PlaceWindow(TNativeWindow window, const TRect& bounds) {
  const TWin32Window* record = state_->Find(window);
  if (record == nullptr) return;
  RECT frame = AsRECT(bounds);
  if (record->TopLevel) {
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(record->Handle, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(record->Handle, GWL_EXSTYLE)));
  }
  SetWindowPos(record->Handle, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32WindowSystem::ShowWindow(TNativeWindow window, bool visible) {
  const TWin32Window* record = state_->Find(window);
  if (record == nullptr) return;
  ::ShowWindow(record->Handle, !visible ? SW_HIDE : record->TopLevel ? SW_SHOW : SW_SHOWNA);
}

void TWin32WindowSystem::Invalidate(TNativeWindow window, const TRect& area) {
  const TWin32Window* record = state_->Find(window);
  if (record == nullptr || area.IsEmpty()) return;
  const RECT rect = AsRECT(area);
  InvalidateRect(record->Handle, &rect, FALSE);
}

void TWin32WindowSystem::Present(TNativeWindow window, const TRect& area, TSurface& surface, TPoint source) {
  const TWin32Window* record = state_->Find(window);
  if (record == nullptr) return;
  // Only what the surface holds is copied.
  const TRect available = IntersectRect(
      area, TRect{0, 0, surface.Width(), surface.Height()}.Offset(area.Left - source.X, area.Top - source.Y));
  if (available.IsEmpty()) return;
  const int32_t sourceX = source.X + (available.Left - area.Left);
  const int32_t sourceY = source.Y + (available.Top - area.Top);
  surface.Flush();
  HDC target = record->PaintContext != nullptr ? record->PaintContext : GetDC(record->Handle);
  if (target == nullptr) return;
  if (DibSectionSurfaceFactory().SurfaceOf(surface.Handle()) == &surface) {
    BitBlt(target, available.Left, available.Top, available.Width(), available.Height(),
           reinterpret_cast<HDC>(surface.Handle()), sourceX, sourceY, SRCCOPY);
  } else {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = surface.Width();
    info.bmiHeader.biHeight = surface.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // The bottom row comes first: source rows count from the bottom.
    SetDIBitsToDevice(target, available.Left, available.Top, available.Width(), available.Height(), sourceX,
                      surface.Height() - sourceY - available.Height(), 0, surface.Height(), surface.Bits(), &info,
                      DIB_RGB_COLORS);
  }
  if (record->PaintContext == nullptr) ReleaseDC(record->Handle, target);
}

void TWin32WindowSystem::SetCapture(TNativeWindow window) {
  if (window == 0) {
    if (!state_->IsAlive(GetCapture())) return;
    state_->ReleasingCapture = true;
    ReleaseCapture();
    state_->ReleasingCapture = false;
    return;
  }
  const TWin32Window* record = state_->Find(window);
  if (record == nullptr || GetCapture() == record->Handle) return;
  ::SetCapture(record->Handle);
}

void TWin32WindowSystem::SetFocus(TNativeWindow window) {
  if (window == 0) {
    if (state_->IsAlive(GetFocus())) ::SetFocus(nullptr);
    return;
  }
  const TWin32Window* record = state_->Find(window);
  if (record != nullptr && GetFocus() != record->Handle) ::SetFocus(record->Handle);
}

void TWin32WindowSystem::SetCursor(TNativeWindow window, TCursorShape shape) {
  TWin32Window* record = state_->Find(window);
  if (record == nullptr) return;
  record->Cursor = shape;
  // The pointer may rest in the window: show the new shape now, not at its next move.
  POINT pointer;
  if (GetCapture() == record->Handle ||
      (GetCursorPos(&pointer) && WindowFromPoint(pointer) == record->Handle)) {
    ::SetCursor(SystemCursor(shape));
  }
}

void TWin32WindowSystem::SetWindowRegion(TNativeWindow window, const TRegion* region) {
  const TWin32Window* record = state_->Find(window);
  if (record == nullptr) return;
  HRGN shape = region != nullptr ? static_cast<HRGN>(CreateGdiRegionFrom(*region)) : nullptr;
  if (region != nullptr && shape == nullptr) return;
  // The system owns the region once it is set.
  if (SetWindowRgn(record->Handle, shape, TRUE) == 0 && shape != nullptr) DeleteObject(shape);
}

bool TWin32WindowSystem::SetTimer(TNativeWindow window, uint32_t id, uint32_t milliseconds) {
  const TWin32Window* record = state_->Find(window);
  return record != nullptr && ::SetTimer(record->Handle, id, milliseconds, nullptr) != 0;
}

void TWin32WindowSystem::KillTimer(TNativeWindow window, uint32_t id) {
  if (const TWin32Window* record = state_->Find(window)) ::KillTimer(record->Handle, id);
}

bool TWin32WindowSystem::IsKeyDown(uint16_t virtualKey) const { return GetKeyState(virtualKey) < 0; }

uint32_t TWin32WindowSystem::TickCount() const { return GetTickCount(); }

void TWin32WindowSystem::Pump() {
  std::vector<HWND> handles;
  for (const auto& [handle, window] : state_->Windows) handles.push_back(handle);
  // A paint handler may destroy windows: each is looked up again. Windows
  // of other threads (another editor's) are painted by their own thread's
  // loop: asking for their paint from here would wait for that thread.
  const DWORD thread = GetCurrentThreadId();
  for (HWND handle : handles) {
    if (state_->IsAlive(handle) && GetWindowThreadProcessId(handle, nullptr) == thread) UpdateWindow(handle);
  }
}

double TWin32WindowSystem::DisplayScale(TNativeWindow window) {
  constexpr double kBaseDpi = 96.0;
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  UINT dpi = 0;
  if (getDpiForWindow != nullptr && window != 0) dpi = getDpiForWindow(reinterpret_cast<HWND>(window));
  if (dpi == 0) {
    HDC screen = GetDC(nullptr);
    if (screen != nullptr) {
      dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
      ReleaseDC(nullptr, screen);
    }
  }
  return dpi >= 48 && dpi <= 960 ? dpi / kBaseDpi : 1.0;
}

void TWin32WindowSystem::ShowMessage(TNativeWindow owner, std::string_view text) {
  const std::string message(text);
  std::fprintf(stderr, "Zelk: %s\n", message.c_str());
  const HWND ownerHandle = owner != 0 && IsWindow(AsHandle(owner)) ? AsHandle(owner) : nullptr;
  MessageBoxA(ownerHandle, message.c_str(), nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

TCursorShape TWin32WindowSystem::CursorOf(TNativeWindow window) const {
  const TWin32Window* record = state_->Find(window);
  return record != nullptr ? record->Cursor : TCursorShape::csArrow;
}

TWin32WindowSystem& Win32Windows() {
  static TWin32WindowSystem windows;
  return windows;
}

uintptr_t ThisModule() {
  // Asked once: while the library unloads, the system may no longer tell.
  static const uintptr_t module = [] {
    HMODULE handle = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &handle);
    return reinterpret_cast<uintptr_t>(handle);
  }();
  return module;
}

std::string WindowClassNameFor(uintptr_t module) {
  char name[48];
  std::snprintf(name, sizeof name, "ZelkWindow.%0*llX", static_cast<int>(sizeof(uintptr_t) * 2),
                static_cast<unsigned long long>(module));
  return name;
}

uint16_t KeyCodeOfVirtualKey(uint32_t virtualKey) {
  switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return vkShift;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return vkControl;
    case VK_LMENU:
    case VK_RMENU:
      return vkMenu;
    default:
      return static_cast<uint16_t>(virtualKey & 0xFFu);
  }
}

}  // namespace zelk::platform
