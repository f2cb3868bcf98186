// Adaptive Huffman tree of the LZH coder. Both directions start from the same
// tree and update it identically after every symbol, so the code adapts to
// the data without ever being transmitted.
//
// Nodes 0 to 626 are kept in non-decreasing order of weight (the sibling
// property); positions 2m and 2m + 1 are always siblings. A child entry of
// 627 or more names a leaf: 627 + symbol.
#pragma once

#include <array>
#include <cstdint>

#include "dib/LZHConstants.h"

namespace zelk {

// A symbol's code: its Length bits, left-aligned in Bits, the bit nearest the
// root first. Bits is exact only when Length is at most 16.
struct TLZHHuffmanCode {
  uint16_t Bits = 0;
  int Length = 0;
};

class TLZHHuffmanTree {
 public:
  // Builds the start state (see Start).
  TLZHHuffmanTree();

  // Every symbol has weight 1; node 314 + m joins nodes 2m and 2m + 1.
  void Start();

  // The code of a symbol (0 to 313) in the current tree. Length may exceed
  // 16 for extreme weight distributions; the caller decides what to do.
  TLZHHuffmanCode CodeOf(int symbol) const;

  // Walks from the root, taking the branch that nextBit() (0 or 1) names at
  // each inner node, and answers the symbol of the leaf reached.
  template <class NextBit>
  int Receive(NextBit&& nextBit) const {
    int node = child_[lzh::kRootNode];
    while (node < lzh::kNodeCount) node = child_[node + nextBit()];
    return node - lzh::kNodeCount;
  }

  // Counts one more occurrence of symbol and restores the sibling property.
  // Rebuilds the tree first when the root weight has reached 0x8000.
  void Update(int symbol);

  uint16_t RootFrequency() const { return frequency_[lzh::kRootNode]; }

  // Structural self-check (weights ordered, sums and links consistent, every
  // symbol reachable): a tool for tests, not used while coding.
  bool IsConsistent() const;

 private:
  void Rebuild();
  void GatherHalvedLeaves();
  void JoinSortedInnerNodes();
  void RelinkParents();
  void ExchangeSubtrees(int lower, int higher);
  void LinkChildTo(int child, int parent);

  // Entry 627 is a sentinel above every real weight.
  std::array<uint16_t, lzh::kNodeCount + 1> frequency_{};
  // Entries 0 to 626: parent of each node; 627 + symbol: node of each leaf.
  std::array<int16_t, lzh::kNodeCount + lzh::kSymbolCount> parent_{};
  std::array<int16_t, lzh::kNodeCount> child_{};
};

}  // namespace zelk
