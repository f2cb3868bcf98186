// The X servers that ctest's fixture starts (scripts/x11-server) write their
// display names to the file ZELK_X11_DISPLAY_FILE names: the usual server
// there, the plain one (no MIT-SHM, an 8-bit screen 1) beside it with the
// suffix "-plain". Run by hand, the tests use DISPLAY.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace zelk::tests {

// The display the fixture's file names; empty without a fixture.
inline std::string FixtureDisplay(const std::string& suffix = "") {
  const char* file = std::getenv("ZELK_X11_DISPLAY_FILE");
  if (file == nullptr) return {};
  std::ifstream in(std::string(file) + suffix);
  std::string name;
  in >> name;
  return name;
}

// Points DISPLAY at the fixture's usual server when there is one.
inline void UseFixtureDisplay() {
  const std::string name = FixtureDisplay();
  if (!name.empty()) setenv("DISPLAY", name.c_str(), 1);
}

}  // namespace zelk::tests
