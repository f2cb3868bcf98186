// The module's window class: named after the module (EXE or DLL) this code
// lives in, registered with the first window and unregistered when the last
// window system of the module goes.
#include "platform/win32/Win32WindowState.h"

#include <cstdio>
#include <string>

namespace zelk::platform {

namespace {

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

}  // namespace

bool AcquireWindowClass() { return WindowClass().Acquire(); }
void ReleaseWindowClass() { WindowClass().Release(); }
const wchar_t* WindowClassName() { return WindowClass().Name(); }
void KeepWindowClass() { WindowClass(); }

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

}  // namespace zelk::platform
