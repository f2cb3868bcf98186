// The plug-in that the host-like suites (host, stress, render) load: the one
// named by ZELK_PLUGIN when it is set, else the plug-in of the build the
// suite belongs to (ZELK_BUILT_PLUGIN, compiled in by tests/CMakeLists.txt).
// A suite run by hand from the build folder therefore tests the plug-in
// built beside it; when there is none it fails and says how to run it, never
// passes without testing anything.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/PluginPath.h"

namespace zelk::tests {

// On success path names an existing plug-in file. Use as
// ASSERT_TRUE(tests::FindBuiltPlugin(path)).
inline ::testing::AssertionResult FindBuiltPlugin(std::string& path) {
#ifdef ZELK_BUILT_PLUGIN
  path = PluginPath(ZELK_BUILT_PLUGIN);
#else
  path = PluginPath("");
#endif
  if (path.empty()) {
    return ::testing::AssertionFailure() << "no plug-in to test: set ZELK_PLUGIN to the path of a built Zelk library";
  }
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) return ::testing::AssertionSuccess();
  if (PluginNamedByEnvironment()) {
    return ::testing::AssertionFailure() << "ZELK_PLUGIN names no file: " << path
                                         << "; unset it to test the plug-in of this build";
  }
  return ::testing::AssertionFailure() << "no plug-in at " << path
                                       << ": build the Zelk target first (cmake --build <build> --target Zelk), "
                                       << "or set ZELK_PLUGIN to the path of a built Zelk library";
}

}  // namespace zelk::tests
