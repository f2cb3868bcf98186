#include "dib/BMPDecoder.h"

#include <algorithm>
#include <bit>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestHeaderSize = 124;
// Channel masks, when present, always lie right after the 40 info bytes.
constexpr uint64_t kMaskOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr int kMaxPaletteEntries = 256;
// A run-length coded picture may not claim more pixels than this many per
// stored byte (plus a small allowance): runs give at most 255 pixels per two
// bytes, and a handful of hostile bytes must not demand gigabytes.
constexpr uint64_t kRunPixelsPerByte = 256;
constexpr uint64_t kRunPixelAllowance = uint64_t{1} << 20;
constexpr uint32_t kOpaque = 0xFF000000u;

enum TBMPCompression : uint32_t { bcRGB = 0, bcRLE8 = 1, bcRLE4 = 2, bcBitFields = 3, bcAlphaBitFields = 6 };

[[noreturn]] void Fail(std::string_view reason) {
  throw EPictureError("Invalid BMP file: " + std::string(reason) + ".");
}

// Bounds-checked little-endian reads of the file.
class TFileBytes {
 public:
  explicit TFileBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  uint64_t Size() const { return bytes_.size(); }
  bool Holds(uint64_t offset, uint64_t count) const { return offset <= Size() && count <= Size() - offset; }
  const uint8_t* At(uint64_t offset) const { return bytes_.data() + offset; }
  uint8_t Byte(uint64_t offset) const {
    Require(offset, 1);
    return bytes_[offset];
  }
  uint16_t U16(uint64_t offset) const {
    Require(offset, 2);
    return static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  uint32_t U32(uint64_t offset) const {
    Require(offset, 4);
    return static_cast<uint32_t>(bytes_[offset]) | static_cast<uint32_t>(bytes_[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes_[offset + 2]) << 16 | static_cast<uint32_t>(bytes_[offset + 3]) << 24;
  }
  int32_t S32(uint64_t offset) const { return static_cast<int32_t>(U32(offset)); }

 private:
  void Require(uint64_t offset, uint64_t count) const {
    if (!Holds(offset, count)) Fail("the file ends inside its headers");
  }
  std::span<const uint8_t> bytes_;
};

// One colour channel of a 16- or 32-bit pixel, scaled to 8 bits.
class TChannelMask {
 public:
  TChannelMask() = default;
  explicit TChannelMask(uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    bits_ = std::bit_width(mask >> shift_);
  }
  bool Present() const { return bits_ > 0; }
  uint8_t Extract(uint32_t value) const {
    if (bits_ == 0) return 0;
    const uint32_t raw = (value & mask_) >> shift_;
    if (bits_ >= 8) return static_cast<uint8_t>(raw >> (bits_ - 8));
    const uint32_t largest = (1u << bits_) - 1;
    return static_cast<uint8_t>((raw * 255 + largest / 2) / largest);
  }

 private:
  uint32_t mask_ = 0;
  int shift_ = 0;
  int bits_ = 0;
};

struct TChannelMasks {
  TChannelMask Red, Green, Blue, Alpha;
};

struct TBMPLayout {
  int32_t Width = 0;
  int32_t Height = 0;
  bool TopDown = false;
  uint16_t BitCount = 0;
  uint32_t Compression = bcRGB;
  TChannelMasks Masks;
  std::vector<uint32_t> Palette;
  uint64_t PixelOffset = 0;
};

uint32_t MakePixel(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
         blue;
}

bool IsBitFields(uint32_t compression) { return compression == bcBitFields || compression == bcAlphaBitFields; }

void ReadDimensions(const TFileBytes& file, uint32_t headerSize, TBMPLayout& layout) {
  int64_t height = 0;
  if (headerSize == kCoreHeaderSize) {
    layout.Width = file.U16(18);
    height = file.U16(20);
    layout.BitCount = file.U16(24);
  } else {
    layout.Width = file.S32(18);
    height = file.S32(22);
    layout.BitCount = file.U16(28);
    layout.Compression = file.U32(30);
  }
  layout.TopDown = height < 0;
  height = height < 0 ? -height : height;
  CheckPictureSize(layout.Width, height, "BMP");
  layout.Height = static_cast<int32_t>(height);
}

void CheckFormat(const TBMPLayout& layout) {
  const uint16_t bits = layout.BitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Fail("unsupported bit count");
  switch (layout.Compression) {
    case bcRGB:
      return;
    case bcRLE8:
      if (bits != 8) Fail("RLE8 needs 8 bits per pixel");
      break;
    case bcRLE4:
      if (bits != 4) Fail("RLE4 needs 4 bits per pixel");
      break;
    case bcBitFields:
    case bcAlphaBitFields:
      if (bits != 16 && bits != 32) Fail("channel masks need 16 or 32 bits per pixel");
      return;
    default:
      Fail("unsupported compression");
  }
  if (layout.TopDown) Fail("run-length coded pictures cannot be top-down");
}

TChannelMasks DefaultMasks(uint16_t bitCount) {
  if (bitCount == 16) return {TChannelMask(0x7C00), TChannelMask(0x03E0), TChannelMask(0x001F), TChannelMask()};
  // 32 bits: B, G, R and the fourth byte, which is kept as alpha.
  return {TChannelMask(0x00FF0000), TChannelMask(0x0000FF00), TChannelMask(0x000000FF), TChannelMask(0xFF000000)};
}

// Answers the number of mask bytes that follow a 40-byte info header.
uint64_t ReadMasks(const TFileBytes& file, uint32_t headerSize, TBMPLayout& layout) {
  if (!IsBitFields(layout.Compression)) {
    if (layout.BitCount == 16 || layout.BitCount == 32) layout.Masks = DefaultMasks(layout.BitCount);
    return 0;
  }
  const bool hasAlphaMask = layout.Compression == bcAlphaBitFields || headerSize >= 56;
  layout.Masks.Red = TChannelMask(file.U32(kMaskOffset));
  layout.Masks.Green = TChannelMask(file.U32(kMaskOffset + 4));
  layout.Masks.Blue = TChannelMask(file.U32(kMaskOffset + 8));
  if (hasAlphaMask) layout.Masks.Alpha = TChannelMask(file.U32(kMaskOffset + 12));
  if (headerSize != kInfoHeaderSize) return 0;
  return hasAlphaMask ? 16 : 12;
}

// Answers the offset just past the palette.
uint64_t ReadPalette(const TFileBytes& file, uint32_t headerSize, uint64_t paletteOffset, TBMPLayout& layout) {
  layout.Palette.assign(kMaxPaletteEntries, kOpaque);
  if (layout.BitCount > 8) return paletteOffset;
  const uint64_t entrySize = headerSize == kCoreHeaderSize ? 3 : 4;
  const uint32_t colorsUsed = headerSize == kCoreHeaderSize ? 0 : file.U32(46);
  const uint64_t stated = colorsUsed != 0 ? colorsUsed : uint64_t{1} << layout.BitCount;
  const uint64_t count = std::min<uint64_t>(stated, kMaxPaletteEntries);
  if (!file.Holds(paletteOffset, count * entrySize)) Fail("the palette exceeds the file");
  for (uint64_t i = 0; i < count; ++i) {
    const uint8_t* entry = file.At(paletteOffset + i * entrySize);
    layout.Palette[i] = MakePixel(255, entry[2], entry[1], entry[0]);
  }
  return paletteOffset + count * entrySize;
}

TBMPLayout ReadLayout(const TFileBytes& file) {
  if (!file.Holds(0, kFileHeaderSize + 4) || file.Byte(0) != 'B' || file.Byte(1) != 'M') Fail("no BMP signature");
  const uint32_t headerSize = file.U32(kFileHeaderSize);
  if (headerSize != kCoreHeaderSize && (headerSize < kInfoHeaderSize || headerSize > kLargestHeaderSize)) {
    Fail("unsupported header size");
  }
  if (!file.Holds(kFileHeaderSize, headerSize)) Fail("the file ends inside its headers");
  TBMPLayout layout;
  ReadDimensions(file, headerSize, layout);
  CheckFormat(layout);
  const uint64_t maskBytes = ReadMasks(file, headerSize, layout);
  const uint64_t paletteEnd = ReadPalette(file, headerSize, kFileHeaderSize + headerSize + maskBytes, layout);
  const uint32_t statedOffset = file.U32(10);
  layout.PixelOffset = statedOffset != 0 ? statedOffset : paletteEnd;
  if (layout.PixelOffset > file.Size()) Fail("the pixel data offset lies beyond the file");
  return layout;
}

// --- uncompressed rows ---

uint32_t IndexedPixel(const uint8_t* row, int32_t x, uint16_t bits, const std::vector<uint32_t>& palette) {
  switch (bits) {
    case 1:
      return palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
    case 4:
      return palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
    default:
      return palette[row[x]];
  }
}

uint32_t MaskedPixel(uint32_t value, const TChannelMasks& masks) {
  const uint8_t alpha = masks.Alpha.Present() ? masks.Alpha.Extract(value) : 255;
  return MakePixel(alpha, masks.Red.Extract(value), masks.Green.Extract(value), masks.Blue.Extract(value));
}

void DecodeRow(const uint8_t* row, const TBMPLayout& layout, uint32_t* out) {
  for (int32_t x = 0; x < layout.Width; ++x) {
    switch (layout.BitCount) {
      case 16:
        out[x] = MaskedPixel(static_cast<uint32_t>(row[2 * x] | row[2 * x + 1] << 8), layout.Masks);
        break;
      case 24:
        out[x] = MakePixel(255, row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        break;
      case 32: {
        const uint8_t* bytes = row + 4 * x;
        const uint32_t value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                               static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
        out[x] = MaskedPixel(value, layout.Masks);
        break;
      }
      default:
        out[x] = IndexedPixel(row, x, layout.BitCount, layout.Palette);
    }
  }
}

size_t PictureRowOfStoredRow(const TBMPLayout& layout, int32_t storedRow) {
  return static_cast<size_t>(layout.TopDown ? storedRow : layout.Height - 1 - storedRow);
}

void DecodeUncompressed(const TFileBytes& file, const TBMPLayout& layout, TLoadedPicture& picture) {
  const uint64_t rowBits = uint64_t{static_cast<uint32_t>(layout.Width)} * layout.BitCount;
  const uint64_t stride = (rowBits + 31) / 32 * 4;
  const uint64_t lastRowBytes = (rowBits + 7) / 8;  // the final row may lack its padding
  if (!file.Holds(layout.PixelOffset, stride * static_cast<uint64_t>(layout.Height - 1) + lastRowBytes)) {
    Fail("the pixel data exceed the file");
  }
  picture.pixels.resize(static_cast<size_t>(layout.Width) * static_cast<size_t>(layout.Height));
  for (int32_t stored = 0; stored < layout.Height; ++stored) {
    const uint8_t* row = file.At(layout.PixelOffset + static_cast<uint64_t>(stored) * stride);
    DecodeRow(row, layout, picture.pixels.data() + PictureRowOfStoredRow(layout, stored) * layout.Width);
  }
}

// --- run-length coded rows (bottom-up palette indices) ---

class TRunDecoder {
 public:
  TRunDecoder(const TFileBytes& file, const TBMPLayout& layout)
      : file_(file), width_(layout.Width), height_(layout.Height), nibbles_(layout.Compression == bcRLE4),
        position_(layout.PixelOffset), indices_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0) {}

  std::vector<uint8_t> Decode() {
    while (y_ < height_ && file_.Holds(position_, 2)) {
      const uint8_t count = file_.At(position_)[0];
      const uint8_t value = file_.At(position_)[1];
      position_ += 2;
      if (count > 0) {
        PutRun(count, value);
      } else if (!Escape(value)) {
        break;
      }
    }
    return std::move(indices_);
  }

 private:
  void Put(uint8_t index) {
    if (x_ < static_cast<uint64_t>(width_) && y_ < height_) {
      indices_[static_cast<size_t>(y_) * static_cast<size_t>(width_) + static_cast<size_t>(x_)] = index;
    }
    ++x_;
  }

  void PutRun(int count, uint8_t value) {
    for (int i = 0; i < count; ++i) Put(nibbles_ ? static_cast<uint8_t>((i & 1) ? value & 0x0F : value >> 4) : value);
  }

  // Answers false at the end of the picture or of the data.
  bool Escape(uint8_t code) {
    switch (code) {
      case 0:  // end of line
        x_ = 0;
        ++y_;
        return true;
      case 1:  // end of picture
        return false;
      case 2:  // move right and up
        if (!file_.Holds(position_, 2)) return false;
        x_ += file_.At(position_)[0];
        y_ += file_.At(position_)[1];
        position_ += 2;
        return true;
      default:
        return PutLiterals(code);
    }
  }

  // count literal indices, stored padded to a whole number of 16-bit words.
  bool PutLiterals(int count) {
    const uint64_t bytes = nibbles_ ? (static_cast<uint64_t>(count) + 1) / 2 : static_cast<uint64_t>(count);
    if (!file_.Holds(position_, bytes)) return false;
    const uint8_t* data = file_.At(position_);
    for (int i = 0; i < count; ++i) {
      Put(nibbles_ ? static_cast<uint8_t>((i & 1) ? data[i / 2] & 0x0F : data[i / 2] >> 4) : data[i]);
    }
    position_ += (bytes + 1) / 2 * 2;
    return true;
  }

  const TFileBytes& file_;
  int32_t width_;
  int32_t height_;
  bool nibbles_;
  uint64_t position_;
  uint64_t x_ = 0;
  int64_t y_ = 0;
  std::vector<uint8_t> indices_;
};

void DecodeRunLength(const TFileBytes& file, const TBMPLayout& layout, TLoadedPicture& picture) {
  const uint64_t pixels = uint64_t{static_cast<uint32_t>(layout.Width)} * static_cast<uint32_t>(layout.Height);
  const uint64_t dataBytes = file.Size() - layout.PixelOffset;
  if (pixels > dataBytes * kRunPixelsPerByte + kRunPixelAllowance) {
    Fail("the run-length picture is larger than its data can describe");
  }
  const std::vector<uint8_t> indices = TRunDecoder(file, layout).Decode();
  picture.pixels.resize(static_cast<size_t>(pixels));
  const auto width = static_cast<size_t>(layout.Width);
  for (int32_t stored = 0; stored < layout.Height; ++stored) {
    const uint8_t* row = indices.data() + static_cast<size_t>(stored) * width;
    uint32_t* out = picture.pixels.data() + PictureRowOfStoredRow(layout, stored) * width;
    for (size_t x = 0; x < width; ++x) out[x] = layout.Palette[row[x]];
  }
}

}  // namespace

TLoadedPicture DecodeBMP(std::span<const uint8_t> fileBytes) {
  const TFileBytes file(fileBytes);
  const TBMPLayout layout = ReadLayout(file);
  TLoadedPicture picture;
  picture.width = layout.Width;
  picture.height = layout.Height;
  picture.hasAlpha = layout.BitCount == 32;
  if (layout.Compression == bcRLE8 || layout.Compression == bcRLE4) {
    DecodeRunLength(file, layout, picture);
  } else {
    DecodeUncompressed(file, layout, picture);
  }
  return picture;
}

}  // namespace zelk
