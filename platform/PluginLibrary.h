// A plug-in library opened the way a host opens it: load the file, find its
// entry point, unload it again. One backend per system implements Open, Close
// and FindSymbol (platform/posix: dlopen; platform/win32: LoadLibraryW).
//
// Contract
// - Paths are UTF-8 on every system.
// - Every failing call leaves a one-line, human-readable reason in ErrorText
//   that names the file; a successful Open or FindEntryPoint clears it.
// - The entry point is "VSTPluginMain" when the library exports it, "main"
//   otherwise, as hosts look for them.
// - Closing (explicitly or by destruction) unloads the library; every effect
//   record obtained from it must have been closed (effClose) before. Builds
//   with AddressSanitizer keep the library mapped so that leak checking at
//   exit sees the plug-in's globals and names its functions.
// - Not thread-safe: one owner opens, looks up and closes.
#pragma once

#include <string>

#include "framework/VstInterface.h"

namespace zelk::platform {

class TPluginLibrary {
 public:
  TPluginLibrary() = default;
  ~TPluginLibrary() { Close(); }
  TPluginLibrary(const TPluginLibrary&) = delete;
  TPluginLibrary& operator=(const TPluginLibrary&) = delete;

  // Loads the library at utf8Path, closing any library opened before.
  bool Open(const std::string& utf8Path);
  void Close();
  bool IsOpen() const { return m_Handle != nullptr; }

  // The library's entry point, or null when it exports neither name.
  VstPluginMainProc FindEntryPoint() {
    if (!IsOpen()) {
      m_ErrorText = "no plug-in library is open";
      return nullptr;
    }
    for (const char* name : {"VSTPluginMain", "main"}) {
      if (TSymbol symbol = FindSymbol(name)) {
        m_ErrorText.clear();
        return reinterpret_cast<VstPluginMainProc>(symbol);
      }
    }
    m_ErrorText = "'" + m_Path + "' exports no plug-in entry point (neither VSTPluginMain nor main)";
    return nullptr;
  }

  const std::string& Path() const { return m_Path; }
  const std::string& ErrorText() const { return m_ErrorText; }

 private:
  // A function of the library, as a generic function pointer.
  using TSymbol = void (*)();
  TSymbol FindSymbol(const char* name);

  void* m_Handle = nullptr;
  std::string m_Path;
  std::string m_ErrorText;
};

}  // namespace zelk::platform
