// The RSB format: hand-built files of both layouts load into the right
// pixels and rows, saving and loading again keeps the colour steps the
// layouts can hold, progress reaches 100, and hostile headers are refused
// before the bitmap is resized or any pixel memory is obtained.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dib/DIBRSBFormat.h"
#include "runtime/Stream.h"
#include "tests/rsb/RSBTestFiles.h"

namespace zelk::tests {
namespace {

constexpr uint32_t kUntouched = BGRA(1, 2, 3, 4);

void Load(TAbstractSuperDIB& dib, const std::vector<uint8_t>& file) {
  TDIBRSBFormat format;
  format.SetDIB(&dib);
  TReadOnlyMemoryStream stream(file);
  format.LoadFromStream(stream);
}

std::vector<uint8_t> Save(TAbstractSuperDIB& dib) {
  TDIBRSBFormat format;
  format.SetDIB(&dib);
  TMemoryStream stream;
  format.SaveToStream(stream);
  return stream.ToVector();
}

TRSBFileParts Layout4444(uint32_t width, uint32_t height, std::vector<uint16_t> pixels) {
  return {1, width, height, 4, 4, 4, 4, std::move(pixels)};
}

TRSBFileParts Layout565(uint32_t width, uint32_t height, std::vector<uint16_t> pixels) {
  return {1, width, height, 5, 6, 5, 0, std::move(pixels)};
}

// --- Reading: each channel lands in the top bits of its byte, the file's
// first row is the top of the picture, and alpha is never read back. ---

TEST(RSBLoad, FourFourFourFourLoadsMaskedWithZeroAlpha) {
  TCountingDIBPtr dib = MakeCountingDIB(1, 1, kUntouched);
  // Top row: ARGB nibbles F,1,2,3 and 0,F,0,0; bottom row: 0,0,F,0 and 8,0,0,F.
  Load(*dib, BuildRSB(Layout4444(2, 2, {0xF123, 0x0F00, 0x00F0, 0x800F})));
  ASSERT_EQ(dib->Width(), 2);
  ASSERT_EQ(dib->Height(), 2);
  EXPECT_TRUE(dib->Masked());
  EXPECT_EQ(dib->Pixel(0, 0), BGRA(0x30, 0x20, 0x10, 0));
  EXPECT_EQ(dib->Pixel(1, 0), BGRA(0, 0, 0xF0, 0));
  EXPECT_EQ(dib->Pixel(0, 1), BGRA(0, 0xF0, 0, 0));
  EXPECT_EQ(dib->Pixel(1, 1), BGRA(0xF0, 0, 0, 0));
}

TEST(RSBLoad, FiveSixFiveLoadsUnmaskedAndFullGreenIs252) {
  TCountingDIBPtr dib = MakeCountingDIB(1, 1, kUntouched);
  dib->SetMasked(true);
  Load(*dib, BuildRSB(Layout565(4, 1, {0x07E0, 0xF800, 0x001F, 0xFFFF})));
  EXPECT_FALSE(dib->Masked());
  EXPECT_EQ(dib->Pixel(0, 0), BGRA(0, 252, 0, 0));
  EXPECT_EQ(dib->Pixel(1, 0), BGRA(0, 0, 248, 0));
  EXPECT_EQ(dib->Pixel(2, 0), BGRA(248, 0, 0, 0));
  EXPECT_EQ(dib->Pixel(3, 0), BGRA(248, 252, 248, 0));
}

// Channels narrower than the 5-6-5 ones sit so low that the green and blue
// shifts turn into left shifts; all bits set must still give full channels.
TEST(RSBLoad, NarrowChannelsLowInThePixelShiftUpwards) {
  TCountingDIBPtr dib = MakeCountingDIB(1, 1, kUntouched);
  Load(*dib, BuildRSB({1, 2, 1, 3, 3, 2, 0, {0x00FF, 0x0024}}));
  EXPECT_EQ(dib->Pixel(0, 0), BGRA(0xC0, 0xE0, 0xE0, 0));
  // Blue 00, green 001, red 001.
  EXPECT_EQ(dib->Pixel(1, 0), BGRA(0x00, 0x20, 0x20, 0));
}

// --- Writing: the layout follows Masked, and a round trip keeps exactly the
// bits each layout stores. ---

TEST(RSBSave, MaskedBitmapsComeBackInFourBitSteps) {
  TCountingDIBPtr dib = MakeCountingDIB(256, 1, 0);
  for (int32_t x = 0; x < 256; ++x) {
    const auto value = static_cast<uint8_t>(x);
    dib->SetPixel(x, 0, BGRA(value, value, value, value));
  }
  dib->SetMasked(true);
  const std::vector<uint8_t> file = Save(*dib);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 28), BuildRSB(Layout4444(256, 1, {})));
  // 0x5C in all four channels: the top nibble of each, alpha included.
  EXPECT_EQ(file[28 + 2 * 0x5C] | file[29 + 2 * 0x5C] << 8, 0x5555);

  TCountingDIBPtr loaded = MakeCountingDIB(1, 1, kUntouched);
  Load(*loaded, file);
  EXPECT_TRUE(loaded->Masked());
  for (int32_t x = 0; x < 256; ++x) {
    const auto step = static_cast<uint8_t>(x & 0xF0);
    ASSERT_EQ(loaded->Pixel(x, 0), BGRA(step, step, step, 0)) << "value " << x;
  }
}

TEST(RSBSave, PlainBitmapsUseFiveSixFiveTopRowFirst) {
  TCountingDIBPtr dib = MakeCountingDIB(2, 2, 0);
  dib->SetPixel(0, 0, BGRA(0, 0, 255, 255));  // pure red, top-left
  dib->SetPixel(1, 0, BGRA(0, 255, 0, 0));
  dib->SetPixel(0, 1, BGRA(255, 0, 0, 0));
  dib->SetPixel(1, 1, BGRA(7, 3, 7, 0));  // below every step: 0
  EXPECT_EQ(Save(*dib), BuildRSB(Layout565(2, 2, {0xF800, 0x07E0, 0x001F, 0x0000})));
}

// --- Progress: once per row, from 0 to 100, also for a single row. ---

// Loads a file and saves it again, logging every progress report.
class TProgressLog : public TObject {
 public:
  void Progress(TObject* Sender, int32_t Percent) {
    sender = Sender;
    percents.push_back(Percent);
  }
  void LoadAndSave(const std::vector<uint8_t>& file) {
    TCountingDIBPtr dib = MakeCountingDIB(1, 1, 0);
    format.SetDIB(dib.get());
    format.OnProgress = TDIBProgressEvent::Bind<&TProgressLog::Progress>(this);
    TReadOnlyMemoryStream source(file);
    format.LoadFromStream(source);
    TMemoryStream target;
    format.SaveToStream(target);
  }
  TDIBRSBFormat format;
  TObject* sender = nullptr;
  std::vector<int32_t> percents;
};

TEST(RSBProgress, EveryRowIsReportedWithTheFormatAsSender) {
  TProgressLog log;
  log.LoadAndSave(BuildRSB(Layout565(1, 3, {1, 2, 3})));
  EXPECT_EQ(log.percents, (std::vector<int32_t>{0, 50, 100, 0, 50, 100}));
  EXPECT_EQ(log.sender, &log.format);
}

// The divisor is the row count less one: a single row must not divide by 0.
TEST(RSBProgress, OneRowPictureReportsHundred) {
  TProgressLog log;
  log.LoadAndSave(BuildRSB(Layout565(3, 1, {1, 2, 3})));
  EXPECT_EQ(log.percents, (std::vector<int32_t>{100, 100}));
}

// --- Hostile or broken files: refused with a clear error, before the bitmap
// is resized or any pixel memory is obtained; never read past the end. ---

void ExpectRefused(const std::vector<uint8_t>& file, const std::string& message) {
  TCountingDIBPtr dib = MakeCountingDIB(3, 2, kUntouched);
  try {
    Load(*dib, file);
    FAIL() << "loaded although expected: " << message;
  } catch (const EDIBFormatError& error) {
    EXPECT_EQ(error.Message(), message);
  }
  EXPECT_EQ(dib->allocations, 0);
  EXPECT_EQ(dib->Width(), 3);
  EXPECT_EQ(dib->Height(), 2);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(dib->Pixel(x, y), kUntouched);
  }
}

TEST(RSBRefusal, VersionOtherThanOne) {
  TRSBFileParts parts = Layout565(1, 1, {0});
  parts.Version = 2;
  ExpectRefused(BuildRSB(parts), "Only RSB version 1 is supported.");
}

TEST(RSBRefusal, PixelDataShorterThanTheHeaderPromises) {
  std::vector<uint8_t> file = BuildRSB(Layout565(2, 2, {1, 2, 3, 4}));
  file.pop_back();
  ExpectRefused(file, kRSBTruncatedMessage);
}

TEST(RSBRefusal, AbsurdSizesNeedNoMemory) {
  // Largest legal sides but no pixel data: the stream decides.
  ExpectRefused(BuildRSB(Layout565(0xFFFF, 0xFFFF, {})), kRSBTruncatedMessage);
  // Sides a 16-bit bitmap cannot take would otherwise be cut short silently.
  ExpectRefused(BuildRSB(Layout565(0x10001, 1, {1})), kRSBTooLargeMessage);
  ExpectRefused(BuildRSB(Layout565(0xFFFFFFFF, 0xFFFFFFFF, {})), kRSBTooLargeMessage);
}

TEST(RSBRefusal, EmptyPicturesAndChannelsWiderThanAByte) {
  ExpectRefused(BuildRSB(Layout565(0, 5, {})), kRSBEmptyMessage);
  ExpectRefused(BuildRSB(Layout565(5, 0, {})), kRSBEmptyMessage);
  ExpectRefused(BuildRSB({1, 1, 1, 5, 9, 5, 0, {0}}), kRSBBitCountMessage);
  ExpectRefused(BuildRSB({1, 1, 1, 0xFFFFFFFF, 6, 5, 0, {0}}), kRSBBitCountMessage);
}

TEST(RSBRefusal, StreamShorterThanTheHeaderRaisesTheReadError) {
  std::vector<uint8_t> file = BuildRSB(Layout565(1, 1, {}));
  file.resize(27);
  TCountingDIBPtr dib = MakeCountingDIB(3, 2, kUntouched);
  EXPECT_THROW(Load(*dib, file), EReadError);
  EXPECT_EQ(dib->allocations, 0);
  EXPECT_EQ(dib->Width(), 3);
}

TEST(RSBRefusal, NoBitmapOrNoPixelsToWork) {
  TDIBRSBFormat format;
  TMemoryStream stream;
  EXPECT_THROW(format.SaveToStream(stream), EDIBFormatError);
  TReadOnlyMemoryStream file(BuildRSB(Layout565(1, 1, {0})));
  EXPECT_THROW(format.LoadFromStream(file), EDIBFormatError);

  TCountingDIBPtr empty(New<tests::TCountingDIB>());
  format.SetDIB(empty.get());
  EXPECT_THROW(format.SaveToStream(stream), EDIBFormatError);
  EXPECT_EQ(stream.Size(), 0);
}

// --- What the format tells a file dialog. ---

TEST(RSBExtensions, DotRequiredCaseIgnored) {
  const TDIBRSBFormat format;
  for (const char* extension : {".rsb", ".RSB", ".Rsb", ".rSb"}) {
    EXPECT_TRUE(format.CanLoadExtension(extension)) << extension;
    EXPECT_TRUE(format.CanSaveExtension(extension)) << extension;
  }
  for (const char* extension : {"rsb", "RSB", ".rsbx", ".rs", "", ".bmp"}) {
    EXPECT_FALSE(format.CanLoadExtension(extension)) << extension;
    EXPECT_FALSE(format.CanSaveExtension(extension)) << extension;
  }
}

TEST(RSBExtensions, FilterLinesAreAppendedForLoadAndSave) {
  const TDIBRSBFormat format;
  std::vector<std::string> filters = {"kept"};
  format.AddLoadFilters(filters);
  format.AddSaveFilters(filters);
  EXPECT_EQ(filters,
            (std::vector<std::string>{"kept", "Rogue spear bitmap (*.rsb)|*.rsb", "Rogue spear bitmap (*.rsb)|*.rsb"}));
  EXPECT_EQ(format.GetDisplayName(), "Rogue spear bitmap");
}

}  // namespace
}  // namespace zelk::tests
