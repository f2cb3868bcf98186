// zelk-host: loads a VST 2 plug-in file the way a host does (the library,
// its entry point, the effect record), prints what the plug-in says about
// itself, and closes it again with effClose; or opens its editor in a window
// of its own (EditorWindow.h).
//
//   zelk-host PLUGIN
//   zelk-host --editor [--angle DEGREES] [--scale FACTOR] [--screenshot FILE] PLUGIN
//
// See kUsage for the options and the exit status.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <optional>
#include <vector>

#include "framework/VstInterface.h"
#include "tools/common/CommandLine.h"
#include "tools/common/PluginLibrary.h"
#ifdef ZELK_HOST_EDITOR
#include "tools/artwork/PictureFiles.h"
#include "tools/host/EditorWindow.h"
#endif

namespace {

constexpr intptr_t kHostVersion = 2400;
constexpr intptr_t kHostSampleRate = 44100;
constexpr intptr_t kHostBlockSize = 512;
// A text buffer larger than any the plug-in may fill.
constexpr size_t kTextBufferSize = 256;

// Answers the queries every host answers; everything else is 0 ("not
// supported"), which plug-ins must accept.
intptr_t ZELK_VST_CALL HostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  switch (opcode) {
    case audioMasterVersion:
      return kHostVersion;
    case audioMasterGetSampleRate:
      return kHostSampleRate;
    case audioMasterGetBlockSize:
      return kHostBlockSize;
    default:
      return 0;
  }
}

std::string FourCharText(int32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto character = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
    text += (character >= 0x20 && character < 0x7F) ? character : '?';
  }
  return text;
}

std::string AskText(AEffect& effect, int32_t opcode) {
  char text[kTextBufferSize] = {};
  effect.dispatcher(&effect, opcode, 0, 0, text, 0.0f);
  text[kTextBufferSize - 1] = '\0';
  return text;
}

intptr_t Ask(AEffect& effect, int32_t opcode) { return effect.dispatcher(&effect, opcode, 0, 0, nullptr, 0.0f); }

void PrintRecord(const AEffect& effect) {
  std::printf("magic            0x%08X '%s'\n", static_cast<unsigned>(effect.magic), FourCharText(effect.magic).c_str());
  std::printf("unique ID        '%s' (0x%08X)\n", FourCharText(effect.uniqueID).c_str(),
              static_cast<unsigned>(effect.uniqueID));
  std::printf("version          %d\n", effect.version);
  std::printf("flags            0x%08X\n", static_cast<unsigned>(effect.flags));
  std::printf("programs         %d\n", effect.numPrograms);
  std::printf("parameters       %d\n", effect.numParams);
  std::printf("inputs           %d\n", effect.numInputs);
  std::printf("outputs          %d\n", effect.numOutputs);
  std::printf("initial delay    %d\n", effect.initialDelay);
}

void PrintAnswers(AEffect& effect) {
  std::printf("effect name      %s\n", AskText(effect, effGetEffectName).c_str());
  std::printf("vendor           %s\n", AskText(effect, effGetVendorString).c_str());
  std::printf("product          %s\n", AskText(effect, effGetProductString).c_str());
  std::printf("vendor version   %ld\n", static_cast<long>(Ask(effect, effGetVendorVersion)));
  std::printf("VST version      %ld\n", static_cast<long>(Ask(effect, effGetVstVersion)));
  std::printf("category         %ld\n", static_cast<long>(Ask(effect, effGetPlugCategory)));
}

int Inspect(const std::string& path) {
  zelk::host::TPluginLibrary library;
  if (!library.Open(path)) {
    std::fprintf(stderr, "zelk-host: %s\n", library.ErrorText().c_str());
    return 1;
  }
  VstPluginMainProc entryPoint = library.FindEntryPoint();
  if (entryPoint == nullptr) {
    std::fprintf(stderr, "zelk-host: %s\n", library.ErrorText().c_str());
    return 1;
  }
  AEffect* effect = entryPoint(&HostCallback);
  if (effect == nullptr || effect->magic != kEffectMagic) {
    std::fprintf(stderr, "zelk-host: '%s' did not create an effect\n", path.c_str());
    return 1;
  }
  std::printf("plug-in          %s\n", path.c_str());
  Ask(*effect, effOpen);
  PrintRecord(*effect);
  PrintAnswers(*effect);
  std::printf("effClose         %ld\n", static_cast<long>(Ask(*effect, effClose)));
  // Out before the library goes: whatever its unloading does, the report stands.
  std::fflush(stdout);
  return 0;
}

const char kUsage[] =
    "usage: zelk-host PLUGIN\n"
    "       zelk-host --editor [--angle DEGREES] [--scale FACTOR] [--screenshot FILE] PLUGIN\n"
    "\n"
    "Loads a VST 2 plug-in file the way a host does (the library, its entry point,\n"
    "the effect record), prints what the plug-in says about itself and closes it\n"
    "again. PLUGIN is the path as typed: a bare name is a file in this folder.\n"
    "\n"
    "  --editor           open the plug-in's editor in a window of its own (needs an\n"
    "                     X display)\n"
    "  --angle DEGREES    set the \"Angle\" parameter (0 to 360) before the editor opens\n"
    "  --scale FACTOR     offer the editor this content scale (0.5 to 4, e.g. 2 on a\n"
    "                     screen of twice the usual density), as hosts do\n"
    "  --screenshot FILE  write the editor's window to FILE (.png, or .jpg for JPEG)\n"
    "                     once it has painted, and close\n"
    "  --help, --version\n"
    "\n"
    "Options go in any order, as --angle 90 or --angle=90. Exit status: 0 when the\n"
    "plug-in loaded and closed, 1 when it could not be loaded or created, 2 for a\n"
    "wrong command line.\n";

struct THostCommand {
  bool Editor = false;
  std::optional<float> Angle;
  std::optional<float> Scale;
  std::optional<std::string> ScreenshotPath;
  std::string PluginPath;
};

float ParseScale(const std::string& text) {
  constexpr double kLeastScale = 0.5;
  constexpr double kMostScale = 4.0;
  char* end = nullptr;
  const double scale = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !(scale >= kLeastScale && scale <= kMostScale)) {
    throw zelk::tools::TUsageError{"--scale expects a factor from 0.5 to 4, got '" + text + "'"};
  }
  return static_cast<float>(scale);
}

THostCommand ParseHostCommand(const zelk::tools::TCommandLine& line) {
  THostCommand command;
  command.Editor = line.Has("--editor");
  if (const auto angle = line.Value("--angle")) {
    command.Angle = static_cast<float>(zelk::tools::ParseDegrees(*angle, "--angle"));
  }
  if (const auto scale = line.Value("--scale")) command.Scale = ParseScale(*scale);
  command.ScreenshotPath = line.Value("--screenshot");
#ifdef ZELK_HOST_EDITOR
  if (command.ScreenshotPath &&
      zelk::artwork::PictureFileFormatOf(*command.ScreenshotPath) == zelk::artwork::TPictureFileFormat::pfNone) {
    throw zelk::tools::TUsageError{"--screenshot expects a .png or .jpg file name, got '" + *command.ScreenshotPath +
                                   "'"};
  }
#endif
  if (!command.Editor && (command.Angle || command.Scale || command.ScreenshotPath)) {
    throw zelk::tools::TUsageError{"--angle, --scale and --screenshot belong to --editor"};
  }
  if (line.Operands().size() != 1) {
    throw zelk::tools::TUsageError{line.Operands().empty() ? "give the plug-in file" : "give one plug-in file"};
  }
  command.PluginPath = line.Operands().front();
  return command;
}

int Run(const THostCommand& command) {
  if (!command.Editor) return Inspect(command.PluginPath);
#ifdef ZELK_HOST_EDITOR
  zelk::host::TEditorOptions options;
  options.PluginPath = command.PluginPath;
  options.Angle = command.Angle;
  options.Scale = command.Scale;
  options.ScreenshotPath = command.ScreenshotPath;
  return zelk::host::RunEditor(options);
#else
  std::fprintf(stderr, "zelk-host: this build has no editor window (it needs Xlib and libpng)\n");
  return 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const zelk::tools::TCommandLine line(std::vector<std::string>(argv + 1, argv + argc),
                                         {{"--editor", false}, {"--angle", true}, {"--scale", true}, {"--screenshot", true}});
    if (const auto status = zelk::tools::AnswerHelpOrVersion(line, "zelk-host", kUsage)) return *status;
    return Run(ParseHostCommand(line));
  } catch (const zelk::tools::TUsageError& error) {
    return zelk::tools::ReportUsageError("zelk-host", error);
  }
}
