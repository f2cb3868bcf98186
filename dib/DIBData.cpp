#include "dib/DIBData.h"

#include <cstring>
#include <limits>
#include <span>
#include <vector>

#include "dib/DIBCompressorRegistry.h"
#include "runtime/Stream.h"

namespace zelk {

namespace {

// The bytes from a stream's position to its end as one contiguous buffer:
// a memory stream's own bytes, or a copy of what another stream holds.
class TContiguousBytes {
 public:
  explicit TContiguousBytes(TStream& stream) {
    if (auto* memory = dynamic_cast<TCustomMemoryStream*>(&stream)) {
      const int64_t position = memory->Position();
      const int64_t size = memory->Size();
      const int64_t start = position < size ? position : size;
      bytes_ = memory->Bytes().subspan(static_cast<size_t>(start));
      memory->SetPosition(size);
    } else {
      const int64_t remaining = stream.Remaining();
      copy_.resize(static_cast<size_t>(remaining > 0 ? remaining : 0));
      stream.ReadBuffer(copy_.data(), static_cast<int64_t>(copy_.size()));
      bytes_ = copy_;
    }
  }
  std::span<const uint8_t> Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> copy_;
  std::span<const uint8_t> bytes_;
};

void WriteLittleEndian32(TStream& dest, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  const uint8_t bytes[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                            static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
  dest.WriteBuffer(bytes, 4);
}

int32_t ReadLittleEndian32(const uint8_t* bytes) {
  return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                              static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

// Answers the compressed payload length, or 0 when the record stays raw.
int32_t TryCompress(TAbstractDIBCompressor& compressor, TAbstractSuperDIB* dib, std::span<const uint8_t> record,
                    std::vector<uint8_t>& payload) {
  // The block header holds the length in 32 bits; larger records stay raw.
  if (record.empty() || record.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return 0;
  const auto size = static_cast<int32_t>(record.size());
  payload.resize(record.size());
  const int32_t written = compressor.Compress(dib, record.data(), payload.data(), size);
  return written > 0 && written <= size ? written : 0;
}

void WriteCompressedBlock(TStream& dest, const TGUID& guid, int32_t recordSize, std::span<const uint8_t> payload) {
  dest.WriteBuffer(kDIBDataMagic, kDIBDataMagicSize);
  const auto guidBytes = GUIDToBytes(guid);
  dest.WriteBuffer(guidBytes.data(), static_cast<int64_t>(guidBytes.size()));
  WriteLittleEndian32(dest, recordSize);
  dest.WriteBuffer(payload.data(), static_cast<int64_t>(payload.size()));
}

struct TBlockHeader {
  TGUID Guid;
  int32_t Length = 0;
};

// Reads the 20 header bytes that follow the magic.
TBlockHeader ReadBlockHeader(TStream& source) {
  uint8_t bytes[kDIBDataHeaderSize - kDIBDataMagicSize];
  if (source.Read(bytes, sizeof bytes) != static_cast<int64_t>(sizeof bytes)) {
    throw EDIBCompressError(kDIBDataTruncatedMessage);
  }
  TBlockHeader header;
  header.Guid = GUIDFromBytes(std::span<const uint8_t, kGUIDByteSize>(bytes, kGUIDByteSize));
  header.Length = ReadLittleEndian32(bytes + kGUIDByteSize);
  return header;
}

// True (and the stream past the magic) when the block starts with the magic;
// otherwise the stream is back at the block's start.
bool StartsWithMagic(TStream& source) {
  const int64_t start = source.Position();
  if (source.Size() < kDIBDataHeaderSize) return false;
  char magic[kDIBDataMagicSize];
  if (source.Read(magic, kDIBDataMagicSize) == kDIBDataMagicSize &&
      std::memcmp(magic, kDIBDataMagic, kDIBDataMagicSize) == 0) {
    return true;
  }
  source.SetPosition(start);
  return false;
}

void CopyRawBlock(TStream& source, TStream& dest) {
  const TContiguousBytes block(source);
  dest.WriteBuffer(block.Bytes().data(), static_cast<int64_t>(block.Bytes().size()));
}

void ExpandCompressedBlock(TAbstractSuperDIB* dib, TStream& source, TStream& dest) {
  const TBlockHeader header = ReadBlockHeader(source);
  TAbstractDIBCompressor* decompressor = FindDIBDecompressor(header.Guid);
  if (decompressor == nullptr) throw EDIBCompressError(kNoSuitableDecompressorMessage);

  const TContiguousBytes payload(source);
  const auto payloadSize = static_cast<int64_t>(payload.Bytes().size());
  // Checked before allocating: the payload must be able to produce the length.
  if (header.Length < 0 || header.Length > decompressor->MaxExpandedSize(payloadSize) ||
      payloadSize > std::numeric_limits<int32_t>::max()) {
    throw EDIBCompressError(FormatMessage(kDIBDataInvalidLengthMessage, std::to_string(header.Length)));
  }
  std::vector<uint8_t> record(static_cast<size_t>(header.Length));
  decompressor->Decompress(dib, header.Guid, payload.Bytes().data(), record.data(),
                           static_cast<int32_t>(payloadSize), header.Length);
  dest.WriteBuffer(record.data(), header.Length);
}

}  // namespace

void WriteDIBData(TAbstractSuperDIB* dib, TStream& source, TStream& dest) {
  const TContiguousBytes record(source);
  TAbstractDIBCompressor* compressor = CurrentDIBCompressor();
  std::vector<uint8_t> payload;
  const int32_t payloadSize = compressor ? TryCompress(*compressor, dib, record.Bytes(), payload) : 0;
  if (payloadSize == 0) {
    dest.WriteBuffer(record.Bytes().data(), static_cast<int64_t>(record.Bytes().size()));
    return;
  }
  WriteCompressedBlock(dest, compressor->GetGUID(), static_cast<int32_t>(record.Bytes().size()),
                       std::span<const uint8_t>(payload).first(static_cast<size_t>(payloadSize)));
}

void ReadDIBData(TAbstractSuperDIB* dib, TStream& source, TStream& dest) {
  if (StartsWithMagic(source)) {
    ExpandCompressedBlock(dib, source, dest);
  } else {
    CopyRawBlock(source, dest);
  }
}

}  // namespace zelk
