#include "tools/common/PluginLibrary.h"

namespace zelk::host {

namespace {

// Newer hosts ask for the first name; older ones know only the second.
constexpr const char* kEntryPointNames[] = {"VSTPluginMain", "main"};

#if defined(_WIN32)
constexpr const char* kFolderSeparators = "/\\:";
#else
constexpr const char* kFolderSeparators = "/";
#endif

// The loaders search their own path (LD_LIBRARY_PATH, the system folders;
// on Windows the program's folder and PATH) for a name without a folder, so
// a bare file name is made to name the file in the current folder, as the
// user meant it.
std::string AsTypedPath(const std::string& utf8Path) {
  const bool hasFolder = utf8Path.find_first_of(kFolderSeparators) != std::string::npos;
  return hasFolder || utf8Path.empty() ? utf8Path : "./" + utf8Path;
}

}  // namespace

bool TPluginLibrary::Open(const std::string& utf8Path) {
  if (!library_.Open(AsTypedPath(utf8Path))) {
    errorText_ = "cannot load plug-in: " + library_.ErrorText();
    return false;
  }
  errorText_.clear();
  return true;
}

VstPluginMainProc TPluginLibrary::FindEntryPoint() {
  if (!IsOpen()) {
    errorText_ = "no plug-in library is open";
    return nullptr;
  }
  for (const char* name : kEntryPointNames) {
    if (platform::TDynamicLibrary::TSymbol symbol = library_.FindSymbol(name)) {
      errorText_.clear();
      return reinterpret_cast<VstPluginMainProc>(symbol);
    }
  }
  errorText_ = "'" + Path() + "' exports no plug-in entry point (neither VSTPluginMain nor main)";
  return nullptr;
}

}  // namespace zelk::host
