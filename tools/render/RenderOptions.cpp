#include "tools/render/RenderOptions.h"

namespace zelk::render {

namespace {

void ParseSweep(const std::string& text, TRenderOptions& options) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) {
    throw TUsageError{"--sweep expects FROM:TO in degrees, got '" + text + "'"};
  }
  options.FromAngle = tools::ParseDegrees(text.substr(0, colon), "--sweep");
  options.ToAngle = tools::ParseDegrees(text.substr(colon + 1), "--sweep");
  options.Sweep = true;
}

}  // namespace

TRenderOptions ParseRenderOptions(const std::vector<std::string>& arguments) {
  const tools::TCommandLine line(arguments, {{"--angle", true},
                                             {"--sweep", true},
                                             {"--block", true},
                                             {"--plugin", true},
                                             {"--format", true}});
  TRenderOptions options;
  options.ShowHelp = line.WantsHelp();
  options.ShowVersion = line.WantsVersion();
  if (options.ShowHelp || options.ShowVersion) return options;
  if (line.Has("--angle") && line.Has("--sweep")) {
    throw TUsageError{"--angle and --sweep exclude each other"};
  }
  if (const auto angle = line.Value("--angle")) {
    options.FromAngle = options.ToAngle = tools::ParseDegrees(*angle, "--angle");
  }
  if (const auto sweep = line.Value("--sweep")) ParseSweep(*sweep, options);
  if (const auto block = line.Value("--block")) {
    options.BlockSize = static_cast<int32_t>(tools::ParseInteger(*block, "--block", 1, kMaxBlockSize));
  }
  options.PluginPath = line.Value("--plugin").value_or("");
  options.OutputFormat = line.Value("--format").value_or("");
  const std::vector<std::string>& files = line.Operands();
  if (files.size() == 2) {
    options.InputPath = files[0];
    options.OutputPath = files[1];
  } else if (!files.empty()) {
    throw TUsageError{"give both an input and an output file, or none for the demo"};
  }
  return options;
}

std::string UsageText() {
  return "usage: zelk-render [--angle DEG | --sweep FROM:TO] [--block N] [--format NAME] [--plugin FILE]\n"
         "                   [IN OUT]\n"
         "\n"
         "Turns the stereo image of a two-channel audio file by running it through the\n"
         "Zelk Vorlan plug-in, loaded through its entry point the way a host loads it.\n"
         "\n"
         "The angle runs over half a turn of the stereo image across 0 to 360 degrees,\n"
         "so 360, not 0, leaves the sound unchanged (L, R: the input's channels):\n"
         "    360  unchanged\n"
         "    180  channels swapped, one inverted: left = R, right = -L\n"
         "      0  both channels inverted: left = -L, right = -R\n"
         "    270  mid/side-like: left = 0.707 (L + R), right = 0.707 (R - L)\n"
         "     90  mid/side-like, inverted: left = 0.707 (R - L), right = -0.707 (L + R)\n"
         "\n"
         "  --angle DEG       fixed angle, 0 to 360 degrees (default 90)\n"
         "  --sweep FROM:TO   move the angle linearly from FROM to TO over the file,\n"
         "                    set once per block\n"
         "  --block N         frames per processing call (default 512)\n"
         "  --format NAME     the output's format, whatever its name ends in: wav, aiff,\n"
         "                    flac, ogg (Vorbis), opus, mp3, caf, w64, ... as far as\n"
         "                    libsndfile writes it\n"
         "  --plugin FILE     the plug-in library (default: Zelk.so of this build tree)\n"
         "  IN OUT            input and output; any format libsndfile reads. The output's\n"
         "                    format follows its name (.wav, .flac, .ogg, ...); names\n"
         "                    libsndfile cannot write are refused. It keeps the input's\n"
         "                    sample format where the format allows, 32-bit float or the\n"
         "                    format's own coding otherwise.\n"
         "  --help, --version\n"
         "\n"
         "Options go in any order, as --angle 90 or --angle=90. Without files, a\n"
         "built-in stereo test signal (a 440 Hz tone on the left, a 660 Hz tone at half\n"
         "the level on the right, 48 kHz) is rendered into the build tree as\n"
         "zelk-demo.wav, beside its input zelk-demo-in.wav. The report ends with the\n"
         "angle the audio ends at (\"ends at\").\n";
}

}  // namespace zelk::render
