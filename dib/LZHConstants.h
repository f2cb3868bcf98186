// Fixed sizes of the LZH coding scheme (LZ77 over a 4,096-byte ring buffer,
// its symbols sent with an adaptive Huffman code). Coder and decoder must
// agree on every one of them, so they live in one place.
#pragma once

#include <cstdint>

namespace zelk::lzh {

// Sliding window; positions are taken modulo its size.
inline constexpr int kWindowSize = 4096;
inline constexpr int kWindowMask = kWindowSize - 1;
// Longest match and the longest match that is still sent as literals.
inline constexpr int kLongestMatch = 60;
inline constexpr int kThreshold = 2;
// The window carries a copy of its first kLongestMatch - 1 bytes behind its
// end, so that comparing 60 bytes from any position needs no wrap-around.
inline constexpr int kRingBufferSize = kWindowSize + kLongestMatch - 1;
// Coding starts here; everything before it is pre-filled with spaces.
inline constexpr int kFirstCodingPosition = kWindowSize - kLongestMatch;
inline constexpr uint8_t kFillByte = 0x20;

// Match-tree links: kEmptyLink marks "no node"; the 256 tree roots, one per
// first byte, follow it.
inline constexpr int kEmptyLink = kWindowSize;
inline constexpr int kFirstRoot = kWindowSize + 1;
inline constexpr int kRootCount = 256;

// Huffman alphabet: 256 literal bytes, then match lengths 3 to 60.
inline constexpr int kLiteralCount = 256;
inline constexpr int kSymbolCount = kLiteralCount + kLongestMatch - kThreshold;  // 314
inline constexpr int kMatchSymbolBias = kLiteralCount - kThreshold - 1;        // symbol = 253 + length
inline constexpr int kNodeCount = 2 * kSymbolCount - 1;                           // 627
inline constexpr int kRootNode = kNodeCount - 1;                                  // 626
// The tree is rebuilt (all weights halved) when the root weight reaches this.
inline constexpr uint16_t kRebuildFrequency = 0x8000;
// Codes are held in 16 bits; a deeper leaf cannot be sent.
inline constexpr int kMaxCodeLength = 16;

// Match positions: distance back minus one, sent as a prefix-coded upper
// part (6 bits of value) and the lower 6 bits as they are.
inline constexpr int kPositionLowBits = 6;
inline constexpr int kPositionHighCount = kWindowSize >> kPositionLowBits;  // 64

}  // namespace zelk::lzh
