// Our BMP decoder: every bit depth and both row orders give the same top-down
// 0xAARRGGBB pixels, 32-bit files keep their alpha, and hostile headers are
// errors rather than crashes or huge allocations.
#include <gtest/gtest.h>

#include <limits>

#include "BMPBuilder.h"
#include "dib/BMPDecoder.h"

namespace zelk::tests {
namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000;

TLoadedPicture Decode(const TBMPParts& parts) { return DecodeBMP(BuildBMP(parts)); }

// A 3 x 2 picture: top row red, green, blue; bottom row white, black, grey.
const std::vector<uint32_t> kTopDown3x2 = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080};

TBMPParts TwentyFourBit(bool topDown) {
  const std::vector<uint8_t> top = {0, 0, 255, 0, 255, 0, 255, 0, 0};
  const std::vector<uint8_t> bottom = {255, 255, 255, 0, 0, 0, 128, 128, 128};
  TBMPParts parts;
  parts.Width = 3;
  parts.Height = topDown ? -2 : 2;
  parts.PixelData = topDown ? PaddedRows({top, bottom}) : PaddedRows({bottom, top});
  return parts;
}

TEST(BMPDecoder, BottomUpAndTopDownRowsGiveTheSamePicture) {
  for (bool topDown : {false, true}) {
    const TLoadedPicture picture = Decode(TwentyFourBit(topDown));
    EXPECT_EQ(picture.width, 3);
    EXPECT_EQ(picture.height, 2);
    EXPECT_EQ(picture.pixels, kTopDown3x2) << "top-down " << topDown;
    EXPECT_FALSE(picture.hasAlpha);
  }
}

TEST(BMPDecoder, TheLastRowMayLackItsPadding) {
  TBMPParts parts = TwentyFourBit(false);
  parts.PixelData.resize(parts.PixelData.size() - 3);
  EXPECT_EQ(Decode(parts).pixels, kTopDown3x2);
}

// Palette pictures: indices beyond the palette show opaque black.
TEST(BMPDecoder, PaletteDepths) {
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  TBMPParts eight;
  eight.Width = 3;
  eight.BitCount = 8;
  eight.ColorsUsed = 4;
  eight.Palette = palette;
  eight.PixelData = PaddedRows({{1, 3, 200}});
  EXPECT_EQ(Decode(eight).pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF, kOpaqueBlack}));

  TBMPParts four = eight;
  four.Width = 5;
  four.BitCount = 4;
  four.PixelData = PaddedRows({{0x12, 0x30, 0x20}});
  EXPECT_EQ(Decode(four).pixels,
            (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, kOpaqueBlack, 0xFF00FF00}));

  TBMPParts one = eight;
  one.Width = 10;
  one.BitCount = 1;
  one.ColorsUsed = 0;  // 2 entries implied
  one.Palette = {0x000000, 0xFFFFFF};
  one.PixelData = PaddedRows({{0b10100000, 0b01000000}});
  const TLoadedPicture bits = Decode(one);
  const std::vector<uint32_t> expected = {0xFFFFFFFF, kOpaqueBlack, 0xFFFFFFFF, kOpaqueBlack, kOpaqueBlack,
                                          kOpaqueBlack, kOpaqueBlack, kOpaqueBlack, kOpaqueBlack, 0xFFFFFFFF};
  EXPECT_EQ(bits.pixels, expected);
}

TEST(BMPDecoder, OldStyleHeadersWithThreeBytePaletteEntries) {
  TBMPParts parts;
  parts.HeaderSize = 12;
  parts.Width = 2;
  parts.BitCount = 8;
  parts.Palette = std::vector<uint32_t>(256, 0);
  parts.Palette[7] = 0x123456;
  parts.PixelData = PaddedRows({{7, 0}});
  EXPECT_EQ(Decode(parts).pixels, (std::vector<uint32_t>{0xFF123456, kOpaqueBlack}));
}

// 16-bit channels are widened to the full 0..255 range.
TEST(BMPDecoder, SixteenBitDefaultAndExplicitMasks) {
  TBMPParts parts;
  parts.Width = 2;
  parts.BitCount = 16;
  parts.PixelData = PaddedRows({{0x00, 0x7C, 0x1F, 0x00}});  // 555 red, 555 blue
  EXPECT_EQ(Decode(parts).pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));

  parts.Compression = 3;
  parts.Masks = {0xF800, 0x07E0, 0x001F};
  parts.PixelData = PaddedRows({{0xE0, 0x07, 0x00, 0xF8}});  // 565 green, 565 red
  EXPECT_EQ(Decode(parts).pixels, (std::vector<uint32_t>{0xFF00FF00, 0xFFFF0000}));
}

TEST(BMPDecoder, ThirtyTwoBitFilesKeepTheirAlpha) {
  TBMPParts parts;
  parts.Width = 2;
  parts.BitCount = 32;
  parts.PixelData = {10, 20, 30, 0, 40, 50, 60, 128};
  const TLoadedPicture picture = Decode(parts);
  EXPECT_TRUE(picture.hasAlpha);
  EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0x001E140A, 0x803C3228}));

  parts.HeaderSize = 56;  // with an alpha mask in the header
  parts.Compression = 3;
  parts.PixelData = {0x80, 10, 20, 30};  // masks R 0xFF000000, G 0xFF0000, B 0xFF00, A 0xFF
  parts.Width = 1;
  std::vector<uint8_t> file = BuildBMP(parts);
  const uint32_t masks[4] = {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF};
  for (int i = 0; i < 4; ++i) {
    for (int b = 0; b < 4; ++b) file[54 + 4 * i + b] = static_cast<uint8_t>(masks[i] >> (8 * b));
  }
  EXPECT_EQ(DecodeBMP(file).pixels, (std::vector<uint32_t>{0x801E140A}));
}

// Runs, literals, end of line, a move and the end of the picture; pixels the
// runs do not reach show palette entry 0.
TEST(BMPDecoder, RunLengthCodedPictures) {
  TBMPParts rle8;
  rle8.Width = 4;
  rle8.Height = 3;
  rle8.BitCount = 8;
  rle8.Compression = 1;
  rle8.ColorsUsed = 4;
  rle8.Palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  rle8.PixelData = {3, 1, 0, 0,            // bottom row: 1 1 1, line end
                    0, 2, 2, 0, 1, 3, 0, 0,  // middle row: move right 2, then 3, line end
                    0, 3, 2, 3, 1, 0,        // top row: literals 2 3 1 (padded)
                    0, 1};                   // end of picture
  const std::vector<uint32_t> expected8 = {0xFF00FF00, 0xFF0000FF, 0xFFFF0000, kOpaqueBlack,   // top
                                           kOpaqueBlack, kOpaqueBlack, 0xFF0000FF, kOpaqueBlack,  // middle
                                           0xFFFF0000, 0xFFFF0000, 0xFFFF0000, kOpaqueBlack};   // bottom
  EXPECT_EQ(Decode(rle8).pixels, expected8);

  TBMPParts rle4 = rle8;
  rle4.Height = 1;
  rle4.Width = 6;
  rle4.BitCount = 4;
  rle4.Compression = 2;
  rle4.PixelData = {3, 0x12, 0, 3, 0x31, 0x20, 0, 1};
  EXPECT_EQ(Decode(rle4).pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFFFF0000, 0xFF0000FF, 0xFFFF0000,
                                                        0xFF00FF00}));
}

// Each damaged or hostile file raises EPictureError.
TEST(BMPDecoder, HostileHeadersAreErrors) {
  std::vector<std::pair<const char*, std::vector<uint8_t>>> files;
  auto add = [&](const char* what, TBMPParts parts) { files.emplace_back(what, BuildBMP(parts)); };
  const TBMPParts good = TwentyFourBit(false);
  TBMPParts parts = good;
  parts.PixelData.resize(10);
  add("pixel data cut short", parts);
  parts = good;
  parts.Width = 0;
  add("zero width", parts);
  parts = good;
  parts.Width = 70000;
  add("width beyond 65535", parts);
  parts = good;
  parts.Height = std::numeric_limits<int32_t>::min();
  add("most negative height", parts);
  parts = good;
  parts.Width = 60000;
  parts.Height = 60000;
  add("huge picture backed by a few bytes", parts);
  parts = good;
  parts.BitCount = 7;
  add("bit count 7", parts);
  parts = good;
  parts.Compression = 1;
  add("RLE8 with 24 bits", parts);
  parts = good;
  parts.Compression = 4;
  add("embedded JPEG", parts);
  parts = good;
  parts.HeaderSize = 13;
  add("header size 13", parts);
  parts = good;
  parts.BitCount = 8;
  parts.ColorsUsed = 1000000;
  add("palette beyond the file", parts);
  parts = good;
  parts.Width = 60000;
  parts.Height = 60000;
  parts.BitCount = 8;
  parts.Compression = 1;
  parts.PixelData = {0, 1};
  add("run-length picture larger than its data", parts);
  parts = good;
  parts.Height = -2;
  parts.BitCount = 8;
  parts.Compression = 1;
  add("top-down run-length picture", parts);

  std::vector<uint8_t> offsetBeyond = BuildBMP(good);
  offsetBeyond[13] = 0x7F;
  files.emplace_back("pixel offset beyond the file", offsetBeyond);
  std::vector<uint8_t> noSignature = BuildBMP(good);
  noSignature[0] = 'X';
  files.emplace_back("no signature", noSignature);
  std::vector<uint8_t> headerCut = BuildBMP(good);
  headerCut.resize(30);
  files.emplace_back("header cut short", headerCut);
  files.emplace_back("empty file", std::vector<uint8_t>{});

  for (const auto& [what, bytes] : files) {
    EXPECT_THROW(DecodeBMP(bytes), EPictureError) << what;
  }
}

}  // namespace
}  // namespace zelk::tests
