// zelk-editor-shot: writes the product's editor as the user sees it.
//
//   zelk-editor-shot [--angle DEG] OUTPUT.png|OUTPUT.jpg
//
// The product module is created by the plug-in's own entry routine and
// driven through its effect record as a host drives it: the angle is set
// with setParameter (DEG / 360; default 90), the editor opens inside a host
// window of the headless window system, one effEditIdle and one paint cycle
// follow, and what the host window shows is written out. No display is
// needed.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "effect/LibraryStart.h"
#include "platform/headless/HeadlessWindows.h"
#include "tools/artwork/PictureFiles.h"
#include "tools/common/CommandLine.h"

namespace {

using zelk::platform::HeadlessWindows;

constexpr double kDefaultAngle = 90.0;

intptr_t ZELK_VST_CALL AnswerAsHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

intptr_t Dispatch(AEffect* effect, int32_t opcode, void* ptr = nullptr) {
  return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
}

const char kUsage[] =
    "usage: zelk-editor-shot [--angle DEG] OUTPUT\n"
    "\n"
    "Writes the product's editor as the user sees it, the \"Angle\" parameter set to\n"
    "DEG (0 to 360, default 90) before it opens, to OUTPUT (.png, or .jpg for JPEG).\n"
    "Opens the editor on the headless window system: no display is needed.\n"
    "\n"
    "  --angle DEG        the parameter in degrees, as --angle 90 or --angle=90\n"
    "  --help, --version\n";

struct TShotCommand {
  double Angle = kDefaultAngle;
  std::string OutputPath;
};

TShotCommand ParseShotCommand(const zelk::tools::TCommandLine& line) {
  TShotCommand command;
  if (const auto angle = line.Value("--angle")) command.Angle = zelk::tools::ParseDegrees(*angle, "--angle");
  if (line.Operands().size() != 1) throw zelk::tools::TUsageError{"give one output file"};
  command.OutputPath = line.Operands().front();
  if (zelk::artwork::PictureFileFormatOf(command.OutputPath) == zelk::artwork::TPictureFileFormat::pfNone) {
    throw zelk::tools::TUsageError{"the output must be a .png or .jpg file, got '" + command.OutputPath + "'"};
  }
  return command;
}

// What the host window shows of the open editor, opaque.
zelk::TLoadedPicture ShowEditor(AEffect* effect, float angle) {
  auto& windows = HeadlessWindows();
  const zelk::platform::TNativeWindow host = windows.CreateForeignWindow({0, 0, 1000, 1000});
  effect->setParameter(effect, 0, angle / 360.0f);
  if (Dispatch(effect, effEditOpen, reinterpret_cast<void*>(host)) != 1) {
    throw std::runtime_error("the editor did not open");
  }
  ERect* rect = nullptr;
  Dispatch(effect, effEditGetRect, &rect);
  Dispatch(effect, effEditIdle);
  windows.Pump();
  zelk::TLoadedPicture picture;
  picture.width = rect->right - rect->left;
  picture.height = rect->bottom - rect->top;
  picture.pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) picture.pixels.push_back(windows.VisiblePixelAt(host, x, y) | 0xFF000000u);
  }
  Dispatch(effect, effEditClose);
  windows.DestroyWindow(host);
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  TShotCommand command;
  try {
    const zelk::tools::TCommandLine line(std::vector<std::string>(argv + 1, argv + argc), {{"--angle", true}});
    if (const auto status = zelk::tools::AnswerHelpOrVersion(line, "zelk-editor-shot", kUsage)) return *status;
    command = ParseShotCommand(line);
  } catch (const zelk::tools::TUsageError& error) {
    return zelk::tools::ReportUsageError("zelk-editor-shot", error);
  }

  try {
    zelk::StartLibrary();
    AEffect* effect = zelk::CreateEffect(&AnswerAsHost);
    if (effect == nullptr) throw std::runtime_error("the plug-in module could not be built");
    const zelk::TLoadedPicture picture = ShowEditor(effect, static_cast<float>(command.Angle));
    Dispatch(effect, effClose);
    const std::string format = zelk::artwork::WritePictureFile(command.OutputPath, picture);
    std::printf("zelk-editor-shot: the editor at %g degrees, %d x %d pixels: %s (%s)\n", command.Angle,
                picture.width, picture.height, command.OutputPath.c_str(), format.c_str());
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelk-editor-shot: %s\n", error.what());
    return 1;
  }
}
