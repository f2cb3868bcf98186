#include "dib/LZHPayload.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "dib/LZHCoder.h"
#include "dib/LZHStream.h"
#include "runtime/Stream.h"

namespace zelk {

namespace {

// Decodes straight from the payload into the destination; accepts no byte
// beyond the destination's end, which ends decoding there.
class TLZHBufferDecoder final : public TAbstractLZH {
 public:
  TLZHBufferDecoder(std::span<const uint8_t> input, std::span<uint8_t> output) : input_(input), output_(output) {}

 protected:
  void ReadBytes(void* buffer, uint16_t count, uint16_t& actual) override {
    actual = static_cast<uint16_t>(std::min<size_t>(count, input_.size() - read_));
    if (actual > 0) std::memcpy(buffer, input_.data() + read_, actual);
    read_ += actual;
  }
  void WriteBytes(const void* buffer, uint16_t count, uint16_t& actual) override {
    actual = static_cast<uint16_t>(std::min<size_t>(count, output_.size() - written_));
    if (actual > 0) std::memcpy(output_.data() + written_, buffer, actual);
    written_ += actual;
  }

 private:
  std::span<const uint8_t> input_;
  std::span<uint8_t> output_;
  size_t read_ = 0;
  size_t written_ = 0;
};

}  // namespace

int32_t LZHCompress(const uint8_t* source, int32_t sourceSize, std::vector<uint8_t>& payload) {
  payload.clear();
  if (source == nullptr || sourceSize <= 0) return 0;
  try {
    TReadOnlyMemoryStream input({source, static_cast<size_t>(sourceSize)});
    TMemoryStream output;
    TLZHStream coder(input, output);
    const int64_t length = static_cast<int64_t>(coder.CompressStream(sourceSize)) + 4;
    if (length > sourceSize) return 0;
    const auto bytes = output.Bytes();
    payload.assign(bytes.begin(), bytes.begin() + length);
    return static_cast<int32_t>(length);
  } catch (const std::exception&) {
    // Any failure means "not compressed": the record is stored raw.
    payload.clear();
    return 0;
  }
}

void LZHDecompress(std::span<const uint8_t> payload, uint8_t* dest, int32_t uncompressedLength) {
  if (uncompressedLength < 0 || (uncompressedLength > 0 && dest == nullptr)) {
    throw ElzhException(kLZHInvalidLengthMessage);
  }
  TLZHBufferDecoder decoder(payload, {dest, static_cast<size_t>(uncompressedLength)});
  if (decoder.DecompressStream() < uncompressedLength) throw ElzhException(kLZHShortOutputMessage);
}

}  // namespace zelk
