// Pluggable compressors of stored image blocks. A compressor is identified by
// a GUID that the stored block carries, so any registered compressor that
// accepts the GUID can decode a block whatever compressor is current.
#pragma once

#include <cstdint>
#include <string>

#include "dib/DIBGuid.h"
#include "runtime/Exceptions.h"
#include "runtime/Persistent.h"

namespace zelk {

class TAbstractSuperDIB;

// Errors of the stored form: no decompressor for a block, or a block that
// cannot be decoded.
ZELK_EXCEPTION_CLASS(EDIBCompressError, Exception);

inline constexpr char kNoSuitableDecompressorMessage[] = "Could not find a suitable decompressor.";
inline constexpr char kNoInformationSupplied[] = "No information supplied";

class TAbstractDIBCompressor : public TPersistent {
  ZELK_CLASS(TAbstractDIBCompressor, TPersistent)

  virtual TGUID GetGUID() const = 0;
  virtual bool CanDecompress(const TGUID& guid) const = 0;

  // Codes sourceSize bytes into dest, which has room for exactly sourceSize
  // bytes and must not be written beyond. Answers the number of bytes
  // written, or 0 when the data were not compressed (the record is then
  // stored raw). dib is the bitmap being stored, for information only.
  virtual int32_t Compress(TAbstractSuperDIB* dib, const uint8_t* source, uint8_t* dest, int32_t sourceSize) = 0;

  // Expands sourceSize payload bytes into exactly destSize bytes at dest.
  // Raises EDIBCompressError when the payload does not expand to exactly
  // destSize bytes; never touches memory outside the two buffers.
  virtual void Decompress(TAbstractSuperDIB* dib, const TGUID& guid, const uint8_t* source, uint8_t* dest,
                          int32_t sourceSize, int32_t destSize) = 0;

  // The largest uncompressed length a payload of payloadSize bytes can
  // expand to. The reader refuses a block whose header claims more, before
  // it allocates anything, so a few hostile bytes cannot demand gigabytes.
  virtual int64_t MaxExpandedSize(int64_t payloadSize) const = 0;

  virtual std::string GetDisplayName() const = 0;
  virtual std::string GetDescription() const { return kNoInformationSupplied; }
  virtual std::string GetAuthor() const { return kNoInformationSupplied; }
  virtual std::string GetEMail() const { return {}; }
  virtual std::string GetURL() const { return {}; }
};

}  // namespace zelk
