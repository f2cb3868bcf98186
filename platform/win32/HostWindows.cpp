#include "platform/win32/HostWindows.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

namespace zelk::platform::host {

namespace {

constexpr wchar_t kHostClassName[] = L"ZelkTestHostWindow";

HWND AsHandle(TNativeWindow window) { return reinterpret_cast<HWND>(window); }
TNativeWindow AsWindow(HWND handle) { return reinterpret_cast<TNativeWindow>(handle); }

bool RegisterHostClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kHostClassName;
    return RegisterClassExW(&windowClass) != 0;
  }();
  return registered;
}

HCURSOR CursorOfShape(TCursorShape shape) {
  LPCSTR name = IDC_ARROW;
  switch (shape) {
    case TCursorShape::csNone: return nullptr;
    case TCursorShape::csCross: name = IDC_CROSS; break;
    case TCursorShape::csIBeam: name = IDC_IBEAM; break;
    case TCursorShape::csHandPoint: name = IDC_HAND; break;
    case TCursorShape::csSizeWE: name = IDC_SIZEWE; break;
    case TCursorShape::csSizeNS: name = IDC_SIZENS; break;
    case TCursorShape::csWait: name = IDC_WAIT; break;
    default: break;
  }
  return LoadCursorA(nullptr, name);
}

}  // namespace

TNativeWindow CreateHostWindow(int32_t width, int32_t height) {
  if (!RegisterHostClass()) return 0;
  constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  HWND handle = CreateWindowExW(0, kHostClassName, L"Host", style, 40, 40, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (handle != nullptr) ShowWindow(handle, SW_SHOW);
  return AsWindow(handle);
}

void DestroyHostWindow(TNativeWindow window) { DestroyWindow(AsHandle(window)); }

void PostHostMessage(TNativeWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  PostMessageW(AsHandle(window), message, wParam, lParam);
}

intptr_t SendHostMessage(TNativeWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return SendMessageW(AsHandle(window), message, wParam, lParam);
}

void SendPointerInput(TNativeWindow window, TPoint point, THostPointerAction action, int32_t wheelDelta) {
  POINT screen{point.X, point.Y};
  ClientToScreen(AsHandle(window), &screen);
  // Putting the pointer where it is would be a move of its own.
  POINT at{};
  if (!GetCursorPos(&at) || at.x != screen.x || at.y != screen.y) SetCursorPos(screen.x, screen.y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  switch (action) {
    case THostPointerAction::paMove: input.mi.dwFlags = MOUSEEVENTF_MOVE; break;  // by nothing: where it was put
    case THostPointerAction::paLeftDown: input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN; break;
    case THostPointerAction::paLeftUp: input.mi.dwFlags = MOUSEEVENTF_LEFTUP; break;
    case THostPointerAction::paWheel:
      input.mi.dwFlags = MOUSEEVENTF_WHEEL;
      input.mi.mouseData = static_cast<DWORD>(wheelDelta);
      break;
  }
  SendInput(1, &input, sizeof input);
}

uint32_t PixelOfWindow(TNativeWindow window, int32_t x, int32_t y) {
  HDC context = GetDC(AsHandle(window));
  if (context == nullptr) return 0xFFFFFFFFu;
  const COLORREF color = GetPixel(context, x, y);
  ReleaseDC(AsHandle(window), context);
  return static_cast<uint32_t>(GetRValue(color)) << 16 | static_cast<uint32_t>(GetGValue(color)) << 8 | GetBValue(color);
}

void TakeCapture(TNativeWindow window) {
  if (window != 0) {
    SetCapture(AsHandle(window));
  } else {
    ReleaseCapture();
  }
}

void SendSetCursor(TNativeWindow window) {
  SendMessageW(AsHandle(window), WM_SETCURSOR, reinterpret_cast<WPARAM>(AsHandle(window)),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void Wait(uint32_t milliseconds) { Sleep(milliseconds); }

bool IsMemoryDeviceContext(uintptr_t handle) {
  return GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) == OBJ_MEMDC;
}

uint32_t PixelOfContext(uintptr_t handle, int32_t x, int32_t y) {
  const COLORREF color = GetPixel(reinterpret_cast<HDC>(handle), x, y);
  return static_cast<uint32_t>(GetRValue(color)) << 16 | static_cast<uint32_t>(GetGValue(color)) << 8 | GetBValue(color);
}

namespace {

struct TEightBitContext {
  HBITMAP Section = nullptr;
  HGDIOBJ Previous = nullptr;
  const uint8_t* Bits = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
};

std::map<uintptr_t, TEightBitContext>& EightBitContexts() {
  static std::map<uintptr_t, TEightBitContext> contexts;
  return contexts;
}

}  // namespace

uintptr_t CreateEightBitContext(int32_t width, int32_t height, std::span<const TColorEntry, 256> colors) {
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
  } info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = width;
  info.Header.biHeight = height;
  info.Header.biPlanes = 1;
  info.Header.biBitCount = 8;
  info.Header.biCompression = BI_RGB;
  for (size_t index = 0; index < 256; ++index) {
    info.Colors[index] = {colors[index].Blue, colors[index].Green, colors[index].Red, 0};
  }
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (section == nullptr) {
    DeleteDC(dc);
    return 0;
  }
  std::memset(bits, 0, static_cast<size_t>((width + 3) & ~3) * height);
  const auto handle = reinterpret_cast<uintptr_t>(dc);
  EightBitContexts()[handle] = {section, SelectObject(dc, section), static_cast<const uint8_t*>(bits), width, height};
  return handle;
}

uint8_t IndexOfEightBitContext(uintptr_t context, int32_t x, int32_t y) {
  const TEightBitContext& found = EightBitContexts().at(context);
  GdiFlush();
  return found.Bits[static_cast<size_t>(found.Height - 1 - y) * ((found.Width + 3) & ~3) + x];
}

void DeleteEightBitContext(uintptr_t context) {
  const TEightBitContext found = EightBitContexts().at(context);
  EightBitContexts().erase(context);
  HDC dc = reinterpret_cast<HDC>(context);
  SelectObject(dc, found.Previous);
  DeleteObject(found.Section);
  DeleteDC(dc);
}

intptr_t PointParam(TPoint point) { return MAKELPARAM(static_cast<WORD>(point.X), static_cast<WORD>(point.Y)); }

uintptr_t WheelParam(int32_t delta, uint32_t keys) {
  return MAKEWPARAM(static_cast<WORD>(keys), static_cast<WORD>(static_cast<int16_t>(delta)));
}

intptr_t ScreenPointParam(TNativeWindow window, TPoint point) {
  POINT screen{point.X, point.Y};
  ClientToScreen(reinterpret_cast<HWND>(window), &screen);
  return PointParam({screen.x, screen.y});
}

void RunMessageLoop() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool WindowExists(TNativeWindow window) { return IsWindow(AsHandle(window)) != FALSE; }

TNativeWindow ParentOf(TNativeWindow window) { return AsWindow(GetParent(AsHandle(window))); }

std::vector<TNativeWindow> ChildrenOf(TNativeWindow window) {
  std::vector<TNativeWindow> children;
  for (HWND child = GetWindow(AsHandle(window), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(AsWindow(child));
  }
  return children;
}

TRect BoundsInParent(TNativeWindow window) {
  RECT rect{};
  GetWindowRect(AsHandle(window), &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(AsHandle(window)), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

TRect ClientRectOf(TNativeWindow window) {
  RECT rect{};
  GetClientRect(AsHandle(window), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

uint32_t StyleOf(TNativeWindow window) { return static_cast<uint32_t>(GetWindowLongPtrW(AsHandle(window), GWL_STYLE)); }

uint32_t ExtendedStyleOf(TNativeWindow window) {
  return static_cast<uint32_t>(GetWindowLongPtrW(AsHandle(window), GWL_EXSTYLE));
}

bool IsShown(TNativeWindow window) { return IsWindowVisible(AsHandle(window)) != FALSE; }

bool NeedsPaint(TNativeWindow window) { return GetUpdateRect(AsHandle(window), nullptr, FALSE) != FALSE; }

std::string ClassNameOf(TNativeWindow window) {
  char name[256] = {};
  const int length = GetClassNameA(AsHandle(window), name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

uintptr_t ClassModuleOf(TNativeWindow window) {
  return static_cast<uintptr_t>(GetClassLongPtrW(AsHandle(window), GCLP_HMODULE));
}

bool IsClassRegistered(uintptr_t module, const std::string& name) {
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  return GetClassInfoExA(reinterpret_cast<HINSTANCE>(module), name.c_str(), &info) != FALSE;
}

uintptr_t ModuleAt(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCWSTR>(address), &module);
  return reinterpret_cast<uintptr_t>(module);
}

TNativeWindow FocusWindow() { return AsWindow(GetFocus()); }

TNativeWindow CaptureWindow() { return AsWindow(GetCapture()); }

std::vector<TRect> RegionOf(TNativeWindow window, bool& hasRegion) {
  std::vector<TRect> rects;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  hasRegion = GetWindowRgn(AsHandle(window), region) != ERROR;
  if (hasRegion) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> data(size);
    auto* regionData = reinterpret_cast<RGNDATA*>(data.data());
    if (size != 0 && GetRegionData(region, size, regionData) != 0) {
      const auto* list = reinterpret_cast<const RECT*>(regionData->Buffer);
      for (DWORD index = 0; index < regionData->rdh.nCount; ++index) {
        rects.push_back({list[index].left, list[index].top, list[index].right, list[index].bottom});
      }
    }
  }
  DeleteObject(region);
  return rects;
}

bool CursorIs(TCursorShape shape) { return GetCursor() == CursorOfShape(shape); }

std::vector<uint32_t> PrintClient(TNativeWindow window) {
  RECT client{};
  GetClientRect(AsHandle(window), &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC context = CreateCompatibleDC(nullptr);
  std::vector<uint32_t> pixels;
  if (bitmap != nullptr && context != nullptr) {
    HGDIOBJ previous = SelectObject(context, bitmap);
    SendMessageW(AsHandle(window), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(context), PRF_CLIENT);
    GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    pixels.assign(first, first + static_cast<size_t>(width) * height);
    for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;
    SelectObject(context, previous);
  }
  if (context != nullptr) DeleteDC(context);
  if (bitmap != nullptr) DeleteObject(bitmap);
  return pixels;
}

struct TMessageBoxWatch::TState {
  std::atomic<bool> Stop{false};
  mutable std::mutex Lock;
  std::vector<std::string> Texts;
  std::thread Watcher;
};

namespace {

BOOL CALLBACK CloseIfMessageBox(HWND window, LPARAM state) {
  char className[16] = {};
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || GetClassNameA(window, className, sizeof className) == 0 ||
      std::string(className) != "#32770") {
    return TRUE;
  }
  char text[1024] = {};
  // The box's static text; a box still being built is taken at the next look.
  if (GetDlgItemTextA(window, 0xFFFF, text, sizeof text) == 0) return TRUE;
  auto* watch = reinterpret_cast<TMessageBoxWatch::TState*>(state);
  {
    const std::lock_guard<std::mutex> guard(watch->Lock);
    watch->Texts.emplace_back(text);
  }
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

}  // namespace

TMessageBoxWatch::TMessageBoxWatch() : state_(new TState) {
  state_->Watcher = std::thread([state = state_] {
    while (!state->Stop.load()) {
      EnumWindows(&CloseIfMessageBox, reinterpret_cast<LPARAM>(state));
      Sleep(50);
    }
  });
}

TMessageBoxWatch::~TMessageBoxWatch() {
  state_->Stop.store(true);
  state_->Watcher.join();
  delete state_;
}

std::vector<std::string> TMessageBoxWatch::Texts() const {
  const std::lock_guard<std::mutex> guard(state_->Lock);
  return state_->Texts;
}

}  // namespace zelk::platform::host
