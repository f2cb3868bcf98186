// Pictures from files: the loader picks the decoder by extension, PNG and
// JPEG files decode through their libraries, and importing into a memory
// bitmap keeps the alpha of files that have it and records the file name
// only when the import succeeds.
#include <gtest/gtest.h>

#include <cstdlib>

#include "BMPBuilder.h"
#include "DIBStoreTestSupport.h"
#include "dib/MemoryDIB.h"
#include "dib/PictureLoader.h"

#ifdef ZELK_HAVE_PNG
#include <png.h>

#include "dib/codecs/PNGDecoder.h"
#endif
#ifdef ZELK_HAVE_JPEG
#include <cstdio>
#include <jpeglib.h>

#include "dib/codecs/JPEGDecoder.h"
#endif

namespace zelk::tests {
namespace {

using TMemoryDIBPtr = std::unique_ptr<TMemoryDIB, TFreeObject>;

// 2 x 1, 32 bits: a half-transparent red and an opaque blue.
std::vector<uint8_t> AlphaBMP() {
  tests::TBMPParts parts;
  parts.Width = 2;
  parts.BitCount = 32;
  parts.PixelData = {0, 0, 255, 128, 255, 0, 0, 255};
  return tests::BuildBMP(parts);
}

std::vector<uint8_t> OpaqueBMP() {
  tests::TBMPParts parts;
  parts.Width = 2;
  parts.PixelData = {0, 0, 255, 255, 0, 0, 0, 0};
  return tests::BuildBMP(parts);
}

TEST(PictureLoader, DecodersAreFoundByExtensionInAnyCase) {
  tests::TTemporaryFolder folder;
  const TLoadedPicture picture = LoadPictureFile(folder.Write("Knob.BMP", OpaqueBMP()));
  EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));
}

TEST(PictureLoader, MissingAndUnknownFilesRaiseClearErrors) {
  tests::TTemporaryFolder folder;
  const std::string missing = folder.PathOf("missing.bmp");
  try {
    LoadPictureFile(missing);
    FAIL();
  } catch (const EPictureError& error) {
    EXPECT_EQ(error.Message(), "Cannot open picture file \"" + missing + "\".");
  }
  const std::string unknown = folder.Write("picture.xyz", OpaqueBMP());
  try {
    LoadPictureFile(unknown);
    FAIL();
  } catch (const EPictureError& error) {
    EXPECT_EQ(error.Message(), "Picture file \"" + unknown + "\" is of an unknown type.");
  }
}

TEST(PictureImport, ThirtyTwoBitFilesMakeTheBitmapMaskedAndKeepTheirAlpha) {
  tests::TTemporaryFolder folder;
  TMemoryDIBPtr dib(New<TMemoryDIB>());
  const std::string file = folder.Write("alpha.bmp", AlphaBMP());
  dib->ImportImage(file);
  EXPECT_TRUE(dib->Masked());
  EXPECT_EQ(dib->Pixel(0, 0), 0x80FF0000u);
  EXPECT_EQ(dib->Pixel(1, 0), 0xFF0000FFu);
  EXPECT_EQ(dib->ImageFilename(), file);

  const std::string opaque = folder.Write("opaque.bmp", OpaqueBMP());
  TMemoryDIBPtr plain(New<TMemoryDIB>());
  plain->ImportImage(opaque);
  EXPECT_FALSE(plain->Masked());
  EXPECT_EQ(plain->Pixel(0, 0), 0xFFFF0000u);
}

TEST(PictureImport, AFailedImportChangesNothingAndRecordsNoName) {
  tests::TTemporaryFolder folder;
  TMemoryDIBPtr dib(New<TMemoryDIB>());
  dib->ImportImage(folder.Write("first.bmp", OpaqueBMP()));
  std::vector<uint8_t> broken = OpaqueBMP();
  broken.resize(40);
  EXPECT_THROW(dib->ImportImage(folder.Write("broken.bmp", broken)), EPictureError);
  EXPECT_THROW(dib->ImportMask(folder.PathOf("missing.bmp")), EPictureError);
  EXPECT_EQ(dib->Width(), 2);
  EXPECT_EQ(dib->Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(dib->ImageFilename(), folder.PathOf("first.bmp"));
  EXPECT_EQ(dib->MaskFilename(), "");
}

TEST(PictureImport, DecodedPicturesWhosePixelsDoNotFillTheirSizeAreRefused) {
  TMemoryDIBPtr dib(New<TMemoryDIB>());
  dib->ImportPicture({2, 1, {0xFF0000FF, 0xFF00FF00}, false}, "first");
  try {
    dib->ImportPicture({3, 1, {0xFFFFFFFF}, false}, "short");
    FAIL();
  } catch (const EDIBError& error) {
    EXPECT_EQ(error.Message(), "The picture short has an invalid size.");
  }
  EXPECT_EQ(dib->Width(), 2);
  EXPECT_EQ(dib->Pixel(1, 0), 0xFF00FF00u);
}

TEST(PictureImport, MasksComeFromTheBlueBytesOfTheStretchedPicture) {
  tests::TTemporaryFolder folder;
  TMemoryDIBPtr dib(New<TMemoryDIB>());
  dib->ImportImage(folder.Write("image.bmp", OpaqueBMP()));
  const std::string mask = folder.Write("mask.bmp", OpaqueBMP());  // blue 0, then 255
  dib->ImportMask(mask);
  EXPECT_TRUE(dib->Masked());
  EXPECT_EQ(dib->Pixel(0, 0) >> 24, 0u);
  EXPECT_EQ(dib->Pixel(1, 0) >> 24, 255u);
  EXPECT_EQ(dib->MaskFilename(), mask);
}

// A mask of another size is stretched the way the platform stretches a
// picture: rows counted from the top, each target row taking the source row
// at (row x source height / target height).
TEST(PictureImport, AMaskOfAnotherSizeIsStretchedFromTheTopRow) {
  tests::TTemporaryFolder folder;
  tests::TBMPParts mask;  // 2 x 2, blue 10 20 over 30 40
  mask.Width = 2;
  mask.Height = 2;
  mask.PixelData = tests::PaddedRows({{30, 0, 0, 40, 0, 0}, {10, 0, 0, 20, 0, 0}});
  TMemoryDIBPtr dib(TAbstractSuperDIB::CreateSize<TMemoryDIB>(3, 3));
  dib->ImportMask(folder.Write("mask.bmp", tests::BuildBMP(mask)));
  const uint32_t expected[3][3] = {{10, 10, 20}, {10, 10, 20}, {30, 30, 40}};
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(dib->Pixel(x, y) >> 24, expected[y][x]) << x << ", " << y;
  }
}

#ifdef ZELK_HAVE_PNG
std::vector<uint8_t> EncodePNG(uint32_t format, int width, int height, const std::vector<uint8_t>& pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
  std::vector<uint8_t> bytes(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr));
  bytes.resize(size);
  return bytes;
}

TEST(PNGDecoder, RGBAFilesKeepTheirAlphaAndRGBFilesAreOpaque) {
  const std::vector<uint8_t> rgba = {255, 0, 0, 128, 0, 255, 0, 255, 0, 0, 255, 0, 10, 20, 30, 40};
  const TLoadedPicture withAlpha = DecodePNG(EncodePNG(PNG_FORMAT_RGBA, 2, 2, rgba));
  EXPECT_TRUE(withAlpha.hasAlpha);
  EXPECT_EQ(withAlpha.pixels, (std::vector<uint32_t>{0x80FF0000, 0xFF00FF00, 0x000000FF, 0x280A141E}));

  const std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6};
  const TLoadedPicture opaque = DecodePNG(EncodePNG(PNG_FORMAT_RGB, 2, 1, rgb));
  EXPECT_FALSE(opaque.hasAlpha);
  EXPECT_EQ(opaque.pixels, (std::vector<uint32_t>{0xFF010203, 0xFF040506}));
}

TEST(PNGDecoder, DamagedFilesAreErrors) {
  std::vector<uint8_t> bytes = EncodePNG(PNG_FORMAT_RGB, 2, 1, {1, 2, 3, 4, 5, 6});
  bytes.resize(bytes.size() / 2);
  EXPECT_THROW(DecodePNG(bytes), EPictureError);
  EXPECT_THROW(DecodePNG(std::vector<uint8_t>{1, 2, 3}), EPictureError);
}
#endif

#ifdef ZELK_HAVE_JPEG
// A flat-coloured picture through libjpeg's encoder, in memory.
std::vector<uint8_t> EncodeJPEG(int width, int height, int components, const uint8_t* color) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width * components));
  for (int x = 0; x < width; ++x) std::copy(color, color + components, row.begin() + x * components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

bool Near(uint32_t pixel, uint32_t expected) {
  for (int shift = 0; shift < 32; shift += 8) {
    if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF)) > 3) {
      return false;
    }
  }
  return true;
}

TEST(JPEGDecoder, ColourAndGreyFilesDecodeOpaque) {
  const uint8_t orange[3] = {250, 128, 20};
  const TLoadedPicture colour = DecodeJPEG(EncodeJPEG(16, 8, 3, orange));
  EXPECT_EQ(colour.width, 16);
  EXPECT_EQ(colour.height, 8);
  EXPECT_FALSE(colour.hasAlpha);
  for (uint32_t pixel : colour.pixels) EXPECT_TRUE(Near(pixel, 0xFFFA8014)) << std::hex << pixel;

  const uint8_t grey[1] = {90};
  const TLoadedPicture greyPicture = DecodeJPEG(EncodeJPEG(8, 8, 1, grey));
  for (uint32_t pixel : greyPicture.pixels) EXPECT_TRUE(Near(pixel, 0xFF5A5A5A)) << std::hex << pixel;
}

TEST(JPEGDecoder, DamagedFilesAreErrors) {
  const uint8_t white[3] = {255, 255, 255};
  std::vector<uint8_t> bytes = EncodeJPEG(8, 8, 3, white);
  bytes[0] = 0x00;  // no start-of-image marker
  EXPECT_THROW(DecodeJPEG(bytes), EPictureError);
  EXPECT_THROW(DecodeJPEG(std::vector<uint8_t>{0xFF, 0xD8}), EPictureError);
}
#endif

}  // namespace
}  // namespace zelk::tests
