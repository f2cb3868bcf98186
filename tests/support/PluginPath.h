// The one place that reads ZELK_PLUGIN: the plug-in a test or benchmark
// loads is the one it names when it is set, else the one of the build.
#pragma once

#include <cstdlib>
#include <string>

namespace zelk::tests {

inline bool PluginNamedByEnvironment() { return std::getenv("ZELK_PLUGIN") != nullptr; }

// ZELK_PLUGIN when set, else built (which may be empty).
inline std::string PluginPath(const char* built) {
  const char* named = std::getenv("ZELK_PLUGIN");
  return named != nullptr ? named : built;
}

}  // namespace zelk::tests
