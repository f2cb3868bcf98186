// PNG pictures through libpng, built only when the build finds libpng. Every
// PNG colour type is converted to 8-bit straight alpha; files with an alpha
// channel or a transparency chunk answer hasAlpha. Raises EPictureError
// "Invalid PNG file: ..." on bad data.
#pragma once

#include <cstdint>
#include <span>

#include "dib/PictureLoader.h"

namespace zelk {

TLoadedPicture DecodePNG(std::span<const uint8_t> fileBytes);

}  // namespace zelk
