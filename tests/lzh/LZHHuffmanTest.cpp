// The adaptive code tree: its structure must survive every update and
// rebuild, its codes must decode to their symbols, and a code too deep for
// 16 bits must stop compression instead of corrupting the stream.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "dib/LZHCoder.h"
#include "dib/LZHHuffman.h"
#include "dib/LZHPayload.h"
#include "tests/lzh/LZHTestData.h"

namespace zelk::tests {
namespace {

// Feeds a code to Receive bit by bit, root side first.
int DecodeCode(const TLZHHuffmanTree& tree, TLZHHuffmanCode code) {
  int taken = 0;
  return tree.Receive([&] { return (code.Bits >> (15 - taken++)) & 1; });
}

void ExpectCodesDecode(const TLZHHuffmanTree& tree) {
  for (int symbol = 0; symbol < lzh::kSymbolCount; ++symbol) {
    const TLZHHuffmanCode code = tree.CodeOf(symbol);
    if (code.Length > lzh::kMaxCodeLength) continue;
    ASSERT_EQ(DecodeCode(tree, code), symbol);
  }
}

// Weights that make a chain of nine heavy symbols above the 305 unused ones,
// each link about as heavy as everything below it: the unused symbols end
// up 17 or 18 levels deep while the root stays below the rebuild point.
void MakeDeepTree(TLZHHuffmanTree& tree) {
  const int chain = 9;
  const long light = lzh::kSymbolCount - chain;
  std::vector<long> below{light};  // weight of everything under each link
  std::vector<long> weights;
  for (int link = 0; link < chain; ++link) {
    const long weight = (link < 2 ? light : below[link - 1]) + 1;
    weights.push_back(weight);
    below.push_back(below.back() + weight);
  }
  for (int link = 0; link < chain; ++link) {
    for (long count = 1; count < weights[link]; ++count) tree.Update(lzh::kSymbolCount - chain + link);
  }
}

TEST(LZHHuffmanTest, TreeStaysSoundThroughUpdatesAndRebuilds) {
  TLZHHuffmanTree tree;
  std::mt19937 generator(5);
  std::geometric_distribution<int> skewed(0.05);
  int rebuilds = 0;
  uint16_t previousRoot = tree.RootFrequency();
  for (int step = 0; step < 200000; ++step) {
    tree.Update(skewed(generator) % lzh::kSymbolCount);
    if (tree.RootFrequency() < previousRoot) {
      ++rebuilds;
      ASSERT_TRUE(tree.IsConsistent()) << "after rebuild at step " << step;
      ExpectCodesDecode(tree);
    }
    previousRoot = tree.RootFrequency();
  }
  EXPECT_GE(rebuilds, 5);
  EXPECT_TRUE(tree.IsConsistent());
}

TEST(LZHHuffmanTest, RebuildHappensAtThe32455thSymbol) {
  TLZHHuffmanTree tree;
  for (int count = 1; count <= 32454; ++count) tree.Update(count % 7);
  EXPECT_EQ(tree.RootFrequency(), 0x8000);
  tree.Update(3);
  // Halved leaves (rounded up) plus the new occurrence: well below 0x8000.
  EXPECT_LT(tree.RootFrequency(), 0x4200);
  EXPECT_TRUE(tree.IsConsistent());
}

TEST(LZHHuffmanTest, ExtremeWeightsGiveCodesDeeperThan16) {
  TLZHHuffmanTree tree;
  MakeDeepTree(tree);
  EXPECT_TRUE(tree.IsConsistent());
  EXPECT_LT(tree.RootFrequency(), 0x8000);
  EXPECT_GT(tree.CodeOf('Q').Length, lzh::kMaxCodeLength);
  ExpectCodesDecode(tree);
}

// A coder whose tree is driven into that shape before it sends its first
// symbol, an unused literal.
class TDeepTreeLZH final : public TAbstractLZH {
 public:
  explicit TDeepTreeLZH(std::vector<uint8_t> input) : input_(std::move(input)) {}
  std::vector<uint8_t> output;

 protected:
  void ReadBytes(void* buffer, uint16_t count, uint16_t& actual) override {
    if (read_ == 0) MakeDeepTree(HuffmanTree());
    actual = read_ < input_.size() ? 1 : 0;
    if (actual) *static_cast<uint8_t*>(buffer) = input_[read_++];
  }
  void WriteBytes(const void* buffer, uint16_t count, uint16_t& actual) override {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    output.insert(output.end(), bytes, bytes + count);
    actual = count;
  }

 private:
  std::vector<uint8_t> input_;
  size_t read_ = 0;
};

TEST(LZHHuffmanTest, CodeDeeperThan16StopsCompression) {
  TDeepTreeLZH coder(std::vector<uint8_t>(200, 'Q'));
  try {
    coder.CompressStream(200);
    FAIL() << "a 17-bit code was sent";
  } catch (const ElzhException& error) {
    EXPECT_STREQ(error.what(), kLZHCodeTooLongMessage);
  }
  // Only the header went out: no damaged code reached the output.
  EXPECT_EQ(coder.output.size(), 4u);
}

}  // namespace
}  // namespace zelk::tests
