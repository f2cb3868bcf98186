// The stored block: raw or "DIBCMP" + GUID + length + payload, the registry
// that finds a decompressor by GUID whatever compressor is current, and
// blocks that cannot be decoded.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "DIBStoreTestSupport.h"
#include "dib/DIBCompressorRegistry.h"
#include "dib/DIBData.h"
#include "dib/LZHDIBCompressor.h"
#include "dib/LZHPayload.h"
#include "dib/RLEDIBCompressor.h"
#include "runtime/ClassBuilder.h"

namespace zelk::tests {
namespace {

constexpr char kRLEGUID[] = "{CABA9056-7349-43A4-B010-3764FBFAC230}";
constexpr char kLZHGUID[] = "{BC0C10FC-E045-41E7-A37C-B86AF21320B8}";

std::vector<uint8_t> Write(const std::vector<uint8_t>& record) {
  TMemoryStream source{std::span<const uint8_t>(record)};
  TMemoryStream block;
  WriteDIBData(nullptr, source, block);
  return block.ToVector();
}

std::vector<uint8_t> Read(const std::vector<uint8_t>& block) {
  TMemoryStream source{std::span<const uint8_t>(block)};
  TMemoryStream record;
  ReadDIBData(nullptr, source, record);
  return record.ToVector();
}

std::vector<uint8_t> CompressedHeader(const std::array<uint8_t, 16>& guid, int32_t length) {
  std::vector<uint8_t> block(kDIBDataMagic, kDIBDataMagic + 6);
  block.insert(block.end(), guid.begin(), guid.end());
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<uint8_t>(static_cast<uint32_t>(length) >> (8 * i)));
  return block;
}

std::vector<uint8_t> KnobLikeRecord() { return MakeRecord(64, 48, tests::PictureLikePixels(64, 48, 3)); }

class DIBData : public ::testing::Test {
 protected:
  void SetUp() override { SetCurrentDIBCompressor(nullptr); }
  void TearDown() override { SetCurrentDIBCompressor(nullptr); }
};

TEST_F(DIBData, StartRegistersRLEFirstAndLZHSecond) {
  ASSERT_GE(DIBCompressorCount(), 2);
  EXPECT_EQ(GUIDToString(DIBCompressorAt(0)->GetGUID()), kRLEGUID);
  EXPECT_EQ(GUIDToString(DIBCompressorAt(1)->GetGUID()), kLZHGUID);
  EXPECT_EQ(CurrentDIBCompressor(), nullptr);
}

// Without a current compressor nothing marks a block: it is the record.
TEST_F(DIBData, WithoutACurrentCompressorBlocksAreRawRecords) {
  const std::vector<uint8_t> record = KnobLikeRecord();
  const std::vector<uint8_t> block = Write(record);
  EXPECT_EQ(block, record);
  EXPECT_EQ(Read(block), record);
}

// Short blocks are raw without a look at their bytes, even ones that begin
// with the magic.
TEST_F(DIBData, BlocksShorterThanTheHeaderAreRaw) {
  const std::vector<uint8_t> twoByTwo = MakeRecord(2, 2, std::vector<uint8_t>(16, 0x11));
  EXPECT_EQ(Read(twoByTwo), twoByTwo);
  std::vector<uint8_t> magicOnly(kDIBDataMagic, kDIBDataMagic + 6);
  magicOnly.resize(25, 0);
  EXPECT_EQ(Read(magicOnly), magicOnly);
}

TEST_F(DIBData, CompressedBlocksCarryMagicGUIDAndLength) {
  const std::vector<uint8_t> record = KnobLikeRecord();
  SetCurrentDIBCompressor(FindDIBCompressor(kRLEGUID));
  const std::vector<uint8_t> block = Write(record);
  ASSERT_GT(block.size(), 26u);
  EXPECT_EQ(std::string(block.begin(), block.begin() + 6), "DIBCMP");
  EXPECT_EQ(std::vector<uint8_t>(block.begin() + 6, block.begin() + 22),
            (std::vector<uint8_t>{0x56, 0x90, 0xBA, 0xCA, 0x49, 0x73, 0xA4, 0x43, 0xB0, 0x10, 0x37, 0x64, 0xFB, 0xFA,
                                  0xC2, 0x30}));
  int32_t length = 0;
  std::memcpy(&length, block.data() + 22, 4);
  EXPECT_EQ(length, static_cast<int32_t>(record.size()));
  EXPECT_EQ(Read(block), record);
}

// The 2 x 2 example is stored compressed at exactly its limit; a 1 x 1
// picture cannot shrink and is stored raw.
TEST_F(DIBData, TheRLELimitDecidesBetweenCompressedAndRaw) {
  SetCurrentDIBCompressor(FindDIBCompressor(kRLEGUID));
  const std::vector<uint8_t> twoByTwo =
      MakeRecord(2, 2, {0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF});
  EXPECT_EQ(Write(twoByTwo).size(), 26u + 10u);
  const std::vector<uint8_t> onePixel = MakeRecord(1, 1, {1, 2, 3, 4});
  EXPECT_EQ(Write(onePixel), onePixel);
}

// Reading looks the compressor up by the block's GUID, never by the current one.
TEST_F(DIBData, BlocksReadBackWhateverCompressorIsCurrent) {
  const std::vector<uint8_t> record = KnobLikeRecord();
  SetCurrentDIBCompressor(FindDIBCompressor(kLZHGUID));
  const std::vector<uint8_t> block = Write(record);
  ASSERT_NE(block, record);
  SetCurrentDIBCompressor(FindDIBCompressor(kRLEGUID));
  EXPECT_EQ(Read(block), record);
  SetCurrentDIBCompressor(nullptr);
  EXPECT_EQ(Read(block), record);
}

TEST_F(DIBData, AnUnknownGUIDRaisesTheExactMessageAndWritesNothing) {
  std::vector<uint8_t> block = CompressedHeader({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, 8);
  block.insert(block.end(), {8, 0});
  TMemoryStream source{std::span<const uint8_t>(block)};
  TMemoryStream record;
  try {
    ReadDIBData(nullptr, source, record);
    FAIL() << "no error";
  } catch (const EDIBCompressError& error) {
    EXPECT_STREQ(error.what(), "Could not find a suitable decompressor.");
  }
  EXPECT_EQ(record.Size(), 0);
}

// Hostile or damaged headers are refused before anything is allocated or
// written: a negative length, a length the payload cannot produce, a
// payload that expands to the wrong size.
TEST_F(DIBData, UndecodableBlocksRaiseAndWriteNothing) {
  const auto rleGUID = GUIDToBytes(TRLEDIBCompressor::ClassGUID());
  std::vector<std::vector<uint8_t>> blocks;
  blocks.push_back(CompressedHeader(rleGUID, -4));
  blocks.back().insert(blocks.back().end(), {4, 0});
  blocks.push_back(CompressedHeader(rleGUID, 0x7FFFFFFF));  // 2 GB from two bytes
  blocks.back().insert(blocks.back().end(), {255, 0});
  blocks.push_back(CompressedHeader(rleGUID, 20));  // expands to 8 bytes only
  blocks.back().insert(blocks.back().end(), {8, 0});
  for (const auto& block : blocks) {
    TMemoryStream source{std::span<const uint8_t>(block)};
    TMemoryStream record;
    EXPECT_THROW(ReadDIBData(nullptr, source, record), EDIBCompressError);
    EXPECT_EQ(record.Size(), 0);
  }
}

// A block cut short anywhere reads as an error or as a shorter raw record,
// never as the original picture and never out of bounds.
TEST_F(DIBData, TruncatedCompressedBlocksNeverDecode) {
  const std::vector<uint8_t> record = KnobLikeRecord();
  SetCurrentDIBCompressor(FindDIBCompressor(kRLEGUID));
  const std::vector<uint8_t> block = Write(record);
  for (size_t length = 26; length < block.size(); length += 7) {
    const std::vector<uint8_t> cut(block.begin(), block.begin() + length);
    EXPECT_THROW(Read(cut), EDIBCompressError) << length;
  }
}

// Compressor lookup by text is exact: canonical form, case-sensitive, and
// the most recently registered compressor wins.
class TSecondRLECompressor : public TRLEDIBCompressor {
  ZELK_CLASS(TSecondRLECompressor, TRLEDIBCompressor)
};
const TClassInfo& TSecondRLECompressor::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSecondRLECompressor>("TSecondRLECompressor").Build();
  return info;
}

TEST_F(DIBData, FindDIBCompressorComparesTheCanonicalTextExactly) {
  EXPECT_NE(FindDIBCompressor(kRLEGUID), nullptr);
  EXPECT_EQ(FindDIBCompressor("{caba9056-7349-43a4-b010-3764fbfac230}"), nullptr);
  EXPECT_EQ(FindDIBCompressor("CABA9056-7349-43A4-B010-3764FBFAC230"), nullptr);

  auto* second = new TSecondRLECompressor;
  RegisterDIBCompressor(second);
  const int count = DIBCompressorCount();
  RegisterDIBCompressor(second);  // refused: it would be freed twice
  EXPECT_EQ(DIBCompressorCount(), count);
  EXPECT_EQ(FindDIBCompressor(kRLEGUID), second);
  EXPECT_EQ(FindDIBDecompressor(TRLEDIBCompressor::ClassGUID()), second);
  SetCurrentDIBCompressor(second);
  UnregisterDIBCompressor(second);
  EXPECT_EQ(CurrentDIBCompressor(), nullptr);
  EXPECT_NE(FindDIBCompressor(kRLEGUID), nullptr);
}

TEST_F(DIBData, TheCompressorScopePutsThePreviousOneBackAlsoOnErrors) {
  TAbstractDIBCompressor* rle = FindDIBCompressor(kRLEGUID);
  SetCurrentDIBCompressor(rle);
  try {
    TCurrentDIBCompressorScope raw(nullptr);
    EXPECT_EQ(CurrentDIBCompressor(), nullptr);
    throw std::runtime_error("template write failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(CurrentDIBCompressor(), rle);
}

TEST(DIBGuid, TextAndBinaryFormsRoundTrip) {
  const TGUID guid = *GUIDFromString("{BC0C10FC-E045-41E7-A37C-B86AF21320B8}");
  EXPECT_EQ(guid.Data1, 0xBC0C10FCu);
  EXPECT_EQ(guid.Data2, 0xE045u);
  EXPECT_EQ(guid.Data3, 0x41E7u);
  EXPECT_EQ(GUIDToBytes(guid), kLZHCompressorGUIDBytes);
  EXPECT_EQ(GUIDFromBytes(kLZHCompressorGUIDBytes), guid);
  EXPECT_EQ(GUIDToString(guid), "{BC0C10FC-E045-41E7-A37C-B86AF21320B8}");
  EXPECT_EQ(GUIDFromString("{bc0c10fc-e045-41e7-a37c-b86af21320b8}"), guid);
  EXPECT_FALSE(GUIDFromString("{BC0C10FC-E045-41E7-A37C-B86AF21320B}"));
  EXPECT_FALSE(GUIDFromString("{BC0C10FC-E045-41E7-A37CXB86AF21320B8}"));
}

}  // namespace
}  // namespace zelk::tests
