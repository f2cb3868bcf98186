// Feeds arbitrary bytes to the LZH decoder: the first four bytes give the
// uncompressed length, the rest is the payload. The length is bounded by
// what the payload can expand to (LZHMaxExpandedSize) and by 4 MiB, as the
// image readers bound it before they allocate, so that one input costs in
// proportion to its size rather than a 4 MiB buffer. Decoding
// may fail with ElzhException but must never crash or touch memory outside
// its buffers. Small inputs are also compressed and must come back intact.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "dib/LZHCoder.h"
#include "dib/LZHPayload.h"

namespace {

constexpr uint32_t kMaxLength = 4u << 20;

void DecodeArbitraryPayload(const uint8_t* data, size_t size) {
  if (size < 4) return;
  uint32_t length = 0;
  std::memcpy(&length, data, 4);
  const uint64_t longest =
      std::min<uint64_t>(kMaxLength, static_cast<uint64_t>(zelk::LZHMaxExpandedSize(static_cast<int64_t>(size - 4))));
  length = static_cast<uint32_t>(length % (longest + 1));
  std::vector<uint8_t> dest(length);
  try {
    zelk::LZHDecompress({data + 4, size - 4}, dest.data(), static_cast<int32_t>(length));
  } catch (const zelk::ElzhException&) {
  }
}

void CheckRoundTrip(const uint8_t* data, size_t size) {
  if (size > 65536) return;
  std::vector<uint8_t> payload;
  const int32_t length = zelk::LZHCompress(data, static_cast<int32_t>(size), payload);
  if (length == 0) return;
  if (static_cast<size_t>(length) > size) std::abort();
  std::vector<uint8_t> restored(size);
  zelk::LZHDecompress(payload, restored.data(), static_cast<int32_t>(size));
  if (std::memcmp(restored.data(), data, size) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodeArbitraryPayload(data, size);
  CheckRoundTrip(data, size);
  return 0;
}
