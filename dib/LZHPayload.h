// The LZH compressor of stored image blocks, as two plain operations that the
// compressor class wraps, and the compressor's identity texts.
//
// Payload of an LZH block: exactly the coder's output, i.e. the record's
// length as a signed 32-bit little-endian value followed by the bit stream.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zelk {

inline constexpr char kLZHCompressorGUIDText[] = "{BC0C10FC-E045-41E7-A37C-B86AF21320B8}";
// The same GUID in its binary layout: 32-bit and two 16-bit values
// little-endian, then eight bytes in order.
inline constexpr std::array<uint8_t, 16> kLZHCompressorGUIDBytes = {
    0xFC, 0x10, 0x0C, 0xBC, 0x45, 0xE0, 0xE7, 0x41, 0xA3, 0x7C, 0xB8, 0x6A, 0xF2, 0x13, 0x20, 0xB8};
inline constexpr char kLZHCompressorDisplayName[] = "DIB LZH";
inline constexpr char kLZHCompressorDescription[] =
    "Uses LZH compression to compress the graphics,\r\n"
    "Compression is slow, decompression is not so slow, but the savings in size are very large.";
inline constexpr char kLZHCompressorAuthor[] = "Zelk Vorlan image library";
inline constexpr char kLZHCompressorEMail[] = "No e-mail address supplied";
inline constexpr char kLZHCompressorURL[] = "No web address supplied";

// Codes sourceSize bytes into payload. Answers the payload length, which is
// never above sourceSize, or 0 when the data were not compressed (they do
// not shrink, a Huffman code would exceed 16 bits, memory ran out, or the
// size is not positive); payload is then empty and the record is stored raw.
// Never raises.
int32_t LZHCompress(const uint8_t* source, int32_t sourceSize, std::vector<uint8_t>& payload);

// Expands payload into exactly uncompressedLength bytes at dest. Raises
// ElzhException when the payload is cut short, expands to fewer bytes, or
// the length is negative. Extra bytes that the payload would produce beyond
// uncompressedLength are not decoded. Never touches memory outside payload,
// dest[0, uncompressedLength) and its own tables.
void LZHDecompress(std::span<const uint8_t> payload, uint8_t* dest, int32_t uncompressedLength);

// The most bytes a payload of payloadSize bytes can expand to: every symbol
// takes at least one bit, and a match (at most 60 bytes) at least ten with
// its position, so each payload bit after the header yields at most 6 bytes.
// Lets a reader refuse an absurd uncompressed length before allocating.
constexpr int64_t LZHMaxExpandedSize(int64_t payloadSize) {
  return payloadSize <= 4 ? 0 : (payloadSize - 4) * 8 * 6;
}

inline constexpr char kLZHShortOutputMessage[] = "LZH : Compressed data holds fewer bytes than expected";
inline constexpr char kLZHInvalidLengthMessage[] = "LZH : Invalid uncompressed length";

}  // namespace zelk
