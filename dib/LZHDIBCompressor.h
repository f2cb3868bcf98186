// TLZHDIBCompressor ("DIB LZH"): stores image records with the LZH coder
// (LZHPayload.h). Registered second at library start; slow to compress, the
// savings large.
#pragma once

#include "dib/DIBCompressor.h"

namespace zelk {

class TLZHDIBCompressor : public TAbstractDIBCompressor {
  ZELK_CLASS(TLZHDIBCompressor, TAbstractDIBCompressor)

  static TGUID ClassGUID();

  TGUID GetGUID() const override { return ClassGUID(); }
  bool CanDecompress(const TGUID& guid) const override;
  // Answers the payload length, or 0 when the data do not shrink or the
  // coder fails for any reason.
  int32_t Compress(TAbstractSuperDIB* dib, const uint8_t* source, uint8_t* dest, int32_t sourceSize) override;
  // Raises ElzhException when the payload is cut short or expands to fewer
  // bytes than destSize.
  void Decompress(TAbstractSuperDIB* dib, const TGUID& guid, const uint8_t* source, uint8_t* dest,
                  int32_t sourceSize, int32_t destSize) override;
  // No payload bit yields more than 60 bytes (a match of at most 60 bytes
  // costs ten bits or more, a literal byte one bit or more): a generous bound.
  int64_t MaxExpandedSize(int64_t payloadSize) const override;

  std::string GetDisplayName() const override;
  std::string GetDescription() const override;
  std::string GetAuthor() const override;
  std::string GetEMail() const override;
  std::string GetURL() const override;
};

}  // namespace zelk
