#include "ArtworkTestSupport.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "dib/codecs/PNGDecoder.h"

namespace zelk::tests {

std::filesystem::path ResourcePath(const std::string& name) {
  return std::filesystem::path(ZELK_SOURCE_DIR) / "resources" / name;
}

std::filesystem::path CommittedPicturePath(const std::string& name) { return ResourcePath("pictures") / name; }

TLoadedPicture CommittedPicture(const std::string& name) {
  std::ifstream file(CommittedPicturePath(name), std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return DecodePNG(bytes);
}

}  // namespace zelk::tests
