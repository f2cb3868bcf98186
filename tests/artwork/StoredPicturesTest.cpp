// picture('path') of zelk-resc: a picture file becomes the stored block of
// its pixels, compressed with the compressor the compiled form chooses
// through its DIBCompressor setting, and raw when it chooses none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dib/DIBCompressorRegistry.h"
#include "dib/DIBData.h"
#include "dib/DIBGuid.h"
#include "dib/DIBLibrary.h"
#include "dib/LZHPayload.h"
#include "dib/PictureLoader.h"
#include "dib/RLEDIBCompressor.h"
#include "resources/TextFormCompiler.h"
#include "runtime/Stream.h"
#include "tools/artwork/PNGFile.h"
#include "tools/resc/StoredPictures.h"

namespace zelk::tests {
namespace {

using namespace resc;

class StoredPictures : public ::testing::Test {
 protected:
  void SetUp() override { InitializeDIBLibrary(); }
};

std::string CompressorNamedBy(std::string_view text) {
  TAbstractDIBCompressor* compressor = CompressorChosenBy(CompileComponentText(text));
  return compressor == nullptr ? "none" : GUIDToString(compressor->GetGUID());
}

TEST_F(StoredPictures, TheCompressorIsTheRegisteredOneTheLastSettingNames) {
  const std::string rle = kRLECompressorGUIDText;
  const std::string lzh = kLZHCompressorGUIDText;
  const auto settings = [](const std::string& guid) {
    return "object S: TDIBSettings DIBCompressor = '" + guid + "' end ";
  };
  const struct {
    std::string Text;
    std::string Expected;
  } cases[] = {
      {"object F: TForm end", "none"},
      {"object F: TForm " + settings(rle) + "end", rle},
      {"object F: TForm " + settings(lzh) + "end", lzh},
      {"object F: TForm object P: TPanel " + settings(rle) + "end end", rle},
      {"object F: TForm " + settings(rle) + settings(lzh) + "end", lzh},
      {"object F: TForm " + settings("{caba9056-7349-43a4-b010-3764fbfac230}") + "end", "none"},
      {"object F: TForm " + settings("") + "end", "none"},
  };
  for (const auto& example : cases) EXPECT_EQ(CompressorNamedBy(example.Text), example.Expected) << example.Text;
}

TLoadedPicture FlatPicture(int width, int height, uint32_t pixel) {
  TLoadedPicture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(static_cast<size_t>(width) * height, pixel);
  return picture;
}

TEST_F(StoredPictures, PicturesAreStoredCompressedWhenThatShrinksThemAndRawOtherwise) {
  TLoadedPicture picture = FlatPicture(16, 8, 0xFF102030);
  picture.pixels[0] = 0xFFA0B0C0;  // the top-left pixel, last row of the record
  const std::vector<uint8_t> file = artwork::EncodePNG(picture);
  std::vector<uint8_t> record = {16, 0, 8, 0};
  for (int row = 7; row >= 0; --row) {
    for (int column = 0; column < 16; ++column) {
      const uint32_t pixel = picture.pixels[static_cast<size_t>(row) * 16 + column];
      record.insert(record.end(), {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8),
                                   static_cast<uint8_t>(pixel >> 16), 0xFF});
    }
  }

  EXPECT_EQ(StoredPictureBlock("flat.png", file, nullptr), record);

  const std::vector<uint8_t> compressed = StoredPictureBlock("flat.png", file, FindDIBCompressor(kRLECompressorGUIDText));
  ASSERT_GT(compressed.size(), 26u);
  EXPECT_LT(compressed.size(), record.size());
  EXPECT_EQ(std::string(compressed.begin(), compressed.begin() + 6), "DIBCMP");
  TReadOnlyMemoryStream block(compressed);
  TMemoryStream decoded;
  ReadDIBData(nullptr, block, decoded);
  EXPECT_EQ(decoded.ToVector(), record);

  // A single pixel does not shrink and is stored raw even with a compressor.
  const std::vector<uint8_t> dot = artwork::EncodePNG(FlatPicture(1, 1, 0xFF010203));
  EXPECT_EQ(StoredPictureBlock("dot.png", dot, FindDIBCompressor(kRLECompressorGUIDText)),
            (std::vector<uint8_t>{1, 0, 1, 0, 3, 2, 1, 0xFF}));
}

TEST_F(StoredPictures, FilesThatAreNoPicturesAreErrors) {
  const std::vector<uint8_t> file = artwork::EncodePNG(FlatPicture(2, 2, 0xFF000000));
  try {
    StoredPictureBlock("knob.gif", file, nullptr);
    FAIL();
  } catch (const EPictureError& error) {
    EXPECT_EQ(error.Message(), "Picture file \"knob.gif\" is of an unknown type.");
  }
  const std::vector<uint8_t> damaged(file.begin(), file.begin() + 20);
  EXPECT_THROW(StoredPictureBlock("knob.png", damaged, nullptr), EPictureError);
}

}  // namespace
}  // namespace zelk::tests
