// zelk-artwork: paints the product's two pictures.
//
//   zelk-artwork pictures FOLDER             writes FOLDER/Zelk1.png (the
//                                             knob's pointer picture) and
//                                             FOLDER/ZVBack.png (the background),
//                                             and both at twice the resolution
//                                             (Zelk1@2x.png, ZVBack@2x.png) for
//                                             high-density screens
//   zelk-artwork preview OUTPUT.png [--zoom N] [ANGLE...]
//                                             the editor at each angle side by
//                                             side (default 0 45 150 270 333),
//                                             the last one as while dragged,
//                                             each pixel N x N times
//
// The committed pictures in resources/pictures are this program's output;
// a test checks that they still are.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "dib/DIBLibrary.h"
#include "tools/artwork/Artwork.h"
#include "tools/artwork/EditorPreview.h"
#include "tools/artwork/PNGFile.h"
#include "tools/artwork/PictureFiles.h"
#include "tools/common/CommandLine.h"

namespace {

using zelk::TLoadedPicture;

constexpr int kPreviewGap = 8;
constexpr uint8_t kDraggedOpacity = 180;

constexpr int kMaxZoom = 8;

const char kUsage[] =
    "usage: zelk-artwork pictures FOLDER\n"
    "       zelk-artwork preview OUTPUT [--zoom N] [ANGLE...]\n"
    "\n"
    "Paints the product's two pictures: the knob's pointer picture Zelk1.png and\n"
    "the background ZVBack.png (with the knob's body), both into FOLDER, and the\n"
    "same at twice the resolution as Zelk1@2x.png and ZVBack@2x.png.\n"
    "\n"
    "preview writes the editor as the dial draws the two pictures, at each ANGLE\n"
    "(whole degrees 0 to 359; default 0 45 150 270 333) side by side, the last one\n"
    "as while dragged, to OUTPUT (.png, or .jpg for JPEG).\n"
    "\n"
    "  --zoom N           enlarge each pixel to N x N (1 to 8), as --zoom 4 or --zoom=4\n"
    "  --help, --version\n";

void WritePictures(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  const struct {
    int Scale;
    const char* Suffix;
  } sets[] = {{1, ".png"}, {2, "@2x.png"}};
  for (const auto& set : sets) {
    zelk::artwork::WritePNG((folder / (std::string("Zelk1") + set.Suffix)).string(),
                            zelk::artwork::PaintKnobCap(set.Scale));
    zelk::artwork::WritePNG((folder / (std::string("ZVBack") + set.Suffix)).string(),
                            zelk::artwork::PaintBackground(set.Scale));
  }
}

TLoadedPicture Zoomed(const TLoadedPicture& picture, int zoom) {
  TLoadedPicture zoomed;
  zoomed.width = picture.width * zoom;
  zoomed.height = picture.height * zoom;
  for (int y = 0; y < zoomed.height; ++y) {
    for (int x = 0; x < zoomed.width; ++x) {
      zoomed.pixels.push_back(picture.pixels[static_cast<size_t>(y / zoom) * picture.width + x / zoom]);
    }
  }
  return zoomed;
}

void WritePreview(const std::string& output, std::vector<int> angles, int zoom) {
  if (angles.empty()) angles = {0, 45, 150, 270, 333};
  const TLoadedPicture background = zelk::artwork::PaintBackground();
  const TLoadedPicture cap = zelk::artwork::PaintKnobCap();
  const int count = static_cast<int>(angles.size());
  TLoadedPicture sheet;
  sheet.width = count * zelk::artwork::kEditorWidth + (count - 1) * kPreviewGap;
  sheet.height = zelk::artwork::kEditorHeight;
  sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, 0xFFFFFFFFu);
  for (int i = 0; i < count; ++i) {
    const uint8_t opacity = (i == count - 1 && count > 1) ? kDraggedOpacity : 255;
    const TLoadedPicture editor = zelk::artwork::ComposeEditor(background, cap, angles[i], opacity);
    const int left = i * (zelk::artwork::kEditorWidth + kPreviewGap);
    for (int y = 0; y < editor.height; ++y) {
      for (int x = 0; x < editor.width; ++x) {
        sheet.pixels[static_cast<size_t>(y) * sheet.width + left + x] = editor.pixels[static_cast<size_t>(y) * editor.width + x];
      }
    }
  }
  zelk::artwork::WritePictureFile(output, Zoomed(sheet, zoom));
}

struct TArtworkCommand {
  std::string Mode;
  std::string Target;
  std::vector<int> Angles;
  int Zoom = 1;
};

TArtworkCommand ParseArtworkCommand(const zelk::tools::TCommandLine& line) {
  using zelk::tools::TUsageError;
  const std::vector<std::string>& operands = line.Operands();
  if (operands.empty()) throw TUsageError{"give pictures FOLDER or preview OUTPUT"};
  TArtworkCommand command;
  command.Mode = operands[0];
  if (command.Mode != "pictures" && command.Mode != "preview") {
    throw TUsageError{"unknown command '" + command.Mode + "' (pictures or preview)"};
  }
  if (operands.size() < 2) throw TUsageError{command.Mode + " needs " + (command.Mode == "pictures" ? "a folder" : "an output file")};
  command.Target = operands[1];
  if (command.Mode == "pictures") {
    if (operands.size() > 2 || line.Has("--zoom")) throw TUsageError{"pictures takes a folder and nothing else"};
    return command;
  }
  if (zelk::artwork::PictureFileFormatOf(command.Target) == zelk::artwork::TPictureFileFormat::pfNone) {
    throw TUsageError{"the preview must be a .png or .jpg file, got '" + command.Target + "'"};
  }
  if (const auto zoom = line.Value("--zoom")) {
    command.Zoom = static_cast<int>(zelk::tools::ParseInteger(*zoom, "--zoom", 1, kMaxZoom));
  }
  for (size_t index = 2; index < operands.size(); ++index) {
    command.Angles.push_back(static_cast<int>(zelk::tools::ParseInteger(operands[index], "ANGLE", 0, 359)));
  }
  return command;
}

}  // namespace

int main(int argc, char** argv) {
  TArtworkCommand command;
  try {
    const zelk::tools::TCommandLine line(std::vector<std::string>(argv + 1, argv + argc), {{"--zoom", true}});
    if (const auto status = zelk::tools::AnswerHelpOrVersion(line, "zelk-artwork", kUsage)) return *status;
    command = ParseArtworkCommand(line);
  } catch (const zelk::tools::TUsageError& error) {
    return zelk::tools::ReportUsageError("zelk-artwork", error);
  }
  try {
    zelk::InitializeDIBLibrary();
    if (command.Mode == "pictures") {
      WritePictures(command.Target);
      std::printf("zelk-artwork: wrote Zelk1.png, ZVBack.png and their @2x pictures into %s\n", command.Target.c_str());
    } else {
      WritePreview(command.Target, command.Angles, command.Zoom);
      std::printf("zelk-artwork: wrote %s\n", command.Target.c_str());
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelk-artwork: %s\n", error.what());
    return 1;
  }
  zelk::FinalizeDIBLibrary();
  return 0;
}
