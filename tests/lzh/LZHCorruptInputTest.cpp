// Damaged payloads: the decoder must answer with a clear error (or, for
// damage it cannot see, with some bytes) and never touch memory outside its
// buffers or loop without end. Run under the address sanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <vector>

#include "dib/LZHCoder.h"
#include "dib/LZHPayload.h"
#include "tests/lzh/LZHTestData.h"

namespace zelk::tests {
namespace {

std::vector<uint8_t> PicturePayload(std::vector<uint8_t>& record) {
  record = tests::PictureRecord(40, 30);
  std::vector<uint8_t> payload;
  EXPECT_GT(LZHCompress(record.data(), static_cast<int32_t>(record.size()), payload), 0);
  return payload;
}

void ExpectError(std::span<const uint8_t> payload, int32_t length, const char* message) {
  std::vector<uint8_t> dest(static_cast<size_t>(std::max(length, 0)));
  try {
    LZHDecompress(payload, dest.data(), length);
    FAIL() << "no error for " << payload.size() << " payload bytes";
  } catch (const ElzhException& error) {
    EXPECT_STREQ(error.what(), message);
  }
}

TEST(LZHCorruptInputTest, TruncatedPayloadsRaiseInsteadOfInventingBytes) {
  std::vector<uint8_t> record;
  const auto payload = PicturePayload(record);
  const auto length = static_cast<int32_t>(record.size());
  for (size_t cut = 0; cut < 4; ++cut) ExpectError({payload.data(), cut}, length, kLZHTruncatedMessage);
  for (size_t cut = 4; cut < payload.size(); cut += 1 + cut / 8) {
    ExpectError({payload.data(), cut}, length, kLZHTruncatedMessage);
  }
}

TEST(LZHCorruptInputTest, StatedLengthBelowTheBlockLengthIsAnError) {
  std::vector<uint8_t> record;
  auto payload = PicturePayload(record);
  const auto length = static_cast<int32_t>(record.size());
  payload[0] = 10;
  payload[1] = payload[2] = payload[3] = 0;
  ExpectError(payload, length, kLZHShortOutputMessage);
  // A negative stated length expands to nothing at all.
  payload[3] = 0x80;
  ExpectError(payload, length, kLZHShortOutputMessage);
}

TEST(LZHCorruptInputTest, BlockLengthBelowTheStatedLengthDecodesItsPrefix) {
  std::vector<uint8_t> record;
  const auto payload = PicturePayload(record);
  std::vector<uint8_t> prefix(100);
  LZHDecompress(payload, prefix.data(), 100);
  EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), record.begin()));
}

TEST(LZHCorruptInputTest, NegativeLengthIsRejected) {
  const std::vector<uint8_t> payload = {0, 0, 0, 0};
  uint8_t dest[1];
  ExpectError(payload, -1, kLZHInvalidLengthMessage);
  EXPECT_THROW(LZHDecompress(payload, nullptr, 5), ElzhException);
  LZHDecompress(payload, dest, 0);
}

TEST(LZHCorruptInputTest, DamagedBitsNeverEscapeTheBuffers) {
  std::vector<uint8_t> record;
  const auto original = PicturePayload(record);
  const auto length = static_cast<int32_t>(record.size());
  std::mt19937 generator(31);
  for (int trial = 0; trial < 300; ++trial) {
    auto payload = original;
    const int flips = 1 + trial % 5;
    for (int flip = 0; flip < flips; ++flip) {
      const size_t bit = 32 + generator() % ((payload.size() - 4) * 8);
      payload[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
    }
    // The output lies between two poisoned guard bands.
    constexpr size_t kGuard = 64;
    std::vector<uint8_t> dest(record.size() + 2 * kGuard, 0xA5);
    try {
      LZHDecompress(payload, dest.data() + kGuard, length);
    } catch (const ElzhException& error) {
      // Damage that shifts the bit stream runs it out early.
      EXPECT_STREQ(error.what(), kLZHTruncatedMessage) << "trial " << trial;
    }
    const auto poisoned = [](uint8_t byte) { return byte == 0xA5; };
    EXPECT_TRUE(std::all_of(dest.begin(), dest.begin() + kGuard, poisoned)) << "trial " << trial;
    EXPECT_TRUE(std::all_of(dest.end() - kGuard, dest.end(), poisoned)) << "trial " << trial;
  }
}

TEST(LZHCorruptInputTest, GarbageWithAHugeStatedLengthEndsAtTheInputsEnd) {
  // The stream-bound coder has no outside limit: it must stop when the
  // garbage runs out, having produced at most 60 bytes per input bit.
  for (uint32_t seed = 0; seed < 20; ++seed) {
    auto garbage = tests::RandomBytes(64 + seed * 37, seed);
    garbage[0] = garbage[1] = garbage[2] = 0xFF;
    garbage[3] = 0x7F;
    TReadOnlyMemoryStream input(garbage);
    TMemoryStream output;
    TLZHStream coder(input, output);
    EXPECT_THROW(coder.DecompressStream(), ElzhException);
    EXPECT_LE(output.Size(), static_cast<int64_t>(garbage.size()) * 8 * 60);
  }
}

}  // namespace
}  // namespace zelk::tests
