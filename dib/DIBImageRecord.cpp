#include "dib/DIBImageRecord.h"

#include "dib/DIBCompressor.h"
#include "runtime/Stream.h"

namespace zelk {

void WriteImageRecord(TStream& dest, uint16_t width, uint16_t height, const uint8_t* pixels) {
  const uint8_t header[kImageRecordHeaderSize] = {static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                                                  static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8)};
  dest.WriteBuffer(header, kImageRecordHeaderSize);
  dest.WriteBuffer(pixels, ImageRecordLength(width, height) - kImageRecordHeaderSize);
}

TImageRecordSize CheckImageRecord(std::span<const uint8_t> record) {
  if (record.size() < static_cast<size_t>(kImageRecordHeaderSize)) throw EDIBCompressError(kImageRecordMismatchMessage);
  TImageRecordSize size;
  size.Width = static_cast<uint16_t>(record[0] | record[1] << 8);
  size.Height = static_cast<uint16_t>(record[2] | record[3] << 8);
  if (size.Width == 0 || size.Height == 0 ||
      static_cast<uint64_t>(ImageRecordLength(size.Width, size.Height)) != record.size()) {
    throw EDIBCompressError(kImageRecordMismatchMessage);
  }
  return size;
}

}  // namespace zelk
