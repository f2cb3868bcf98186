// The Shuffle4 RLE payload: exact bytes for the worked example, the limits
// that make Compress give up, and decoding that never leaves its buffers.
#include <gtest/gtest.h>

#include <vector>

#include "DIBStoreTestSupport.h"
#include "dib/RLEDIBCompressor.h"
#include "dib/Shuffle4RLE.h"

namespace zelk::tests {
namespace {

std::vector<uint8_t> OpaqueBlack2x2Record() { return MakeRecord(2, 2, {0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF}); }

// Compresses into a buffer with guard bytes behind the N bytes Compress may use.
struct TCompressed {
  int32_t Length = 0;
  std::vector<uint8_t> Payload;
  bool GuardIntact = true;
};

TCompressed Compress(const std::vector<uint8_t>& record) {
  constexpr uint8_t kGuard = 0xA5;
  std::vector<uint8_t> dest(record.size() + 16, kGuard);
  TRLEDIBCompressor compressor;
  TCompressed result;
  result.Length = compressor.Compress(nullptr, record.data(), dest.data(), static_cast<int32_t>(record.size()));
  for (size_t i = record.size(); i < dest.size(); ++i) result.GuardIntact &= dest[i] == kGuard;
  result.Payload.assign(dest.begin(), dest.begin() + std::max(result.Length, 0));
  return result;
}

std::vector<uint8_t> Decompress(const std::vector<uint8_t>& payload, size_t length) {
  std::vector<uint8_t> dest(length);
  TRLEDIBCompressor().Decompress(nullptr, TRLEDIBCompressor::ClassGUID(), payload.data(), dest.data(),
                                 static_cast<int32_t>(payload.size()), static_cast<int32_t>(length));
  return dest;
}

// The shuffled form groups each fourth byte; the record's size fields form
// the first group.
TEST(Shuffle4RLE, WorkedExampleShufflesAndCodesToTheDocumentedBytes) {
  const std::vector<uint8_t> record = OpaqueBlack2x2Record();
  std::vector<uint8_t> shuffled(record.size());
  shuffle4::Shuffle(record.data(), shuffled.data(), record.size());
  EXPECT_EQ(shuffled, (std::vector<uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));

  const TCompressed compressed = Compress(record);
  EXPECT_EQ(compressed.Length, 10);
  EXPECT_EQ(compressed.Payload, (std::vector<uint8_t>{1, 2, 9, 0, 1, 2, 5, 0, 4, 0xFF}));
  EXPECT_EQ(Decompress(compressed.Payload, record.size()), record);
}

// Compress gives up rather than writing more than the record's own size.
TEST(Shuffle4RLE, RecordsThatDoNotShrinkAreNotCompressed) {
  const std::vector<uint8_t> onePixel = MakeRecord(1, 1, {10, 20, 30, 255});
  const TCompressed tiny = Compress(onePixel);
  EXPECT_EQ(tiny.Length, 0);
  EXPECT_TRUE(tiny.GuardIntact);

  const std::vector<uint8_t> noise = tests::RandomBytes(4096, 7);
  const TCompressed noisy = Compress(noise);
  EXPECT_EQ(noisy.Length, 0);
  EXPECT_TRUE(noisy.GuardIntact);
}

// Runs stop at 255 bytes and at the first differing byte, also across planes.
TEST(Shuffle4RLE, RunsSplitAt255Bytes) {
  std::vector<uint8_t> bytes(600, 7);
  std::vector<uint8_t> payload(600);
  ASSERT_EQ(shuffle4::EncodeRuns(bytes.data(), bytes.size(), payload.data(), 300), 6u);
  EXPECT_EQ(std::vector<uint8_t>(payload.begin(), payload.begin() + 6), (std::vector<uint8_t>{255, 7, 255, 7, 90, 7}));

  std::vector<uint8_t> runThenOther(255, 3);
  runThenOther.push_back(4);
  ASSERT_EQ(shuffle4::EncodeRuns(runThenOther.data(), runThenOther.size(), payload.data(), 128), 4u);
  EXPECT_EQ(std::vector<uint8_t>(payload.begin(), payload.begin() + 4), (std::vector<uint8_t>{255, 3, 1, 4}));
}

// Every record of a multiple-of-4 length comes back byte for byte.
TEST(Shuffle4RLE, CompressThenDecompressRestoresRecords) {
  for (uint16_t width : {1, 2, 3, 17, 64}) {
    for (uint16_t height : {1, 5, 33}) {
      const std::vector<uint8_t> record = MakeRecord(width, height, tests::PictureLikePixels(width, height, width * height));
      const TCompressed compressed = Compress(record);
      EXPECT_TRUE(compressed.GuardIntact);
      if (compressed.Length == 0) continue;
      EXPECT_LE(compressed.Length, static_cast<int32_t>(record.size()));
      EXPECT_EQ(Decompress(compressed.Payload, record.size()), record) << width << " x " << height;
    }
  }
}

// A payload that expands to more or fewer bytes than stated is an error, and
// decoding never writes past the stated length.
TEST(Shuffle4RLE, PayloadsOfTheWrongLengthAreRefused) {
  const std::vector<uint8_t> record = OpaqueBlack2x2Record();
  const std::vector<uint8_t> payload = Compress(record).Payload;
  EXPECT_THROW(Decompress(payload, record.size() - 4), EDIBCompressError);
  EXPECT_THROW(Decompress(payload, record.size() + 4), EDIBCompressError);

  std::vector<uint8_t> guarded(8 + 16, 0xA5);
  const std::vector<uint8_t> tooLong = {255, 1};
  EXPECT_FALSE(shuffle4::DecodeRuns(tooLong.data(), tooLong.size(), guarded.data(), 8));
  for (size_t i = 8; i < guarded.size(); ++i) EXPECT_EQ(guarded[i], 0xA5);
}

// Counts of 0 (never written) expand to nothing, also into an empty record.
TEST(Shuffle4RLE, ZeroCountsAndEmptyRecordsStayInBounds) {
  const std::vector<uint8_t> zeroCounts = {0, 9, 0, 15};
  EXPECT_TRUE(shuffle4::DecodeRuns(zeroCounts.data(), zeroCounts.size(), nullptr, 0));
  const std::vector<uint8_t> oneByte = {1, 9};
  EXPECT_FALSE(shuffle4::DecodeRuns(oneByte.data(), oneByte.size(), nullptr, 0));
  EXPECT_NO_THROW(Decompress(zeroCounts, 0));
}

TEST(Shuffle4RLE, ATrailingOddPayloadByteIsIgnored) {
  const std::vector<uint8_t> record = OpaqueBlack2x2Record();
  std::vector<uint8_t> payload = Compress(record).Payload;
  payload.push_back(0x77);
  EXPECT_EQ(Decompress(payload, record.size()), record);
}

}  // namespace
}  // namespace zelk::tests
