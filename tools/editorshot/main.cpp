// zelk-editor-shot: writes the product's editor as the user sees it.
//
//   zelk-editor-shot [--angle DEG] OUTPUT.png
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

#include "effect/LibraryStart.h"
#include "platform/headless/HeadlessWindows.h"
#include "tools/artwork/PNGFile.h"

namespace {

using zelk::platform::HeadlessWindows;

constexpr double kDefaultAngle = 90.0;

intptr_t ZELK_VST_CALL AnswerAsHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

intptr_t Dispatch(AEffect* effect, int32_t opcode, void* ptr = nullptr) {
  return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
}

int Usage() {
  std::fputs("usage: zelk-editor-shot [--angle DEG] OUTPUT.png\n", stderr);
  return 2;
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
  double angle = kDefaultAngle;
  std::string output;
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    if (argument == "--angle" && index + 1 < argc) {
      char* end = nullptr;
      angle = std::strtod(argv[++index], &end);
      if (*end != '\0' || !(angle >= 0.0 && angle <= 360.0)) {
        std::fputs("zelk-editor-shot: --angle takes 0 to 360 degrees\n", stderr);
        return 2;
      }
    } else if (output.empty() && !argument.starts_with("--")) {
      output = argument;
    } else {
      return Usage();
    }
  }
  if (output.empty()) return Usage();

  try {
    zelk::StartLibrary();
    AEffect* effect = zelk::CreateEffect(&AnswerAsHost);
    if (effect == nullptr) throw std::runtime_error("the plug-in module could not be built");
    const zelk::TLoadedPicture picture = ShowEditor(effect, static_cast<float>(angle));
    Dispatch(effect, effClose);
    zelk::artwork::WritePNG(output, picture);
    std::printf("zelk-editor-shot: the editor at %g degrees, %d x %d pixels: %s\n", angle, picture.width,
                picture.height, output.c_str());
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelk-editor-shot: %s\n", error.what());
    return 1;
  }
}
