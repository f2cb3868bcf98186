#include "tools/common/PluginLibrary.h"

namespace zelk::host {

namespace {

// Newer hosts ask for the first name; older ones know only the second.
constexpr const char* kEntryPointNames[] = {"VSTPluginMain", "main"};

}  // namespace

bool TPluginLibrary::Open(const std::string& utf8Path) {
  if (!m_Library.Open(utf8Path)) {
    m_ErrorText = "cannot load plug-in: " + m_Library.ErrorText();
    return false;
  }
  m_ErrorText.clear();
  return true;
}

VstPluginMainProc TPluginLibrary::FindEntryPoint() {
  if (!IsOpen()) {
    m_ErrorText = "no plug-in library is open";
    return nullptr;
  }
  for (const char* name : kEntryPointNames) {
    if (platform::TDynamicLibrary::TSymbol symbol = m_Library.FindSymbol(name)) {
      m_ErrorText.clear();
      return reinterpret_cast<VstPluginMainProc>(symbol);
    }
  }
  m_ErrorText = "'" + Path() + "' exports no plug-in entry point (neither VSTPluginMain nor main)";
  return nullptr;
}

}  // namespace zelk::host
