#include "dib/LZHHuffman.h"

#include <algorithm>

namespace zelk {

using namespace lzh;

TLZHHuffmanTree::TLZHHuffmanTree() { Start(); }

void TLZHHuffmanTree::Start() {
  for (int symbol = 0; symbol < kSymbolCount; ++symbol) {
    frequency_[symbol] = 1;
    child_[symbol] = static_cast<int16_t>(kNodeCount + symbol);
    parent_[kNodeCount + symbol] = static_cast<int16_t>(symbol);
  }
  for (int node = kSymbolCount, pair = 0; node <= kRootNode; ++node, pair += 2) {
    frequency_[node] = static_cast<uint16_t>(frequency_[pair] + frequency_[pair + 1]);
    child_[node] = static_cast<int16_t>(pair);
    parent_[pair] = parent_[pair + 1] = static_cast<int16_t>(node);
  }
  frequency_[kNodeCount] = 0xFFFF;
  parent_[kRootNode] = 0;
}

TLZHHuffmanCode TLZHHuffmanTree::CodeOf(int symbol) const {
  // Collect one bit per node from the leaf upwards; each new bit enters at
  // the top, so the bit nearest the root ends up first.
  TLZHHuffmanCode code;
  int node = parent_[kNodeCount + symbol];
  do {
    code.Bits = static_cast<uint16_t>(code.Bits >> 1);
    if (node & 1) code.Bits |= 0x8000;
    ++code.Length;
    node = parent_[node];
  } while (node != kRootNode);
  return code;
}

void TLZHHuffmanTree::Update(int symbol) {
  if (frequency_[kRootNode] == kRebuildFrequency) Rebuild();
  int node = parent_[kNodeCount + symbol];
  do {
    const uint16_t weight = ++frequency_[node];
    if (weight > frequency_[node + 1]) {
      // Move the node past every lighter one; the sentinel stops the scan.
      int higher = node + 1;
      while (weight > frequency_[higher + 1]) ++higher;
      frequency_[node] = frequency_[higher];
      frequency_[higher] = weight;
      ExchangeSubtrees(node, higher);
      node = higher;
    }
    node = parent_[node];
  } while (node != 0);
}

void TLZHHuffmanTree::LinkChildTo(int child, int parent) {
  parent_[child] = static_cast<int16_t>(parent);
  if (child < kNodeCount) parent_[child + 1] = static_cast<int16_t>(parent);
}

void TLZHHuffmanTree::ExchangeSubtrees(int lower, int higher) {
  const int lowerChild = child_[lower];
  const int higherChild = child_[higher];
  LinkChildTo(lowerChild, higher);
  LinkChildTo(higherChild, lower);
  child_[higher] = static_cast<int16_t>(lowerChild);
  child_[lower] = static_cast<int16_t>(higherChild);
}

void TLZHHuffmanTree::Rebuild() {
  GatherHalvedLeaves();
  JoinSortedInnerNodes();
  RelinkParents();
}

void TLZHHuffmanTree::GatherHalvedLeaves() {
  // Leaves keep their relative (weight) order; halving rounds up so that no
  // weight drops to 0.
  int target = 0;
  for (int node = 0; node < kNodeCount; ++node) {
    if (child_[node] < kNodeCount) continue;
    frequency_[target] = static_cast<uint16_t>((frequency_[node] + 1) / 2);
    child_[target] = child_[node];
    ++target;
  }
}

void TLZHHuffmanTree::JoinSortedInnerNodes() {
  for (int node = kSymbolCount, pair = 0; node < kNodeCount; ++node, pair += 2) {
    const uint16_t weight = static_cast<uint16_t>(frequency_[pair] + frequency_[pair + 1]);
    // Place the new node just above the last one that is not heavier.
    int place = node - 1;
    while (place >= 0 && weight < frequency_[place]) --place;
    ++place;
    std::copy_backward(frequency_.begin() + place, frequency_.begin() + node, frequency_.begin() + node + 1);
    std::copy_backward(child_.begin() + place, child_.begin() + node, child_.begin() + node + 1);
    frequency_[place] = weight;
    child_[place] = static_cast<int16_t>(pair);
  }
}

void TLZHHuffmanTree::RelinkParents() {
  for (int node = 0; node < kNodeCount; ++node) LinkChildTo(child_[node], node);
}

bool TLZHHuffmanTree::IsConsistent() const {
  if (frequency_[kNodeCount] != 0xFFFF) return false;
  std::array<bool, kSymbolCount> reached{};
  for (int node = 0; node < kNodeCount; ++node) {
    if (node > 0 && frequency_[node] < frequency_[node - 1]) return false;
    const int child = child_[node];
    if (child >= kNodeCount) {
      const int symbol = child - kNodeCount;
      if (symbol >= kSymbolCount || reached[symbol] || parent_[child] != node) return false;
      reached[symbol] = true;
      continue;
    }
    if (child < 0 || child % 2 != 0 || child + 1 >= node) return false;
    if (parent_[child] != node || parent_[child + 1] != node) return false;
    if (frequency_[node] != frequency_[child] + frequency_[child + 1]) return false;
  }
  return std::all_of(reached.begin(), reached.end(), [](bool value) { return value; });
}

}  // namespace zelk
