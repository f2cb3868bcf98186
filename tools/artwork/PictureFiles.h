// Opaque pictures written in the format their file name asks for: PNG
// (.png) through libpng, JPEG (.jpg, .jpeg) through libjpeg.
#pragma once

#include <string>

#include "dib/PictureSource.h"

namespace zelk::artwork {

enum class TPictureFileFormat { pfNone, pfPNG, pfJPEG };

// The format a file name asks for by its extension (any case); pfNone when
// it asks for none of them.
TPictureFileFormat PictureFileFormatOf(const std::string& path);

// Writes picture to path in the format its name asks for. Raises
// std::runtime_error naming the file when the name asks for no format of
// ours or the file cannot be written; answers the format's name ("PNG").
std::string WritePictureFile(const std::string& path, const TLoadedPicture& picture);

}  // namespace zelk::artwork
