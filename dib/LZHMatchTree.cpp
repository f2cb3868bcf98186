#include "dib/LZHMatchTree.h"

#include <bit>
#include <cstring>

namespace zelk {

using namespace lzh;

void TLZHMatchTree::Start() {
  for (int root = kFirstRoot; root < kFirstRoot + kRootCount; ++root) rightChild_[root] = kEmptyLink;
  for (int position = 0; position < kWindowSize; ++position) parent_[position] = kEmptyLink;
}

void TLZHMatchTree::Store(int position, uint8_t value) {
  window_[position] = value;
  if (position < kLongestMatch - 1) window_[position + kWindowSize] = value;
}

void TLZHMatchTree::Fill(int count, uint8_t value) {
  for (int position = 0; position < count; ++position) window_[position] = value;
}

// Fuzzing builds trace every comparison for coverage; those of this loop say
// nothing about the paths taken and, run thousands of times per input, cost
// more than the rest of the coder. They are left untraced.
#if defined(__clang__)
__attribute__((no_sanitize("coverage")))
#endif
int TLZHMatchTree::CompareKeys(int position, int node, bool& lessThan) const {
  const uint8_t* key = &window_[position];
  const uint8_t* other = &window_[node];
  int index = 1;
  // Eight bytes at a time while whole words fit: loaded little-endian, the
  // first differing byte is the lowest non-zero byte of the words' XOR.
  // Every insertion compares keys against its tree's nodes, so this loop is
  // most of what compression costs.
  if constexpr (std::endian::native == std::endian::little) {
    for (; index + 8 <= kLongestMatch; index += 8) {
      uint64_t keyWord = 0;
      uint64_t otherWord = 0;
      std::memcpy(&keyWord, key + index, sizeof keyWord);
      std::memcpy(&otherWord, other + index, sizeof otherWord);
      if (keyWord != otherWord) {
        index += std::countr_zero(keyWord ^ otherWord) / 8;
        lessThan = key[index] < other[index];
        return index;
      }
    }
  }
  for (; index < kLongestMatch; ++index) {
    if (key[index] != other[index]) {
      lessThan = key[index] < other[index];
      return index;
    }
  }
  lessThan = false;
  return kLongestMatch;
}

void TLZHMatchTree::NoteCandidate(int position, int node, int length) {
  if (length <= kThreshold) return;
  const int distance = ((position - node) & kWindowMask) - 1;
  if (length > matchLength_) {
    matchLength_ = length;
    matchPosition_ = distance;
  } else if (length == matchLength_ && distance < matchPosition_) {
    matchPosition_ = distance;
  }
}

void TLZHMatchTree::Insert(int position) {
  leftChild_[position] = rightChild_[position] = kEmptyLink;
  matchLength_ = 0;
  int node = kFirstRoot + window_[position];
  bool lessThan = false;  // the root is entered through its right link
  for (;;) {
    auto& link = lessThan ? leftChild_[node] : rightChild_[node];
    if (link == kEmptyLink) {
      link = static_cast<int16_t>(position);
      parent_[position] = static_cast<int16_t>(node);
      return;
    }
    node = link;
    const int length = CompareKeys(position, node, lessThan);
    NoteCandidate(position, node, length);
    if (matchLength_ >= kLongestMatch) break;
  }
  // Equal keys: the newer position takes the older one's place, so the tree
  // always holds the nearest occurrence.
  ReplaceNode(node, position);
}

void TLZHMatchTree::SetChildOf(int parent, int oldChild, int newChild) {
  if (rightChild_[parent] == oldChild) {
    rightChild_[parent] = static_cast<int16_t>(newChild);
  } else {
    leftChild_[parent] = static_cast<int16_t>(newChild);
  }
}

void TLZHMatchTree::ReplaceNode(int oldNode, int newNode) {
  parent_[newNode] = parent_[oldNode];
  leftChild_[newNode] = leftChild_[oldNode];
  rightChild_[newNode] = rightChild_[oldNode];
  // An empty child link points at kEmptyLink, whose parent entry is a
  // harmless scratch slot.
  parent_[leftChild_[oldNode]] = static_cast<int16_t>(newNode);
  parent_[rightChild_[oldNode]] = static_cast<int16_t>(newNode);
  SetChildOf(parent_[oldNode], oldNode, newNode);
  parent_[oldNode] = kEmptyLink;
}

int TLZHMatchTree::UnlinkRightmost(int subtreeRoot) {
  // Answers the node that replaces a deleted node with two children: the
  // rightmost node of its left subtree, detached from where it was.
  int node = subtreeRoot;
  if (rightChild_[node] == kEmptyLink) return node;
  do {
    node = rightChild_[node];
  } while (rightChild_[node] != kEmptyLink);
  rightChild_[parent_[node]] = leftChild_[node];
  parent_[leftChild_[node]] = parent_[node];
  return node;
}

void TLZHMatchTree::Delete(int position) {
  if (parent_[position] == kEmptyLink) return;
  int replacement;
  if (rightChild_[position] == kEmptyLink) {
    replacement = leftChild_[position];
  } else if (leftChild_[position] == kEmptyLink) {
    replacement = rightChild_[position];
  } else {
    replacement = UnlinkRightmost(leftChild_[position]);
    if (replacement != leftChild_[position]) {
      leftChild_[replacement] = leftChild_[position];
      parent_[leftChild_[position]] = static_cast<int16_t>(replacement);
    }
    rightChild_[replacement] = rightChild_[position];
    parent_[rightChild_[position]] = static_cast<int16_t>(replacement);
  }
  parent_[replacement] = parent_[position];
  SetChildOf(parent_[position], position, replacement);
  parent_[position] = kEmptyLink;
}

}  // namespace zelk
