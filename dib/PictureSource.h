// The picture loader the bitmap engine imports files through: the toolkit's
// loader knows the platform's picture formats and JPEG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

struct TLoadedPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // top-down rows, 0xAARRGGBB
  bool hasAlpha = false;         // a 32-bit picture whose alpha counts
};

// Loads a picture file; raises zelk::Exception when the file is missing or of
// an unknown kind.
TLoadedPicture LoadPicture(const std::string& fileName);

}  // namespace zelk
