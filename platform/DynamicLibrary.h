// A shared library opened at run time: load the file, find a symbol by name,
// unload it again. One backend per system implements the three calls
// (platform/posix: the dynamic loader; platform/win32: LoadLibraryW).
//
// Contract
// - Paths are UTF-8 on every system.
// - Every failing call leaves a one-line, human-readable reason in ErrorText
//   that names the file; a successful Open or FindSymbol clears it.
// - Symbols are looked up in the library alone; its symbols are not made
//   visible to other libraries loaded later.
// - Closing (explicitly or by destruction) unloads the library; nothing
//   obtained from it may be used afterwards. Builds with AddressSanitizer
//   keep the library mapped so that leak checking at exit sees the library's
//   globals and names its functions.
// - Not thread-safe: one owner opens, looks up and closes.
#pragma once

#include <string>

namespace zelk::platform {

class TDynamicLibrary {
 public:
  // A function of the library, as a generic function pointer.
  using TSymbol = void (*)();

  TDynamicLibrary() = default;
  ~TDynamicLibrary() { Close(); }
  TDynamicLibrary(const TDynamicLibrary&) = delete;
  TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

  // Loads the library at utf8Path, closing any library opened before.
  bool Open(const std::string& utf8Path);
  void Close();
  bool IsOpen() const { return m_Handle != nullptr; }

  // The exported function of that name, or null when the library has none
  // or none is open.
  TSymbol FindSymbol(const char* name);

  const std::string& Path() const { return m_Path; }
  const std::string& ErrorText() const { return m_ErrorText; }

 private:
  // The backend's lookup; null when the name is not exported.
  TSymbol LookUp(const char* name) const;

  void* m_Handle = nullptr;
  std::string m_Path;
  std::string m_ErrorText;
};

}  // namespace zelk::platform
