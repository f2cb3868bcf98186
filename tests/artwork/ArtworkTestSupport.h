// Shared by the artwork tests: the committed pictures of the product.
#pragma once

#include <filesystem>
#include <string>

#include "dib/PictureSource.h"

namespace zelk::tests {

// resources/<name> of the source tree.
std::filesystem::path ResourcePath(const std::string& name);
// resources/pictures/<name> of the source tree.
std::filesystem::path CommittedPicturePath(const std::string& name);
// The committed PNG file, decoded.
TLoadedPicture CommittedPicture(const std::string& name);

}  // namespace zelk::tests
