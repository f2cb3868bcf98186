// Where LoadPicture gets its pictures: the toolkit's picture loader installs
// itself here at start (tests install a fake).
#pragma once

#include <string>

#include "dib/PictureSource.h"

namespace zelk {

using TPictureLoaderFunction = TLoadedPicture (*)(const std::string& fileName);

// Null removes the loader; LoadPicture then raises for every file.
void SetPictureLoaderFunction(TPictureLoaderFunction loader);

}  // namespace zelk
