// A plug-in library opened the way a host opens it: load the file, find its
// entry point, unload it again.
//
// Contract
// - Paths are UTF-8 on every system, and name the file as typed: a bare
//   file name is a file in the current folder, never one the system's
//   library search finds elsewhere.
// - Every failing call leaves a one-line, human-readable reason in ErrorText
//   that names the file; a successful Open or FindEntryPoint clears it.
// - The entry point is "VSTPluginMain" when the library exports it, "main"
//   otherwise, as hosts look for them.
// - Closing (explicitly or by destruction) unloads the library; every effect
//   record obtained from it must have been closed (effClose) before.
// - Not thread-safe: one owner opens, looks up and closes.
#pragma once

#include <string>

#include "framework/VstInterface.h"
#include "platform/DynamicLibrary.h"

namespace zelk::host {

class TPluginLibrary {
 public:
  // Loads the library at utf8Path, closing any library opened before.
  bool Open(const std::string& utf8Path);
  void Close() { library_.Close(); }
  bool IsOpen() const { return library_.IsOpen(); }

  // The library's entry point, or null when it exports neither name.
  VstPluginMainProc FindEntryPoint();

  const std::string& Path() const { return library_.Path(); }
  const std::string& ErrorText() const { return errorText_; }

 private:
  platform::TDynamicLibrary library_;
  std::string errorText_;
};

}  // namespace zelk::host
