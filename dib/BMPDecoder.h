// Our decoder of BMP picture files: the 14-byte file header, then an info
// header of 12 bytes (rows of at most 65535, 3-byte palette entries) or of 40
// to 124 bytes; 1, 4 and 8 bits through a palette (8 and 4 bits also
// run-length coded), 16 and 32 bits with default or explicit channel masks,
// 24 bits; rows bottom-up, or top-down for a negative height.
//
// A 32-bit file is answered with hasAlpha: its fourth bytes (or its alpha
// mask) are kept. Hostile headers (sizes, offsets, counts that the file does
// not back) raise EPictureError "Invalid BMP file: ...".
#pragma once

#include <cstdint>
#include <span>

#include "dib/PictureLoader.h"

namespace zelk {

TLoadedPicture DecodeBMP(std::span<const uint8_t> fileBytes);

}  // namespace zelk
