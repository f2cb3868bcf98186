// Feeds arbitrary bytes to the JPEG or the PNG decoder, whichever
// ZELK_FUZZ_DECODER names (the build makes one target of each). Decoding may
// fail with EPictureError but must never crash, read outside the file, leak,
// or answer a picture whose pixel count does not match its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "dib/PictureLoader.h"
#include "dib/codecs/JPEGDecoder.h"
#include "dib/codecs/PNGDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const zelk::TLoadedPicture picture = ZELK_FUZZ_DECODER(std::span<const uint8_t>(data, size));
    if (picture.width < 1 || picture.height < 1 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)) {
      std::abort();
    }
  } catch (const zelk::EPictureError&) {
  }
  return 0;
}
