// Opaque pictures as 8-bit RGB PNG files, through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dib/PictureSource.h"

namespace zelk::artwork {

// The bytes of the PNG file; the alpha of the pixels is dropped. Raises
// std::runtime_error when libpng refuses the picture.
std::vector<uint8_t> EncodePNG(const TLoadedPicture& picture);

// Raises std::runtime_error naming the file when it cannot be written.
void WritePNG(const std::string& path, const TLoadedPicture& picture);

}  // namespace zelk::artwork
