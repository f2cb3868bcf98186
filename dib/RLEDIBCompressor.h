// TRLEDIBCompressor ("Shuffle4 RLE"): regroups the image record into four
// byte planes and codes them as (count, value) runs. Registered first at
// library start; the compressor of the editor's stored pictures.
#pragma once

#include "dib/DIBCompressor.h"

namespace zelk {

inline constexpr char kRLECompressorGUIDText[] = "{CABA9056-7349-43A4-B010-3764FBFAC230}";
inline constexpr char kRLECompressorDisplayName[] = "Shuffle4 RLE";
inline constexpr char kRLEPayloadMismatchMessage[] =
    "Shuffle4 RLE: the stored runs do not expand to the stated length.";

class TRLEDIBCompressor : public TAbstractDIBCompressor {
  ZELK_CLASS(TRLEDIBCompressor, TAbstractDIBCompressor)

  static TGUID ClassGUID();

  TGUID GetGUID() const override { return ClassGUID(); }
  bool CanDecompress(const TGUID& guid) const override;
  // Answers the payload length, or 0 when it would need more than
  // sourceSize / 2 pairs (the data do not shrink).
  int32_t Compress(TAbstractSuperDIB* dib, const uint8_t* source, uint8_t* dest, int32_t sourceSize) override;
  void Decompress(TAbstractSuperDIB* dib, const TGUID& guid, const uint8_t* source, uint8_t* dest,
                  int32_t sourceSize, int32_t destSize) override;
  // Each pair gives at most 255 bytes.
  int64_t MaxExpandedSize(int64_t payloadSize) const override;

  std::string GetDisplayName() const override { return kRLECompressorDisplayName; }
  std::string GetDescription() const override;
  std::string GetAuthor() const override;
  std::string GetEMail() const override;
  std::string GetURL() const override;
};

}  // namespace zelk
