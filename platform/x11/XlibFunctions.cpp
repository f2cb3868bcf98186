#include "platform/x11/XlibFunctions.h"

#include "platform/DynamicLibrary.h"

namespace zelk::platform {

TXlibFunctions gXlib;

namespace {

// The sonames every Linux system has had since the 1990s.
constexpr const char* kXlibName = "libX11.so.6";
constexpr const char* kXextName = "libXext.so.6";

struct TXlibLoad {
  bool Ready = false;
  std::string Error;
  // Never closed: see the contract in XlibFunctions.h.
  TDynamicLibrary* Xlib = nullptr;
  TDynamicLibrary* Xext = nullptr;
};

TDynamicLibrary* OpenForever(const char* name, std::string& error) {
  auto* library = new TDynamicLibrary;
  if (library->Open(name)) return library;
  error = library->ErrorText();
  delete library;
  return nullptr;
}

template <typename TFunction>
bool Bind(TDynamicLibrary& library, TFunction& function, const char* name, bool required, std::string& error) {
  function = reinterpret_cast<TFunction>(library.FindSymbol(name));
  if (function != nullptr || !required) return true;
  error = library.ErrorText();
  return false;
}

TXlibLoad LoadLibraries() {
  TXlibLoad load;
  TDynamicLibrary* xlib = load.Xlib = OpenForever(kXlibName, load.Error);
  if (xlib == nullptr) return load;
  TDynamicLibrary* xext = load.Xext = OpenForever(kXextName, load.Error);
  if (xext == nullptr) return load;
  TXlibFunctions functions;
  bool bound = true;
#define ZELK_BIND_REQUIRED(library, name) bound = bound && Bind(*library, functions.name, #name, true, load.Error);
#define ZELK_BIND_XLIB(name) ZELK_BIND_REQUIRED(xlib, name)
#define ZELK_BIND_XEXT(name) ZELK_BIND_REQUIRED(xext, name)
#define ZELK_BIND_OPTIONAL(name) Bind(*xlib, functions.name, #name, false, load.Error);
  ZELK_XLIB_REQUIRED_FUNCTIONS(ZELK_BIND_XLIB)
  ZELK_XEXT_REQUIRED_FUNCTIONS(ZELK_BIND_XEXT)
  ZELK_XLIB_OPTIONAL_FUNCTIONS(ZELK_BIND_OPTIONAL)
#undef ZELK_BIND_OPTIONAL
#undef ZELK_BIND_XEXT
#undef ZELK_BIND_XLIB
#undef ZELK_BIND_REQUIRED
  if (!bound) return load;
  gXlib = functions;
  load.Ready = true;
  return load;
}

// Initialised once, by the first caller; others wait for its outcome.
const TXlibLoad& Loaded() {
  static const TXlibLoad load = LoadLibraries();
  return load;
}

}  // namespace

bool LoadXlib() { return Loaded().Ready; }

const std::string& XlibLoadError() { return Loaded().Error; }

}  // namespace zelk::platform
