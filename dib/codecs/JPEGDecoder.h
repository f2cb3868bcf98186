// JPEG pictures through libjpeg (greyscale, YCbCr/RGB and CMYK files), built
// only when the build finds libjpeg. Raises EPictureError "Invalid JPEG file:
// ..." on bad data.
#pragma once

#include <cstdint>
#include <span>

#include "dib/PictureLoader.h"

namespace zelk {

TLoadedPicture DecodeJPEG(std::span<const uint8_t> fileBytes);

}  // namespace zelk
