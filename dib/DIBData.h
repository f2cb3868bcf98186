// The stored form of a bitmap's pixels. A bitmap writes its image record
// (Width and Height as unsigned 16-bit little-endian values, then
// Width x Height x 4 pixel bytes, bottom row first) and the routines here turn
// it into a stored block and back:
//
//   raw:         the image record unchanged, or
//   compressed:  "DIBCMP" (6 bytes), the compressor's GUID (16 bytes, binary
//                layout), the record's length (signed 32-bit little-endian),
//                then the compressor's payload (the rest of the block).
//
// A block is compressed when the stream holding it is at least 26 bytes long
// and the block begins with the magic; everything else is raw.
#pragma once

#include <cstdint>

#include "dib/DIBCompressor.h"

namespace zelk {

class TStream;

inline constexpr char kDIBDataMagic[] = "DIBCMP";
inline constexpr int64_t kDIBDataMagicSize = 6;
inline constexpr int64_t kDIBDataHeaderSize = 26;

inline constexpr char kDIBDataTruncatedMessage[] = "Stored image data is truncated.";
inline constexpr char kDIBDataInvalidLengthMessage[] = "Stored image data states an invalid length (%d bytes).";

// Source holds one image record from its position to its end; dest receives
// the stored block: compressed with the current compressor when there is one
// and it shrinks the record, raw otherwise. Never fails because compression
// failed.
void WriteDIBData(TAbstractSuperDIB* dib, TStream& source, TStream& dest);

// Source holds one stored block from its position to its end; dest receives
// the image record. Raises EDIBCompressError with "Could not find a suitable
// decompressor." when no registered compressor accepts the block's GUID, and
// when a compressed block is truncated, states an impossible length or does
// not expand to exactly that length. Nothing is written to dest on failure.
void ReadDIBData(TAbstractSuperDIB* dib, TStream& source, TStream& dest);

}  // namespace zelk
