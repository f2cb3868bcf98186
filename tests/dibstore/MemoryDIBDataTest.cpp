// A memory bitmap's extra streamed properties: "Data" carries its record in
// the stored form, the file names travel as strings, and a block that cannot
// be decoded leaves the bitmap exactly as it was.
#include <gtest/gtest.h>

#include <cstring>

#include "DIBStoreTestSupport.h"
#include "dib/DIBCompressorRegistry.h"
#include "dib/DIBData.h"
#include "dib/MemoryDIB.h"
#include "dib/RLEDIBCompressor.h"
#include "runtime/ClassInfo.h"
#include "runtime/ClassRegistry.h"

namespace zelk::tests {
namespace {

using TMemoryDIBPtr = std::unique_ptr<TMemoryDIB, TFreeObject>;

TMemoryDIBPtr MakePicture(uint16_t width, uint16_t height, uint32_t seed) {
  TMemoryDIBPtr dib(New<TMemoryDIB>());
  dib->SetSize(width, height);
  const std::vector<uint8_t> pixels = tests::PictureLikePixels(width, height, seed);
  std::memcpy(dib->Bits(), pixels.data(), pixels.size());
  return dib;
}

std::vector<uint8_t> PixelsOf(const TAbstractSuperDIB& dib) {
  return {dib.Bits(), dib.Bits() + dib.PixelByteCount()};
}

tests::TRecordingFiler HooksOf(TPersistent& object) {
  tests::TRecordingFiler filer;
  object.DefineProperties(filer);
  return filer;
}

std::vector<uint8_t> WriteDataOf(TMemoryDIB& dib) {
  tests::TRecordingFiler filer = HooksOf(dib);
  TMemoryStream stream;
  filer.Hooks.at("Data").WriteBinary(stream);
  return stream.ToVector();
}

void ReadDataInto(TMemoryDIB& dib, const std::vector<uint8_t>& block) {
  tests::TRecordingFiler filer = HooksOf(dib);
  TMemoryStream stream{std::span<const uint8_t>(block)};
  filer.Hooks.at("Data").ReadBinary(stream);
}

class MemoryDIBData : public ::testing::Test {
 protected:
  void SetUp() override { SetCurrentDIBCompressor(nullptr); }
  void TearDown() override { SetCurrentDIBCompressor(nullptr); }
};

// Streams name the two published bitmap classes; the library's start
// registers them.
TEST_F(MemoryDIBData, TheBitmapClassesCanBeCreatedByName) {
  const TClassInfo* memoryClass = GetClass("TMemoryDIB");
  ASSERT_NE(memoryClass, nullptr);
  ASSERT_NE(GetClass("TWinDIB"), nullptr);
  std::unique_ptr<TObject, TFreeObject> created(memoryClass->Create(nullptr));
  EXPECT_TRUE(created->Is<TMemoryDIB>());
}

TEST_F(MemoryDIBData, DataThenTheTwoFileNamesAreDefinedInThisOrder) {
  TMemoryDIBPtr dib = MakePicture(3, 2, 1);
  const tests::TRecordingFiler filer = HooksOf(*dib);
  EXPECT_EQ(filer.Names, (std::vector<std::string>{"Data", "ImageFilename", "MaskFilename"}));
  EXPECT_TRUE(filer.Hooks.at("Data").Binary);
  EXPECT_TRUE(filer.Hooks.at("Data").HasData);
  EXPECT_FALSE(filer.Hooks.at("ImageFilename").HasData);

  TMemoryDIBPtr empty(New<TMemoryDIB>());
  EXPECT_FALSE(HooksOf(*empty).Hooks.at("Data").HasData);
}

TEST_F(MemoryDIBData, AKnobSizedPictureWritesItsRecordRaw) {
  TMemoryDIBPtr dib = MakePicture(195, 222, 2);
  const std::vector<uint8_t> block = WriteDataOf(*dib);
  ASSERT_EQ(block.size(), 173164u);
  EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 4), (std::vector<uint8_t>{195, 0, 222, 0}));
  EXPECT_EQ(std::vector<uint8_t>(block.begin() + 4, block.end()), PixelsOf(*dib));
}

// The pixels come back bit for bit, raw and compressed, and the stored size
// replaces whatever size the bitmap had.
TEST_F(MemoryDIBData, PicturesRoundTripRawAndCompressed) {
  TMemoryDIBPtr source = MakePicture(195, 222, 3);
  for (TAbstractDIBCompressor* compressor : {static_cast<TAbstractDIBCompressor*>(nullptr),
                                             FindDIBCompressor("{CABA9056-7349-43A4-B010-3764FBFAC230}")}) {
    SetCurrentDIBCompressor(compressor);
    const std::vector<uint8_t> block = WriteDataOf(*source);
    TMemoryDIBPtr target(New<TMemoryDIB>());
    target->SetSize(10, 10);
    tests::TChangeCounter changes;
    target->OnChange = changes.Event();
    ReadDataInto(*target, block);
    EXPECT_EQ(target->Width(), 195);
    EXPECT_EQ(target->Height(), 222);
    EXPECT_EQ(PixelsOf(*target), PixelsOf(*source));
    EXPECT_EQ(changes.Count, 1);
  }
}

// Nothing of a bad block reaches the bitmap: size, pixels and change count
// stay as they were.
TEST_F(MemoryDIBData, UndecodableBlocksLeaveTheBitmapUnchanged) {
  TMemoryDIBPtr source = MakePicture(40, 30, 4);
  SetCurrentDIBCompressor(FindDIBCompressor("{CABA9056-7349-43A4-B010-3764FBFAC230}"));
  const std::vector<uint8_t> compressed = WriteDataOf(*source);
  SetCurrentDIBCompressor(nullptr);
  const std::vector<uint8_t> raw = WriteDataOf(*source);

  std::vector<std::vector<uint8_t>> bad;
  bad.emplace_back(compressed.begin(), compressed.end() - 3);  // payload cut short
  bad.emplace_back(raw.begin(), raw.end() - 1);                // raw record one byte short
  bad.push_back(raw);
  bad.back().push_back(0);  // one byte too many
  bad.push_back(tests::MakeRecord(0, 5, {}));  // no picture
  std::vector<uint8_t> unknown = compressed;
  unknown[6] ^= 0xFF;  // a GUID nobody registered
  bad.push_back(unknown);

  for (const auto& block : bad) {
    TMemoryDIBPtr target = MakePicture(7, 9, 5);
    const std::vector<uint8_t> before = PixelsOf(*target);
    tests::TChangeCounter changes;
    target->OnChange = changes.Event();
    EXPECT_THROW(ReadDataInto(*target, block), Exception);
    EXPECT_EQ(target->Width(), 7);
    EXPECT_EQ(target->Height(), 9);
    EXPECT_EQ(PixelsOf(*target), before);
    EXPECT_EQ(changes.Count, 0);
  }
}

// A picture kept outside the stream writes an empty value, which reads back
// as "no change".
TEST_F(MemoryDIBData, StoreDataFalseWritesAnEmptyValueThatReadsAsNoChange) {
  TMemoryDIBPtr dib = MakePicture(5, 4, 6);
  dib->SetStoreData(false);
  EXPECT_TRUE(WriteDataOf(*dib).empty());
  const std::vector<uint8_t> before = PixelsOf(*dib);
  ReadDataInto(*dib, {});
  EXPECT_EQ(dib->Width(), 5);
  EXPECT_EQ(PixelsOf(*dib), before);
}

TEST_F(MemoryDIBData, FileNamesAreWrittenOnlyWhenSetAndTravelWithAssign) {
  TMemoryDIBPtr dib = MakePicture(2, 2, 7);
  tests::TRecordingFiler filer = HooksOf(*dib);
  tests::TStringValueReader reader("knob.bmp");
  filer.Hooks.at("ImageFilename").ReadValue(reader);
  EXPECT_EQ(dib->ImageFilename(), "knob.bmp");

  filer = HooksOf(*dib);
  EXPECT_TRUE(filer.Hooks.at("ImageFilename").HasData);
  EXPECT_FALSE(filer.Hooks.at("MaskFilename").HasData);
  tests::TCapturingValueWriter writer;
  filer.Hooks.at("ImageFilename").WriteValue(writer);
  EXPECT_EQ(writer.Written, std::vector<std::string>{"knob.bmp"});

  dib->SetMaskFilename("mask.bmp");
  TMemoryDIBPtr copy(New<TMemoryDIB>());
  copy->Assign(dib.get());
  EXPECT_EQ(copy->ImageFilename(), "knob.bmp");
  EXPECT_EQ(copy->MaskFilename(), "mask.bmp");
  EXPECT_EQ(PixelsOf(*copy), PixelsOf(*dib));
}

}  // namespace
}  // namespace zelk::tests
