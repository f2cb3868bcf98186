// zelk-artwork: paints the product's two pictures.
//
//   zelk-artwork pictures FOLDER             writes FOLDER/Zelk1.png (the knob
//                                             cap) and FOLDER/ZVBack.png (the
//                                             background)
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

namespace {

using zelk::TLoadedPicture;

constexpr int kPreviewGap = 8;
constexpr uint8_t kDraggedOpacity = 180;

[[noreturn]] void Usage() {
  std::fputs(
      "usage: zelk-artwork pictures FOLDER\n"
      "       zelk-artwork preview OUTPUT.png [--zoom N] [ANGLE...]\n",
      stderr);
  std::exit(2);
}

void WritePictures(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  zelk::artwork::WritePNG((folder / "Zelk1.png").string(), zelk::artwork::PaintKnobCap());
  zelk::artwork::WritePNG((folder / "ZVBack.png").string(), zelk::artwork::PaintBackground());
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
  zelk::artwork::WritePNG(output, Zoomed(sheet, zoom));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) Usage();
  const std::string mode = argv[1];
  try {
    zelk::InitializeDIBLibrary();
    if (mode == "pictures" && argc == 3) {
      WritePictures(argv[2]);
    } else if (mode == "preview") {
      std::vector<int> angles;
      int zoom = 1;
      for (int i = 3; i < argc; ++i) {
        if (std::string(argv[i]) == "--zoom" && i + 1 < argc) {
          zoom = std::max(1, std::atoi(argv[++i]));
        } else {
          angles.push_back(std::atoi(argv[i]));
        }
      }
      WritePreview(argv[2], angles, zoom);
    } else {
      Usage();
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelk-artwork: %s\n", error.what());
    return 1;
  }
  zelk::FinalizeDIBLibrary();
  return 0;
}
