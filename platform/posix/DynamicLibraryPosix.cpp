// Shared libraries on POSIX systems, through the dynamic loader.

#include <dlfcn.h>

#include "platform/DynamicLibrary.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZELK_LEAK_CHECKED_BUILD 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZELK_LEAK_CHECKED_BUILD 1
#endif

namespace zelk::platform {

namespace {

// RTLD_LOCAL keeps the library's symbols (a plug-in's own "main" among them)
// out of the global scope, so several libraries cannot bind to each other.
#if defined(ZELK_LEAK_CHECKED_BUILD)
// Leak-checked builds keep the library mapped after Close: what it keeps for
// the life of the process stays reachable through its globals, and leak
// reports can still name its functions at exit.
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE;
#else
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL;
#endif

// dlerror's text already names the file; it is null when nothing failed.
std::string LastLoaderError(const std::string& path) {
  const char* text = dlerror();
  return text != nullptr ? text : "'" + path + "' could not be loaded";
}

}  // namespace

bool TDynamicLibrary::Open(const std::string& utf8Path) {
  Close();
  m_Path = utf8Path;
  dlerror();
  m_Handle = dlopen(utf8Path.c_str(), kOpenFlags);
  if (m_Handle == nullptr) {
    m_ErrorText = LastLoaderError(utf8Path);
    return false;
  }
  m_ErrorText.clear();
  return true;
}

void TDynamicLibrary::Close() {
  if (m_Handle != nullptr) {
    dlclose(m_Handle);
    m_Handle = nullptr;
  }
}

TDynamicLibrary::TSymbol TDynamicLibrary::LookUp(const char* name) const {
  dlerror();
  void* address = dlsym(m_Handle, name);
  return address != nullptr ? reinterpret_cast<TSymbol>(address) : nullptr;
}

}  // namespace zelk::platform
