#include "tools/artwork/PNGFile.h"

#include <png.h>

#include <fstream>
#include <stdexcept>

namespace zelk::artwork {

namespace {

std::vector<uint8_t> RGBRows(const TLoadedPicture& picture) {
  std::vector<uint8_t> rows;
  rows.reserve(picture.pixels.size() * 3);
  for (uint32_t pixel : picture.pixels) {
    rows.push_back(static_cast<uint8_t>(pixel >> 16));
    rows.push_back(static_cast<uint8_t>(pixel >> 8));
    rows.push_back(static_cast<uint8_t>(pixel));
  }
  return rows;
}

// Frees what libpng holds for the image, also when an error passes through.
class TPNGWriteImage {
 public:
  explicit TPNGWriteImage(const TLoadedPicture& picture) {
    image_.version = PNG_IMAGE_VERSION;
    image_.width = static_cast<png_uint_32>(picture.width);
    image_.height = static_cast<png_uint_32>(picture.height);
    image_.format = PNG_FORMAT_RGB;
  }
  ~TPNGWriteImage() { png_image_free(&image_); }
  TPNGWriteImage(const TPNGWriteImage&) = delete;
  TPNGWriteImage& operator=(const TPNGWriteImage&) = delete;

  std::vector<uint8_t> Write(const std::vector<uint8_t>& rows) {
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&image_, nullptr, &size, 0, rows.data(), 0, nullptr)) {
      std::vector<uint8_t> bytes(size);
      if (png_image_write_to_memory(&image_, bytes.data(), &size, 0, rows.data(), 0, nullptr)) {
        bytes.resize(size);
        return bytes;
      }
    }
    throw std::runtime_error(std::string("cannot encode a PNG picture: ") + image_.message);
  }

 private:
  png_image image_{};
};

}  // namespace

std::vector<uint8_t> EncodePNG(const TLoadedPicture& picture) {
  return TPNGWriteImage(picture).Write(RGBRows(picture));
}

void WritePNG(const std::string& path, const TLoadedPicture& picture) {
  const std::vector<uint8_t> bytes = EncodePNG(picture);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace zelk::artwork
