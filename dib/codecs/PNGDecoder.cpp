#include "dib/codecs/PNGDecoder.h"

#include <png.h>

#include <string>

#include "dib/codecs/CodecLibrary.h"
#include "dib/codecs/DecodedSizeLimit.h"

namespace zelk {

namespace {

// libpng, loaded with the first PNG file (CodecLibrary.h). The build names
// the file of the libpng its header belongs to (ZELK_PNG_SONAME).
#define ZELK_PNG_FUNCTIONS(F) F(png_image_begin_read_from_memory) F(png_image_finish_read) F(png_image_free)

struct TPNGFunctions {
#define ZELK_PNG_POINTER(name) decltype(&::name) name = nullptr;
  ZELK_PNG_FUNCTIONS(ZELK_PNG_POINTER)
#undef ZELK_PNG_POINTER
};

TPNGFunctions gPNG;

// Empty once gPNG is filled, else why libpng is unusable.
const std::string& LoadPNGLibrary() {
  static TCodecLibrary library(ZELK_PNG_SONAME);
  static const std::string error = [] {
    TPNGFunctions functions;
#define ZELK_PNG_BIND(name) library.Bind(functions.name, #name);
    ZELK_PNG_FUNCTIONS(ZELK_PNG_BIND)
#undef ZELK_PNG_BIND
    if (library.Error().empty()) gPNG = functions;
    return library.Error();
  }();
  return error;
}

#define png_image_begin_read_from_memory (gPNG.png_image_begin_read_from_memory)
#define png_image_finish_read (gPNG.png_image_finish_read)
#define png_image_free (gPNG.png_image_free)

[[noreturn]] void Fail(const std::string& reason) { throw EPictureError("Invalid PNG file: " + reason + "."); }

// Releases what libpng holds for an image, also when an error passes through.
class TPNGImage {
 public:
  TPNGImage() {
    image_.version = PNG_IMAGE_VERSION;
    image_.opaque = nullptr;
  }
  ~TPNGImage() { png_image_free(&image_); }
  TPNGImage(const TPNGImage&) = delete;
  TPNGImage& operator=(const TPNGImage&) = delete;
  png_image& Image() { return image_; }

 private:
  png_image image_{};
};

}  // namespace

TLoadedPicture DecodePNG(std::span<const uint8_t> fileBytes) {
  if (const std::string& error = LoadPNGLibrary(); !error.empty()) {
    throw EPictureError("PNG files need libpng, which cannot be loaded: " + error + ".");
  }
  TPNGImage holder;
  png_image& image = holder.Image();
  if (!png_image_begin_read_from_memory(&image, fileBytes.data(), fileBytes.size())) Fail(image.message);
  CheckPictureSize(image.width, image.height, "PNG");
  if (!PlausiblePixelCount(image.width, image.height, fileBytes.size())) Fail("its size exceeds what its data hold");

  TLoadedPicture picture;
  picture.width = static_cast<int32_t>(image.width);
  picture.height = static_cast<int32_t>(image.height);
  picture.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  // B, G, R, A bytes: on a little-endian machine the values 0xAARRGGBB.
  image.format = PNG_FORMAT_BGRA;
  picture.pixels.resize(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) Fail(image.message);
  return picture;
}

}  // namespace zelk
