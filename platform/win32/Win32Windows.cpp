#include "platform/win32/Win32Windows.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/win32/DibSectionSurface.h"
#include "platform/win32/GdiRegion.h"
#include "platform/win32/Win32WindowState.h"

namespace zelk::platform {

namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kTopLevelStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace

// Our windows inside handle (its descendants).
std::vector<HWND> TWin32WindowSystem::TState::DescendantsOf(HWND handle) const {
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
void TWin32WindowSystem::TState::Detach(HWND handle) {
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
// The window class is made first so that it outlives this system: the
// system's destructor (for the plug-in, at unload) still unregisters it.
TWin32WindowSystem::TWin32WindowSystem() : state_(std::make_unique<TState>()) { KeepWindowClass(); }

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
  if (state_->UsesClass) ReleaseWindowClass();
}

bool TWin32WindowSystem::Owns(TNativeWindow window) const { return state_->Find(window) != nullptr; }

TNativeWindow TWin32WindowSystem::CreateChild(TNativeWindow parent, const TRect& bounds, TWindowClient& client) {
  if (parent != 0 && !IsWindow(AsHandle(parent))) return 0;
  if (!state_->UsesClass) {
    if (!AcquireWindowClass()) return 0;
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
  HWND handle = CreateWindowExW(extendedStyle, WindowClassName(), L"", style, frame.left, frame.top,
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

}  // namespace zelk::platform
