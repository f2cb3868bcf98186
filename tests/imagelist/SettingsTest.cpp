// The compressor choice is one value for the whole process: every settings
// component reads and changes the same one, an unknown choice quietly
// means "store raw", and any settings component that goes takes it along.
#include <gtest/gtest.h>

#include "ImageListTestSupport.h"
#include "dib/DIBCompressorRegistry.h"
#include "dib/LZHDIBCompressor.h"
#include "dib/RLEDIBCompressor.h"

namespace zelk::tests {
namespace {

using TSettingsPtr = std::unique_ptr<TDIBSettings, TFreeObject>;

TEST(DIBSettings, TwoComponentsShareOneValueAndEitherTakesItAlong) {
  const std::string lzh = GUIDToString(TLZHDIBCompressor::ClassGUID());
  for (bool freeFirst : {true, false}) {
    TSettingsPtr first(New<TDIBSettings>(nullptr));
    TSettingsPtr second(New<TDIBSettings>(nullptr));
    first->SetDIBCompressor(kRLECompressorGUIDText);
    EXPECT_EQ(second->DIBCompressor(), kRLECompressorGUIDText);
    second->SetDIBCompressor(lzh);
    EXPECT_EQ(first->DIBCompressor(), lzh);
    EXPECT_EQ(CurrentDIBCompressor(), FindDIBCompressor(lzh));
    (freeFirst ? first : second).reset();
    EXPECT_EQ(CurrentDIBCompressor(), nullptr);
    EXPECT_EQ((freeFirst ? second : first)->DIBCompressor(), "");
  }
}

// Only the canonical text names a compressor (upper case, with braces).
TEST(DIBSettings, AnUnknownOrNonCanonicalTextSelectsNoCompressorSilently) {
  TSettingsPtr settings(New<TDIBSettings>(nullptr));
  for (const char* text : {"{00000000-0000-0000-0000-000000000000}", "{caba9056-7349-43a4-b010-3764fbfac230}",
                           "CABA9056-7349-43A4-B010-3764FBFAC230", ""}) {
    settings->SetDIBCompressor(kRLECompressorGUIDText);
    EXPECT_NO_THROW(settings->SetDIBCompressor(text)) << text;
    EXPECT_EQ(CurrentDIBCompressor(), nullptr) << text;
    EXPECT_EQ(settings->DIBCompressor(), "") << text;
  }
}

}  // namespace
}  // namespace zelk::tests
