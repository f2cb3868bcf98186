#include "tools/render/RenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace zelk::render {

namespace {

double ParseAngle(const std::string& text, const std::string& option) {
  char* end = nullptr;
  errno = 0;
  const double degrees = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || errno != 0 || !std::isfinite(degrees)) {
    throw TUsageError{option + " expects degrees, got '" + text + "'"};
  }
  if (degrees < 0.0 || degrees > 360.0) {
    throw TUsageError{option + " " + text + " is outside 0 to 360 degrees"};
  }
  return degrees;
}

int32_t ParseBlockSize(const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const long long frames = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || end != text.c_str() + text.size() || errno != 0 || frames < 1 || frames > kMaxBlockSize) {
    throw TUsageError{"--block expects a frame count from 1 to " + std::to_string(kMaxBlockSize) + ", got '" +
                      text + "'"};
  }
  return static_cast<int32_t>(frames);
}

void ParseSweep(const std::string& text, TRenderOptions& options) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) {
    throw TUsageError{"--sweep expects FROM:TO in degrees, got '" + text + "'"};
  }
  options.FromAngle = ParseAngle(text.substr(0, colon), "--sweep");
  options.ToAngle = ParseAngle(text.substr(colon + 1), "--sweep");
  options.Sweep = true;
}

}  // namespace

TRenderOptions ParseRenderOptions(const std::vector<std::string>& arguments) {
  TRenderOptions options;
  std::vector<std::string> files;
  bool angleGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    std::string value;
    bool hasInlineValue = false;
    if (argument.rfind("--", 0) == 0 && argument.find('=') != std::string::npos) {
      value = argument.substr(argument.find('=') + 1);
      argument = argument.substr(0, argument.find('='));
      hasInlineValue = true;
    }
    auto takeValue = [&]() -> std::string {
      if (hasInlineValue) {
        return value;
      }
      if (i + 1 >= arguments.size()) {
        throw TUsageError{argument + " needs a value"};
      }
      return arguments[++i];
    };
    if (argument == "--help" || argument == "-h") {
      options.ShowHelp = true;
    } else if (argument == "--angle") {
      options.FromAngle = options.ToAngle = ParseAngle(takeValue(), "--angle");
      angleGiven = true;
    } else if (argument == "--sweep") {
      ParseSweep(takeValue(), options);
    } else if (argument == "--block") {
      options.BlockSize = ParseBlockSize(takeValue());
    } else if (argument == "--plugin") {
      options.PluginPath = takeValue();
    } else if (argument.size() > 1 && argument[0] == '-') {
      throw TUsageError{"unknown option '" + argument + "'"};
    } else {
      files.push_back(argument);
    }
  }
  if (angleGiven && options.Sweep) {
    throw TUsageError{"--angle and --sweep exclude each other"};
  }
  if (files.size() == 2) {
    options.InputPath = files[0];
    options.OutputPath = files[1];
  } else if (!files.empty() && !options.ShowHelp) {
    throw TUsageError{"give both an input and an output file, or none for the demo"};
  }
  return options;
}

std::string UsageText() {
  return "usage: zelk-render [--angle DEG | --sweep FROM:TO] [--block N] [--plugin FILE] [IN.wav OUT.wav]\n"
         "\n"
         "Turns the stereo image of a two-channel audio file by running it through the\n"
         "Zelk Vorlan plug-in, loaded through its entry point the way a host loads it.\n"
         "\n"
         "  --angle DEG       fixed angle, 0 to 360 degrees (default 90; 360 passes the\n"
         "                    signal unchanged, 180 swaps the channels, inverting one)\n"
         "  --sweep FROM:TO   move the angle linearly from FROM to TO over the file,\n"
         "                    set once per block\n"
         "  --block N         frames per processing call (default 512)\n"
         "  --plugin FILE     the plug-in library (default: Zelk.so of this build tree)\n"
         "  IN.wav OUT.wav    input and output; any format libsndfile reads. The output\n"
         "                    keeps the input's sample format where its type allows,\n"
         "                    32-bit float otherwise.\n"
         "\n"
         "Without files, a built-in stereo test signal (a 440 Hz tone on the left, a\n"
         "660 Hz tone at half the level on the right, 48 kHz) is rendered into the\n"
         "build tree as zelk-demo.wav, beside its input zelk-demo-in.wav.\n";
}

}  // namespace zelk::render
