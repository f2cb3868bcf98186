#include "dib/LZHDIBCompressor.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "dib/LZHConstants.h"
#include "dib/LZHPayload.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TLZHDIBCompressor::StaticClass() {
  static const TClassInfo info = TClassBuilder<TLZHDIBCompressor>("TLZHDIBCompressor").Build();
  return info;
}

TGUID TLZHDIBCompressor::ClassGUID() {
  static const TGUID guid = GUIDFromBytes(kLZHCompressorGUIDBytes);
  return guid;
}

bool TLZHDIBCompressor::CanDecompress(const TGUID& guid) const { return guid == ClassGUID(); }

int32_t TLZHDIBCompressor::Compress(TAbstractSuperDIB*, const uint8_t* source, uint8_t* dest, int32_t sourceSize) {
  std::vector<uint8_t> payload;
  const int32_t length = LZHCompress(source, sourceSize, payload);
  if (length <= 0 || length > sourceSize || static_cast<size_t>(length) > payload.size()) return 0;
  std::memcpy(dest, payload.data(), static_cast<size_t>(length));
  return length;
}

void TLZHDIBCompressor::Decompress(TAbstractSuperDIB*, const TGUID&, const uint8_t* source, uint8_t* dest,
                                   int32_t sourceSize, int32_t destSize) {
  LZHDecompress({source, static_cast<size_t>(std::max(sourceSize, 0))}, dest, destSize);
}

int64_t TLZHDIBCompressor::MaxExpandedSize(int64_t payloadSize) const {
  return payloadSize * 8 * lzh::kLongestMatch;
}

std::string TLZHDIBCompressor::GetDisplayName() const { return kLZHCompressorDisplayName; }
std::string TLZHDIBCompressor::GetDescription() const { return kLZHCompressorDescription; }
std::string TLZHDIBCompressor::GetAuthor() const { return kLZHCompressorAuthor; }
std::string TLZHDIBCompressor::GetEMail() const { return kLZHCompressorEMail; }
std::string TLZHDIBCompressor::GetURL() const { return kLZHCompressorURL; }

}  // namespace zelk
