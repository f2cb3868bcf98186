// Compression followed by decompression must restore every input exactly,
// through the block operations and through the stream-bound coder.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "dib/LZHCoder.h"
#include "dib/LZHPayload.h"
#include "tests/lzh/LZHTestData.h"

namespace zelk::tests {
namespace {

// Compresses through the block operation and, when it compressed, checks
// that the payload restores the data. Answers the payload length.
int32_t ExpectBlockRoundTrip(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> payload;
  const int32_t length = LZHCompress(data.data(), static_cast<int32_t>(data.size()), payload);
  EXPECT_LE(length, static_cast<int32_t>(data.size()));
  EXPECT_EQ(static_cast<size_t>(length), payload.size());
  if (length > 0) {
    std::vector<uint8_t> restored(data.size(), 0xCD);
    LZHDecompress(payload, restored.data(), static_cast<int32_t>(restored.size()));
    EXPECT_EQ(restored, data);
  }
  return length;
}

// Inputs of 60 bytes or fewer are coded from the first window fill alone;
// the window beyond them holds bytes that are no part of the input.
TEST(LZHRoundTripTest, EveryShortInputRestoresThroughTheStream) {
  for (size_t size = 0; size <= 61; ++size) {
    for (uint32_t seed : {1u, 2u}) {
      const auto data = tests::RandomBytes(size, seed + static_cast<uint32_t>(size), seed == 1 ? 3 : 256);
      const auto coded = CompressWithStream(data, /*liftLimit=*/true);
      ASSERT_GE(coded.size(), 4u);
      EXPECT_EQ(DecompressWithStream(coded), data) << size;
    }
  }
  // Spaces are what the window starts with: matches reach into the prefill.
  const std::vector<uint8_t> spaces(40, ' ');
  EXPECT_EQ(DecompressWithStream(CompressWithStream(spaces, true)), spaces);
}

TEST(LZHRoundTripTest, RunOfEqualBytesCodesAsOneLiteralAndLongMatches) {
  // One literal, 16 matches of 60 and one of 39, all one byte back: about
  // 9 + 17 x 17 bits.
  const std::vector<uint8_t> run(1000, 0x5A);
  const int32_t length = ExpectBlockRoundTrip(run);
  EXPECT_GT(length, 0);
  EXPECT_LE(length, 4 + 40);
}

// The densest data there are (one symbol, longest matches) stay within the
// bound a reader uses to refuse absurd lengths.
TEST(LZHRoundTripTest, ZerosStayWithinTheExpansionBound) {
  const std::vector<uint8_t> zeros(1 << 20, 0);
  const int32_t length = ExpectBlockRoundTrip(zeros);
  ASSERT_GT(length, 0);
  EXPECT_LE(static_cast<int64_t>(zeros.size()), LZHMaxExpandedSize(length));
  EXPECT_GT(static_cast<int64_t>(zeros.size()) * 2, LZHMaxExpandedSize(length));
}

// Data that do not shrink are left to be stored raw, never answered with a
// payload longer than the input.
TEST(LZHRoundTripTest, IncompressibleDataAreNotCompressed) {
  for (size_t size : {1u, 8u, 100u, 20000u}) {
    const auto data = tests::RandomBytes(size, 7);
    std::vector<uint8_t> payload{1, 2, 3};
    EXPECT_EQ(LZHCompress(data.data(), static_cast<int32_t>(size), payload), 0) << size;
    EXPECT_TRUE(payload.empty());
  }
  const auto data = tests::RandomBytes(5000, 8);
  try {
    CompressWithStream(data);
    FAIL() << "expected the size check to fire";
  } catch (const ElzhException& error) {
    EXPECT_STREQ(error.what(), "Compressed file is larger than the original.");
  }
}

TEST(LZHRoundTripTest, EmptyInputCodesToTheHeaderAlone) {
  EXPECT_EQ(CompressWithStream({}), (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_TRUE(DecompressWithStream({0, 0, 0, 0}).empty());
  // Trailing bytes after a zero length are never read as symbols.
  EXPECT_TRUE(DecompressWithStream({0, 0, 0, 0, 0xFF, 0x12}).empty());
  std::vector<uint8_t> payload;
  EXPECT_EQ(LZHCompress(nullptr, 0, payload), 0);
  LZHDecompress(std::vector<uint8_t>{0, 0, 0, 0}, nullptr, 0);
}

// Past 32,454 symbols the root weight reaches 0x8000 and both sides rebuild
// their tree; they stay in step only if both rebuild identically.
TEST(LZHRoundTripTest, DataPastSeveralTreeRebuildsRestore) {
  // Few distinct bytes, few repeats: nearly one literal per byte, so 150 KB
  // cross the rebuild point four times.
  const auto data = tests::RandomBytes(150000, 11, 12);
  EXPECT_GT(ExpectBlockRoundTrip(data), 0);
}

TEST(LZHRoundTripTest, PictureRecordsRestore) {
  for (auto [width, height] : {std::pair{195, 222}, std::pair{64, 3}, std::pair{1, 1}}) {
    const auto record = tests::PictureRecord(width, height);
    const int32_t length = ExpectBlockRoundTrip(record);
    EXPECT_EQ(length > 0, width > 1) << width;
  }
}

TEST(LZHRoundTripTest, MixedDataRestoreThroughBothInterfaces) {
  // Random stretches alternate with copies of earlier stretches at every
  // distance the window allows, so all position codes are used.
  auto data = tests::RandomBytes(2000, 21, 256);
  const auto pool = tests::RandomBytes(60000, 22, 256);
  std::mt19937 generator(23);
  while (data.size() < 60000) {
    const size_t distance = 1 + generator() % std::min<size_t>(4095, data.size());
    const size_t length = 1 + generator() % 70;
    for (size_t index = 0; index < length; ++index) data.push_back(data[data.size() - distance]);
    data.push_back(pool[data.size() % pool.size()]);
  }
  EXPECT_GT(ExpectBlockRoundTrip(data), 0);
  EXPECT_EQ(DecompressWithStream(CompressWithStream(data)), data);
}

}  // namespace
}  // namespace zelk::tests
