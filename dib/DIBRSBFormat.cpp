#include "dib/DIBRSBFormat.h"

#include <array>
#include <cstddef>
#include <limits>
#include <vector>

#include "dib/AbstractSuperDIB.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Stream.h"
#include "runtime/Text.h"

namespace zelk {

namespace {

constexpr size_t kHeaderFields = 7;
constexpr size_t kHeaderSize = kHeaderFields * 4;
constexpr uint32_t kVersion = 1;
constexpr uint32_t kMaxChannelBits = 8;
// Width and Height of a bitmap are 16-bit.
constexpr uint32_t kMaxSide = 0xFFFF;

struct TRSBHeader {
  uint32_t Version = kVersion;
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint32_t RedBits = 0;
  uint32_t GreenBits = 0;
  uint32_t BlueBits = 0;
  uint32_t AlphaBits = 0;

  uint64_t PixelBytes() const { return uint64_t{Width} * Height * 2; }
};

uint32_t ReadLE32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

void WriteLE32(uint8_t* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

TRSBHeader ReadHeader(TStream& stream) {
  std::array<uint8_t, kHeaderSize> bytes;
  stream.ReadBuffer(bytes.data(), kHeaderSize);
  std::array<uint32_t, kHeaderFields> fields;
  for (size_t i = 0; i < kHeaderFields; ++i) fields[i] = ReadLE32(&bytes[i * 4]);
  return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]};
}

void WriteHeader(TStream& stream, const TRSBHeader& header) {
  const std::array<uint32_t, kHeaderFields> fields = {header.Version,   header.Width,    header.Height,
                                                      header.RedBits,   header.GreenBits, header.BlueBits,
                                                      header.AlphaBits};
  std::array<uint8_t, kHeaderSize> bytes;
  for (size_t i = 0; i < kHeaderFields; ++i) WriteLE32(&bytes[i * 4], fields[i]);
  stream.WriteBuffer(bytes.data(), kHeaderSize);
}

// Everything that could make the pixels undecodable, or demand memory the
// file does not back, is refused before the bitmap is touched.
void CheckHeader(const TRSBHeader& header, int64_t bytesLeft) {
  if (header.Version != kVersion) throw EDIBFormatError(kRSBVersionMessage);
  if (header.RedBits > kMaxChannelBits || header.GreenBits > kMaxChannelBits || header.BlueBits > kMaxChannelBits) {
    throw EDIBFormatError(kRSBBitCountMessage);
  }
  if (header.Width == 0 || header.Height == 0) throw EDIBFormatError(kRSBEmptyMessage);
  if (header.Width > kMaxSide || header.Height > kMaxSide) throw EDIBFormatError(kRSBTooLargeMessage);
  // The file's pixels and the bitmap's (twice as many bytes) must both fit.
  if (header.PixelBytes() * 2 > static_cast<uint64_t>(std::numeric_limits<ptrdiff_t>::max())) {
    throw EDIBFormatError(kRSBTooLargeMessage);
  }
  if (bytesLeft < 0 || header.PixelBytes() > static_cast<uint64_t>(bytesLeft)) {
    throw EDIBFormatError(kRSBTruncatedMessage);
  }
}

// One colour channel of a 16-bit pixel, brought to the top bits of a byte:
// (pixel >> (lowest bit + count - 8)) and (256 - 2^(8 - count)). Narrow
// channels low in the pixel need a left shift instead.
struct TChannel {
  int32_t Shift = 0;
  uint32_t Mask = 0;

  static TChannel At(uint32_t lowestBit, uint32_t bitCount) {
    return {static_cast<int32_t>(lowestBit + bitCount) - 8, 256u - (1u << (8 - bitCount))};
  }
  uint8_t From(uint32_t pixel) const {
    const uint32_t aligned = Shift >= 0 ? pixel >> Shift : pixel << -Shift;
    return static_cast<uint8_t>(aligned & Mask);
  }
};

struct TPixelDecoder {
  TChannel Blue;
  TChannel Green;
  TChannel Red;

  explicit TPixelDecoder(const TRSBHeader& header)
      : Blue(TChannel::At(0, header.BlueBits)),
        Green(TChannel::At(header.BlueBits, header.GreenBits)),
        Red(TChannel::At(header.BlueBits + header.GreenBits, header.RedBits)) {}

  // Writes B, G, R and alpha 0.
  void Decode(uint32_t pixel, uint8_t* target) const {
    target[0] = Blue.From(pixel);
    target[1] = Green.From(pixel);
    target[2] = Red.From(pixel);
    target[3] = 0;
  }
};

// source: bytes B, G, R, A of one bitmap pixel.
uint16_t EncodeMasked(const uint8_t* source) {
  return static_cast<uint16_t>((source[3] & 0xF0) << 8 | (source[2] & 0xF0) << 4 | (source[1] & 0xF0) |
                               source[0] >> 4);
}

uint16_t EncodePlain(const uint8_t* source) {
  return static_cast<uint16_t>((source[2] & 0xF8) << 8 | (source[1] & 0xFC) << 3 | source[0] >> 3);
}

TRSBHeader HeaderFor(const TAbstractSuperDIB& dib) {
  TRSBHeader header;
  header.Width = dib.Width();
  header.Height = dib.Height();
  if (dib.Masked()) {
    header.RedBits = header.GreenBits = header.BlueBits = header.AlphaBits = 4;
  } else {
    header.RedBits = 5;
    header.GreenBits = 6;
    header.BlueBits = 5;
  }
  return header;
}

}  // namespace

const TClassInfo& TDIBRSBFormat::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDIBRSBFormat>("TDIBRSBFormat").Build();
  return info;
}

bool TDIBRSBFormat::CanLoadExtension(std::string_view extension) const { return SameText(extension, kRSBExtension); }

bool TDIBRSBFormat::CanSaveExtension(std::string_view extension) const { return SameText(extension, kRSBExtension); }

void TDIBRSBFormat::LoadFromStream(TStream& stream) {
  TAbstractSuperDIB& dib = RequireDIB();
  const TRSBHeader header = ReadHeader(stream);
  CheckHeader(header, stream.Remaining());
  // The pixels are read before the bitmap is resized, so that a stream
  // failing part-way leaves the bitmap as it was.
  std::vector<uint8_t> pixels(static_cast<size_t>(header.PixelBytes()));
  stream.ReadBuffer(pixels.data(), static_cast<int64_t>(pixels.size()));

  const auto width = static_cast<uint16_t>(header.Width);
  const auto height = static_cast<uint16_t>(header.Height);
  dib.SetSize(width, height);
  // A view whose size changed has dropped its borrowed pixels.
  if (dib.Bits() == nullptr) throw EDIBFormatError(kRSBNoPixelMemoryMessage);

  const TPixelDecoder decoder(header);
  const uint8_t* source = pixels.data();
  for (int32_t row = 0; row < height; ++row) {
    uint8_t* target = dib.ScanLine(row);
    for (uint16_t column = 0; column < width; ++column, source += 2, target += 4) {
      decoder.Decode(uint32_t{source[0]} | uint32_t{source[1]} << 8, target);
    }
    NotifyRowDone(row, height);
  }
  dib.SetMasked(header.AlphaBits > 0);
}

void TDIBRSBFormat::SaveToStream(TStream& stream) {
  const TAbstractSuperDIB& dib = RequireDIB();
  if (dib.Bits() == nullptr) throw EDIBFormatError(kRSBNoPixelMemoryMessage);
  const TRSBHeader header = HeaderFor(dib);
  const bool masked = dib.Masked();

  std::vector<uint8_t> pixels(static_cast<size_t>(header.PixelBytes()));
  uint8_t* target = pixels.data();
  const int32_t height = dib.Height();
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* source = dib.ScanLine(row);
    for (uint16_t column = 0; column < dib.Width(); ++column, source += 4, target += 2) {
      const uint16_t pixel = masked ? EncodeMasked(source) : EncodePlain(source);
      target[0] = static_cast<uint8_t>(pixel);
      target[1] = static_cast<uint8_t>(pixel >> 8);
    }
    NotifyRowDone(row, height);
  }
  WriteHeader(stream, header);
  stream.WriteBuffer(pixels.data(), static_cast<int64_t>(pixels.size()));
}

}  // namespace zelk
