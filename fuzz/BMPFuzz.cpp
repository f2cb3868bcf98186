// Feeds arbitrary bytes to the BMP decoder. Decoding may fail with
// EPictureError but must never crash, read outside the file, or answer a
// picture whose pixel count does not match its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dib/BMPDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const zelk::TLoadedPicture picture = zelk::DecodeBMP({data, size});
    if (picture.width < 1 || picture.height < 1 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)) {
      std::abort();
    }
  } catch (const zelk::EPictureError&) {
  }
  return 0;
}
