// The command line of zelk-render: what to render, at which angle(s), in
// which blocks, through which plug-in file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/common/CommandLine.h"

namespace zelk::render {

inline constexpr double kDefaultAngle = 90.0;
inline constexpr int32_t kDefaultBlockSize = 512;
inline constexpr int32_t kMaxBlockSize = 1 << 20;

struct TRenderOptions {
  double FromAngle = kDefaultAngle;  // degrees, 0 to 360
  double ToAngle = kDefaultAngle;    // equals FromAngle unless sweeping
  bool Sweep = false;
  int32_t BlockSize = kDefaultBlockSize;
  std::string PluginPath;   // empty: the Zelk.so of the tool's build tree
  std::string InputPath;    // both empty: render the built-in demo signal
  std::string OutputPath;
  std::string OutputFormat;  // --format: a format name; empty: the output's extension decides
  bool ShowHelp = false;
  bool ShowVersion = false;
};

using tools::TUsageError;

// Parses argv[1..]; throws TUsageError with a one-line reason when the
// command line is malformed or a value is out of range.
TRenderOptions ParseRenderOptions(const std::vector<std::string>& arguments);

std::string UsageText();

}  // namespace zelk::render
