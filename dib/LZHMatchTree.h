// Match search of the LZH coder: the 4,096-byte ring buffer and, over its
// positions, 256 binary search trees (one per first byte) ordered by the 60
// bytes that start at each position. Inserting a position finds the longest
// earlier match on the way down; ties go to the nearest occurrence.
#pragma once

#include <array>
#include <cstdint>

#include "dib/LZHConstants.h"

namespace zelk {

class TLZHMatchTree {
 public:
  // All links and window bytes start as 0; call Start before coding.
  TLZHMatchTree() = default;

  // Empties the 256 trees: every root and every parent link is empty.
  void Start();

  // Writes a window byte, keeping the copy behind the window's end in step.
  void Store(int position, uint8_t value);
  // Fills positions [0, count) with value, without the copy (the initial
  // spaces: their mirror is written as positions are reused).
  void Fill(int count, uint8_t value);
  uint8_t At(int position) const { return window_[position]; }

  // Adds position (0 to 4,095) to the tree of its first byte and leaves the
  // best match against earlier positions in MatchLength / MatchPosition
  // (MatchLength 0 when none is longer than 2 bytes). A position whose 60
  // bytes equal those of a node replaces that node.
  void Insert(int position);
  // Takes position out of its tree; positions not in a tree are ignored.
  void Delete(int position);

  // Length of the last match found (0 or 3 to 60).
  int MatchLength() const { return matchLength_; }
  // Distance back to that match minus one (0 to 4,095).
  int MatchPosition() const { return matchPosition_; }

 private:
  // Index of the first of bytes 1 to 59 where position and node differ (60
  // when all agree); sets lessThan to the sign of that comparison.
  int CompareKeys(int position, int node, bool& lessThan) const;
  void NoteCandidate(int position, int node, int length);
  void ReplaceNode(int oldNode, int newNode);
  void SetChildOf(int parent, int oldChild, int newChild);
  int UnlinkRightmost(int subtreeRoot);

  std::array<uint8_t, lzh::kRingBufferSize> window_{};
  std::array<int16_t, lzh::kWindowSize + 1> leftChild_{};
  std::array<int16_t, lzh::kWindowSize + 1> parent_{};
  std::array<int16_t, lzh::kWindowSize + 1 + lzh::kRootCount> rightChild_{};
  int matchPosition_ = 0;
  int matchLength_ = 0;
};

}  // namespace zelk
