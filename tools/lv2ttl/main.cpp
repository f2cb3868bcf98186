// zelk-lv2ttl: the Turtle of the LV2 bundle, from the product's resource.
//
//   zelk-lv2ttl BUNDLE_DIR
//
// Builds a product module as the plug-in does (its settings read from the
// resource TZELKVSTMODULE), and writes manifest.ttl and Zelk.ttl into
// BUNDLE_DIR, and presets.ttl when the module has programs. Names, ranges,
// units and defaults are therefore written in one place, the resource.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "effect/LibraryStart.h"
#include "framework/VST1Module.h"
#include "lv2plugin/Lv2Ports.h"
#include "tools/lv2ttl/TurtleWriter.h"

namespace {

namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(text.data(), static_cast<std::streamsize>(text.size()))) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

zelk::lv2::TPluginFacts ReadProductFacts() {
  zelk::StartLibrary();
  AEffect* effect = zelk::CreateEffect(nullptr);
  if (effect == nullptr) throw std::runtime_error("the product module could not be built from its resource");
  zelk::lv2::TPluginFacts facts = zelk::lv2::ReadFacts(*zelk::TCustomVST1Module::FromEffect(effect));
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return facts;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: zelk-lv2ttl BUNDLE_DIR\n", stderr);
    return 2;
  }
  try {
    const fs::path bundle = argv[1];
    fs::create_directories(bundle);
    const zelk::lv2::TPluginFacts facts = ReadProductFacts();
    WriteText(bundle / "manifest.ttl", zelk::lv2::ManifestTurtle(facts));
    WriteText(bundle / zelk::lv2::kDescriptionName, zelk::lv2::PluginTurtle(facts));
    const std::string presets = zelk::lv2::PresetsTurtle(facts);
    if (!presets.empty()) WriteText(bundle / zelk::lv2::kPresetsName, presets);
    else fs::remove(bundle / zelk::lv2::kPresetsName);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelk-lv2ttl: %s\n", error.what());
    return 1;
  }
}
