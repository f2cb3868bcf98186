// Fixed bit streams, derived by hand from the coding rules, so that any
// change of the stream format fails here even if coder and decoder change
// together.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dib/LZHPayload.h"
#include "dib/LZHPositionCode.h"
#include "tests/lzh/LZHTestData.h"

namespace zelk::tests {
namespace {

std::vector<uint8_t> Repeat(const std::string& pattern, int times) {
  std::vector<uint8_t> bytes;
  for (int index = 0; index < times; ++index) bytes.insert(bytes.end(), pattern.begin(), pattern.end());
  return bytes;
}

std::vector<uint8_t> Compressed(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> payload;
  const int32_t length = LZHCompress(data.data(), static_cast<int32_t>(data.size()), payload);
  EXPECT_EQ(length, static_cast<int32_t>(payload.size()));
  return payload;
}

// How the start tree codes a symbol (used by every derivation below).
//
// Leaves 0..313 hold symbols 0..313 with weight 1; node 314 + m joins nodes
// 2m and 2m + 1, so the parent of node x is 314 + x / 2. A symbol's code is
// the parity of each node from its leaf up to (not including) the root 626,
// sent root-side first. Weights of the start tree by node range:
//   0..313: 1   314..470: 2   471..548: 4   549: 6 (joins 470, 471)
//   550..587: 8   588: 10 (548 + 549)   589..607: 16   608: 26 (588 + 589)
//   609..617: 32   618: 58 (608 + 609)   619..622: 64   623: 122 (618 + 619)
//   624: 128   625: 186 (622 + 623)   626: 314.
//
// Literal 'a' (97): path 97, 362, 495, 561, 594, 611, 619, 623, 625 -> root.
//   Parities leaf-first 1 0 1 1 0 1 1 1 1, sent: 1 1 1 1 0 1 1 0 1 (9 bits).
// Update for 'a': node 97 goes from 1 to 2, above node 98 (1), so it trades
// places with the highest node still below 2, node 313: node 313 now holds
// 'a' (2), node 97 holds symbol 313 (1). Then 470: 2->3, 549: 6->7,
// 588: 10->11, 608: 26->27, 618: 58->59, 623: 122->123, 625: 186->187,
// 626: 314->315; none overtakes its right neighbour (4, 8, 16, 32, 64, 128,
// 314, sentinel), so nothing else moves.
//
// Position p is sent as the code of p / 64 (000 for 0) and the 6 bits of
// p % 64.

TEST(LZHGoldenTest, SixtyEqualBytesAreOneLiteralAndOneMatch) {
  // Input: 60 x 'a'. All 60 bytes enter the window at 4,036..4,095 at once.
  // Position 4,036 finds an empty 'a' tree: literal 'a'. The input is
  // exhausted, so the window slides by one without reading: lookahead 59,
  // insert 4,037, which matches 4,036 in bytes 0..58 (byte 59 is the copy
  // behind the window's end, still 0): length 59, position 0.
  // Symbol 253 + 59 = 312 after the update for 'a': path 312, 470, 549, 588,
  // 608, 618, 623, 625; parities 0 0 1 0 0 0 1 1, sent 1 1 0 0 0 1 0 0.
  // Position 0: 000 000000.
  // Bits: 111101101 11000100 000000000 (26) -> F6 E2 00 00 (last byte padded).
  const std::vector<uint8_t> expected = {0x3C, 0x00, 0x00, 0x00, 0xF6, 0xE2, 0x00, 0x00};
  EXPECT_EQ(Compressed(Repeat("a", 60)), expected);
}

TEST(LZHGoldenTest, AlternatingBytesCodeTwoLiteralsAndADistanceTwoMatch) {
  // Input: "ab" x 30. 4,036 ('a') and 4,037 ('b') each find an empty tree:
  // two literals. 4,038 matches 4,036 in bytes 0..57 (byte 58 is the zero
  // copy behind the end): length 58, no more than the 58 bytes left,
  // position 4,038 - 4,036 - 1 = 1.
  //
  // Literal 'b' (98), after the update for 'a' (which did not touch its
  // path): path 98, 363, 495, 561, 594, 611, 619, 623, 625; parities
  // 0 1 1 1 0 1 1 1 1, sent 1 1 1 1 0 1 1 1 0.
  // Update for 'b': node 98 (1->2) trades places with node 312, the highest
  // still below 2 (node 313 holds 'a' at 2). Then 470: 3->4, equal to node
  // 471 (4), so no move; 549: 7->8 (550 is 8), 588: 11->12, 608: 27->28,
  // 618: 59->60, 623: 123->124, 625: 187->188, 626: 315->316; no moves.
  // Symbol 253 + 58 = 311 (still at node 311): path 311, 469, 548, 588, 608,
  // 618, 623, 625; parities 1 1 0 0 0 0 1 1, sent 1 1 0 0 0 0 1 1.
  // Position 1: 000 000001.
  // Bits: 111101101 111101110 11000011 000000001 (35)
  //   11110110 11111011 10110000 11000000 001(00000)
  //   = F6 FB B0 C0 20.
  const std::vector<uint8_t> expected = {0x3C, 0x00, 0x00, 0x00, 0xF6, 0xFB, 0xB0, 0xC0, 0x20};
  EXPECT_EQ(Compressed(Repeat("ab", 30)), expected);
}

TEST(LZHGoldenTest, FourBytesCodeLongerThanTheInputThroughTheStream) {
  // Input: "aaaa". Literal 'a' (9 bits, as above); then 4,037 matches 4,036
  // in its first 3 bytes only (4,040 is 0): length 3, symbol 256, position 0.
  // Symbol 256: path 256, 442, 535, 581, 604, 616, 622, 625; parities
  // 0 0 1 1 0 0 0 1, sent 1 0 0 0 1 1 0 0.
  // Bits: 111101101 10001100 000000000 -> F6 C6 00 00.
  // Four coded bytes for four input bytes: the stream-bound coder accepts it
  // (not more than the original), the block compressor does not (header
  // included it is longer).
  const std::vector<uint8_t> expected = {0x04, 0x00, 0x00, 0x00, 0xF6, 0xC6, 0x00, 0x00};
  const std::vector<uint8_t> data = Repeat("a", 4);
  EXPECT_EQ(tests::CompressWithStream(data), expected);
  EXPECT_EQ(tests::DecompressWithStream(expected), data);
  EXPECT_TRUE(Compressed(data).empty());
}

// The position prefix codes at the edges of each length group, as stated
// for the format; the decoding tables must invert them for every 8-bit
// prefix.
TEST(LZHGoldenTest, PositionCodesMatchTheirCanonicalAssignment) {
  struct Case {
    int high;
    const char* bits;
  };
  const Case cases[] = {{0, "000"},      {1, "0010"},      {3, "0100"},     {4, "01010"},
                        {11, "10001"},   {12, "100100"},   {23, "101111"},  {24, "1100000"},
                        {47, "1110111"}, {48, "11110000"}, {63, "11111111"}};
  const auto& tables = lzh::kPositionCodes;
  for (const Case& item : cases) {
    const std::string bits = item.bits;
    ASSERT_EQ(tables.Length[item.high], bits.size()) << item.high;
    const int code = std::stoi(bits, nullptr, 2) << (8 - bits.size());
    EXPECT_EQ(tables.Code[item.high], code) << item.high;
  }
  for (int prefix = 0; prefix < 256; ++prefix) {
    const int high = tables.DecodedHigh[prefix];
    const int length = tables.DecodedLength[prefix];
    EXPECT_EQ(length, tables.Length[high]);
    EXPECT_EQ(prefix >> (8 - length), tables.Code[high] >> (8 - length)) << prefix;
  }
}

TEST(LZHGoldenTest, GuidBytesFollowTheGuidText) {
  // Binary layout: the first three groups little-endian, the last two as
  // they are written.
  const std::string text = kLZHCompressorGUIDText;
  auto byteAt = [&](size_t offset) { return static_cast<uint8_t>(std::stoi(text.substr(offset, 2), nullptr, 16)); };
  const size_t offsets[16] = {7, 5, 3, 1, 12, 10, 17, 15, 20, 22, 25, 27, 29, 31, 33, 35};
  for (size_t index = 0; index < 16; ++index) EXPECT_EQ(kLZHCompressorGUIDBytes[index], byteAt(offsets[index])) << index;
}

}  // namespace
}  // namespace zelk::tests
