// The paths that go through the platform: region building in batches,
// 8-bit rendering through a lookup palette, picture import through the
// loader, and the stored pixels.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBRenderPalette.h"
#include "dib/PictureSourceHook.h"
#include "platform/Backend.h"
#include "platform/Region.h"
#include "platform/SystemError.h"
#include "platform/software/SoftwareRegion.h"
#include "platform/software/SoftwareSurface8.h"
#include "runtime/Stream.h"
#include "tests/dib/TestDIB.h"

namespace zelk::tests {
namespace {

// Records every batch the engine hands to the platform.
class TRecordingRegionFactory : public platform::TRegionFactory {
 public:
  std::unique_ptr<platform::TRegion> CreateFromData(const platform::TRegionDataHeader& header,
                                                    std::span<const platform::TRegionRect> rects) override {
    batchSizes.push_back(header.Count);
    EXPECT_EQ(header.Size, 32u);
    EXPECT_EQ(header.Type, platform::kRegionDataRectangles);
    return software.CreateFromData(header, rects);
  }
  std::vector<uint32_t> batchSizes;
  platform::TSoftwareRegionFactory software;
};

class RegionBatches : public ::testing::Test {
 protected:
  void SetUp() override { services->Regions = &factory; }
  TRecordingRegionFactory factory;
  platform::TBackendScope services;
};

TEST_F(RegionBatches, FullyTransparentPictureHasNoRegion) {
  TTestDIBPtr dib = MakeFilledDIB(20, 10, 0x00FFFFFFu);
  EXPECT_EQ(dib->AlphaRegion(0), nullptr);
  EXPECT_TRUE(factory.batchSizes.empty());
}

// 500 single inside pixels in one row make two batches, 400 and 100.
TEST_F(RegionBatches, FiveHundredRunsMakeTwoBatches) {
  TTestDIBPtr dib = MakeFilledDIB(1000, 2, 0);
  for (int32_t x = 0; x < 1000; x += 2) dib->SetPixel(x, 1, 0xFF000000u);
  auto region = dib->AlphaRegion(128);
  ASSERT_NE(region, nullptr);
  EXPECT_EQ(factory.batchSizes, (std::vector<uint32_t>{400, 100}));
  EXPECT_TRUE(region->Contains(998, 1));
  EXPECT_FALSE(region->Contains(999, 1));
  EXPECT_FALSE(region->Contains(0, 0));
  EXPECT_EQ(region->Rectangles().size(), 500u);
}

// Runs that reach the right edge end there; a threshold is exclusive.
TEST_F(RegionBatches, RunsAndThreshold) {
  TTestDIBPtr dib = MakeFilledDIB(4, 1, 0x80000000u);
  dib->SetPixel(0, 0, 0x7F000000u);
  auto region = dib->AlphaRegion(0x7F);
  ASSERT_NE(region, nullptr);
  EXPECT_EQ(region->Rectangles(), (std::vector<platform::TRegionRect>{{1, 0, 4, 1}}));
}

TEST_F(RegionBatches, ColorRegionLeavesOutTheColour) {
  TTestDIBPtr dib = MakeFilledDIB(3, 2, 0xAA0000FFu);  // blue, any alpha
  dib->SetPixel(1, 1, 0x00FF0000u);                    // red
  auto region = dib->ColorRegion(0x00FF0000);          // TColor blue
  ASSERT_NE(region, nullptr);
  EXPECT_EQ(region->Rectangles(), (std::vector<platform::TRegionRect>{{1, 1, 2, 2}}));
}

// A palette whose lookup maps every colour to index (R >> 6) and whose
// colours are distinct greys.
class TTestPalette : public TRenderPalette {
 public:
  TTestPalette() : lookup_(kLookupTableSize) {
    for (size_t index = 0; index < kLookupTableSize; ++index) lookup_[index] = static_cast<uint8_t>(index / 4096 / 16);
    for (size_t index = 0; index < colors_.size(); ++index) {
      const auto grey = static_cast<uint8_t>(index);
      colors_[index] = {grey, grey, grey, 0};
    }
  }
  bool HasLookupTable() const override { return hasTable; }
  std::span<const uint8_t> LookupTable() const override { return lookup_; }
  std::span<const platform::TColorEntry> Colors() const override { return colors_; }
  bool hasTable = true;

 private:
  std::vector<uint8_t> lookup_;
  std::array<platform::TColorEntry, 256> colors_;
};

std::array<platform::TColorEntry, 256> GreyPalette() {
  std::array<platform::TColorEntry, 256> palette;
  for (size_t index = 0; index < palette.size(); ++index) {
    const auto grey = static_cast<uint8_t>(index);
    palette[index] = {grey, grey, grey, 0};
  }
  return palette;
}

TEST(Render8Bit, RefusesPalettesWithoutTableAndDeepSurfaces) {
  TTestDIBPtr dib = MakeDIB(2, 2);
  TTestPalette palette;
  platform::TSoftwareSurface8 deep(4, 4, GreyPalette(), 32);
  try {
    dib->Render8Bit(deep, 0, 0, 2, 2, 0, 0, palette);
    FAIL();
  } catch (const EDIBError& error) {
    EXPECT_STREQ(error.what(), "Render8Bit can only be used to blit to an 8 bit DC");
  }
  try {  // the software backend has no 8-bit device contexts
    dib->Render8Bit(platform::TSurfaceHandle{1}, 0, 0, 2, 2, 0, 0, palette);
    FAIL();
  } catch (const EDIBError& error) {
    EXPECT_STREQ(error.what(), "Render8Bit can only be used to blit to an 8 bit DC");
  }
  palette.hasTable = false;
  platform::TSoftwareSurface8 surface(4, 4, GreyPalette());
  try {
    dib->Render8Bit(surface, 0, 0, 2, 2, 0, 0, palette);
    FAIL();
  } catch (const EDIBError& error) {
    EXPECT_STREQ(error.what(), "Render8Bit can only be used with a palette containing a lookup table");
  }
}

// Each source pixel goes through the table to its place; negative positions
// only move the picture, and the surface clips it.
TEST(Render8Bit, MapsThroughTheTableAndClipsAtTheSurface) {
  TTestDIBPtr dib = MakeDIB(3, 2);
  for (int32_t x = 0; x < 3; ++x) {
    dib->SetPixel(x, 0, TPixel(64 * x) << 16);       // red 0, 64, 128
    dib->SetPixel(x, 1, TPixel(64 * x + 64) << 16);  // red 64, 128, 192
  }
  TTestPalette palette;
  platform::TSoftwareSurface8 surface(4, 3, GreyPalette());
  dib->Render8Bit(surface, 1, 1, 10, 10, 0, 0, palette);
  EXPECT_EQ(surface.IndexAt(1, 1), 0);
  EXPECT_EQ(surface.IndexAt(3, 1), 2);
  EXPECT_EQ(surface.IndexAt(3, 2), 3);
  platform::TSoftwareSurface8 shifted(4, 3, GreyPalette());
  dib->Render8Bit(shifted, -1, -1, 3, 2, 1, 0, palette);
  EXPECT_EQ(shifted.IndexAt(0, 0), 3);  // source (2, 1)
  EXPECT_EQ(shifted.IndexAt(1, 0), 0);
}

TEST(Render8Bit, RefusedSectionRaisesWindowsError) {
  TTestDIBPtr dib = MakeDIB(2, 2);
  TTestPalette palette;
  class TRefusingSurface : public platform::TSurface8 {
   public:
    int BitsPerPixel() const override { return 8; }
    std::unique_ptr<platform::TSection8> CreateSection(int32_t, int32_t,
                                                       std::span<const platform::TColorEntry, 256>) override {
      platform::SystemErrors().SetLastErrorCode(12);
      return nullptr;
    }
    void SetBits(int32_t, int32_t, const platform::TSection8&) override { ADD_FAILURE(); }
  } surface;
  try {
    dib->Render8Bit(surface, 0, 0, 2, 2, 0, 0, palette);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Windows error (12) ", 0), 0u) << error.what();
  }
}

// A fake picture loader: "rgb.bmp" is 2 x 1 opaque-less, "alpha.png" is
// 1 x 2 with alpha, "mask.bmp" a 1 x 1 picture whose blue is 77.
TLoadedPicture FakeLoader(const std::string& fileName) {
  if (fileName == "rgb.bmp") return {2, 1, {0x00112233u, 0x00445566u}, false};
  if (fileName == "alpha.png") return {1, 2, {0x80010203u, 0x40040506u}, true};
  if (fileName == "mask.bmp") return {1, 1, {0x0000004Du}, false};
  if (fileName == "lying.bmp") return {1000, 1000, {1, 2, 3}, false};
  throw Exception("Cannot open " + fileName);
}

class PictureImport : public ::testing::Test {
 protected:
  void SetUp() override { SetPictureLoaderFunction(FakeLoader); }
  void TearDown() override { SetPictureLoaderFunction(nullptr); }
};

TEST_F(PictureImport, PlainPicturesBecomeOpaque) {
  TTestDIBPtr dib(New<TTestDIB>());
  dib->ImportImage("rgb.bmp");
  EXPECT_EQ(PixelsOf(*dib), (std::vector<TPixel>{0xFF112233u, 0xFF445566u}));
  EXPECT_FALSE(dib->Masked());
}

TEST_F(PictureImport, AlphaPicturesKeepAlphaAndAreMasked) {
  TTestDIBPtr dib(New<TTestDIB>());
  dib->ImportImage("alpha.png");
  EXPECT_EQ(PixelsOf(*dib), (std::vector<TPixel>{0x80010203u, 0x40040506u}));
  EXPECT_TRUE(dib->Masked());
}

TEST_F(PictureImport, MissingOrInconsistentFilesChangeNothing) {
  TTestDIBPtr dib = MakeFilledDIB(3, 3, 0x11111111u);
  EXPECT_THROW(dib->ImportImage("missing.bmp"), Exception);
  EXPECT_THROW(dib->ImportImage("lying.bmp"), EDIBError);
  EXPECT_EQ(dib->Width(), 3);
  EXPECT_EQ(PixelsOf(*dib), std::vector<TPixel>(9, 0x11111111u));
}

TEST_F(PictureImport, MaskTakesBlueAsAlpha) {
  TTestDIBPtr empty(New<TTestDIB>());
  try {
    empty->ImportMask("mask.bmp");
    FAIL();
  } catch (const EDIBError& error) {
    EXPECT_STREQ(error.what(), "You cannot import a mask until you have an image.");
  }
  TTestDIBPtr dib = MakeFilledDIB(2, 2, 0xFF0A0B0Cu);
  dib->SetTransparent(true);
  dib->ImportMask("mask.bmp");
  EXPECT_EQ(PixelsOf(*dib), std::vector<TPixel>(4, 0x4D0A0B0Cu));
  EXPECT_TRUE(dib->Masked());
  EXPECT_TRUE(dib->Transparent());
  EXPECT_EQ(dib->DrawProc().Routine, TRowRoutine::rrBlendRowAlpha);
}

// The stored pixels come back as they were, size included.
TEST(StoredPixels, WriteThenReadRestoresThePicture) {
  std::mt19937 random(23);
  TTestDIBPtr source = MakeRandomDIB(5, 3, random);
  TMemoryStream stored;
  source->WriteData(stored);
  stored.SetPosition(0);
  TTestDIBPtr copy(New<TTestDIB>());
  copy->ReadData(stored);
  EXPECT_EQ(copy->Width(), 5);
  EXPECT_EQ(PixelsOf(*copy), PixelsOf(*source));
}

}  // namespace
}  // namespace zelk::tests
