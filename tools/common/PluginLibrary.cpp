#include "tools/common/PluginLibrary.h"

namespace zelk::host {

namespace {

// Newer hosts ask for the first name; older ones know only the second.
constexpr const char* kEntryPointNames[] = {"VSTPluginMain", "main"};

}  // namespace

bool TPluginLibrary::Open(const std::string& utf8Path) {
  if (!library_.Open(utf8Path)) {
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
