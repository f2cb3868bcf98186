// The picture loader: decodes picture files (BMP always; JPEG and PNG when
// the build has libjpeg and libpng) into 32-bit pixels for ImportImage and
// ImportMask. Decoders register by file extension at library start.
//
// Every decoder treats its input as hostile: counts are checked against the
// bytes that remain and sizes against overflow before anything is allocated;
// a bad file raises EPictureError, never crashes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dib/PictureSource.h"
#include "runtime/Exceptions.h"

namespace zelk {

ZELK_EXCEPTION_CLASS(EPictureError, Exception);

inline constexpr char kPictureFileNotFoundMessage[] = "Cannot open picture file \"%s\".";
inline constexpr char kPictureTypeUnknownMessage[] = "Picture file \"%s\" is of an unknown type.";

// Largest width or height a picture may have: a bitmap's size is 16-bit.
inline constexpr int32_t kMaxPictureDimension = 65535;

// Decodes a whole file held in memory; raises EPictureError on bad data.
using TPictureDecoder = TLoadedPicture (*)(std::span<const uint8_t> fileBytes);

// extension with its dot (".bmp"), compared without regard to case. A later
// registration of the same extension replaces the earlier one.
void RegisterPictureLoader(std::string_view extension, TPictureDecoder decoder);
void ClearPictureLoaders();
// The decoder for a file name's extension, or null.
TPictureDecoder FindPictureLoader(std::string_view fileName);

// Loads a picture file: width x height values 0xAARRGGBB, top row first;
// hasAlpha for files that carry per-pixel alpha (a 32-bit BMP, a PNG with
// alpha), whose alpha the bitmap keeps; otherwise every alpha is 255.
// Raises EPictureError when the file is missing or unreadable, its extension
// has no decoder, or its data are invalid. The library's start installs it
// as the bitmap engine's picture source (LoadPicture, PictureSource.h).
TLoadedPicture LoadPictureFile(const std::string& fileName);

// Raises EPictureError unless width and height are 1..kMaxPictureDimension;
// answers the pixel count. For decoders, before they allocate.
size_t CheckPictureSize(int64_t width, int64_t height, std::string_view format);

}  // namespace zelk
