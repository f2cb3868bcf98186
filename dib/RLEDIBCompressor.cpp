#include "dib/RLEDIBCompressor.h"

#include <new>
#include <vector>

#include "dib/Shuffle4RLE.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TRLEDIBCompressor::StaticClass() {
  static const TClassInfo info = TClassBuilder<TRLEDIBCompressor>("TRLEDIBCompressor").Build();
  return info;
}

TGUID TRLEDIBCompressor::ClassGUID() {
  static const TGUID guid = *GUIDFromString(kRLECompressorGUIDText);
  return guid;
}

bool TRLEDIBCompressor::CanDecompress(const TGUID& guid) const { return guid == ClassGUID(); }

int32_t TRLEDIBCompressor::Compress(TAbstractSuperDIB*, const uint8_t* source, uint8_t* dest, int32_t sourceSize) {
  if (sourceSize <= 0) return 0;
  const auto size = static_cast<size_t>(sourceSize);
  try {
    std::vector<uint8_t> shuffled(size);
    shuffle4::Shuffle(source, shuffled.data(), size);
    return static_cast<int32_t>(shuffle4::EncodeRuns(shuffled.data(), size, dest, size / 2));
  } catch (const std::bad_alloc&) {
    return 0;  // not compressed: the record is stored raw
  }
}

void TRLEDIBCompressor::Decompress(TAbstractSuperDIB*, const TGUID&, const uint8_t* source, uint8_t* dest,
                                   int32_t sourceSize, int32_t destSize) {
  if (sourceSize < 0 || destSize < 0) throw EDIBCompressError(kRLEPayloadMismatchMessage);
  const auto size = static_cast<size_t>(destSize);
  std::vector<uint8_t> shuffled(size);
  if (!shuffle4::DecodeRuns(source, static_cast<size_t>(sourceSize), shuffled.data(), size)) {
    throw EDIBCompressError(kRLEPayloadMismatchMessage);
  }
  shuffle4::Unshuffle(shuffled.data(), dest, size);
}

int64_t TRLEDIBCompressor::MaxExpandedSize(int64_t payloadSize) const {
  return payloadSize / 2 * static_cast<int64_t>(shuffle4::kLongestRun);
}

std::string TRLEDIBCompressor::GetDescription() const {
  return "Shuffle4 RLE\r\n"
         "\r\n"
         "Shuffles the RGBA values from\r\n"
         "RGBA,RGBA,RGBA,RGBA to\r\n"
         "RRRR,GGGG,BBBB,AAAA\r\n"
         "in order to create higher repitition,\r\n"
         "and then performs a simple RLE compression";
}

std::string TRLEDIBCompressor::GetAuthor() const { return "Zelk Vorlan image library"; }
std::string TRLEDIBCompressor::GetEMail() const { return "No e-mail address supplied"; }
std::string TRLEDIBCompressor::GetURL() const { return "No web address supplied"; }

}  // namespace zelk
