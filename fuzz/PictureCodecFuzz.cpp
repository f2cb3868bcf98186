// Feeds arbitrary bytes to the JPEG or the PNG decoder, whichever
// ZELK_FUZZ_DECODER names (the build makes one target of each). Decoding may
// fail with EPictureError but must never crash, read outside the file, leak,
// or answer a picture whose pixel count does not match its size.
//
// The decoders accept any picture up to kPixelAllowance pixels, however few
// bytes hold it: 64 MiB of pixels for a header of a few dozen bytes, decoded
// from data that ran out. One such input would cost as much as thousands of
// others, so inputs whose header claims more than kPixelBudget pixels are
// left out unless the decoder refuses them anyway, which it does cheaply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "dib/PictureLoader.h"
#include "dib/codecs/DecodedSizeLimit.h"
#include "dib/codecs/JPEGDecoder.h"
#include "dib/codecs/PNGDecoder.h"

namespace {

constexpr uint64_t kPixelBudget = uint64_t{1} << 18;

uint32_t BigEndian16(const uint8_t* at) { return (uint32_t{at[0]} << 8) | at[1]; }
uint32_t BigEndian32(const uint8_t* at) { return (BigEndian16(at) << 16) | BigEndian16(at + 2); }

// The size in the IHDR chunk that follows the signature.
uint64_t ClaimedPNGPixels(std::span<const uint8_t> bytes) {
  if (bytes.size() < 24) return 0;
  return uint64_t{BigEndian32(&bytes[16])} * BigEndian32(&bytes[20]);
}

// The size in the first start-of-frame segment (markers C0 to CF but for
// C4, C8 and CC, which are no frames), found segment by segment.
uint64_t ClaimedJPEGPixels(std::span<const uint8_t> bytes) {
  size_t at = 2;
  while (at + 9 <= bytes.size() && bytes[at] == 0xFF) {
    const uint8_t marker = bytes[at + 1];
    const bool isFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (isFrame) return uint64_t{BigEndian16(&bytes[at + 5])} * BigEndian16(&bytes[at + 7]);
    at += 2 + BigEndian16(&bytes[at + 2]);
  }
  return 0;
}

uint64_t ClaimedPixels(std::span<const uint8_t> bytes) {
  if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G') {
    return ClaimedPNGPixels(bytes);
  }
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) return ClaimedJPEGPixels(bytes);
  return 0;
}

bool OverBudget(std::span<const uint8_t> bytes) {
  const uint64_t pixels = ClaimedPixels(bytes);
  return pixels > kPixelBudget && pixels <= bytes.size() * zelk::kMaxPixelsPerFileByte + zelk::kPixelAllowance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  if (OverBudget(bytes)) return -1;  // not added to the corpus
  try {
    const zelk::TLoadedPicture picture = ZELK_FUZZ_DECODER(bytes);
    if (picture.width < 1 || picture.height < 1 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)) {
      std::abort();
    }
  } catch (const zelk::EPictureError&) {
  }
  return 0;
}
