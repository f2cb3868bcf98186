// The two steps of the Shuffle4 RLE coding, as plain routines on buffers.
//
// Shuffle: the bytes at positions j, j + 4, j + 8, ... form plane j (j = 0
// to 3) and the planes follow each other: shuffled[j * Q + k] = input[4k + j]
// with Q = size / 4. For pixels stored blue, green, red, alpha the planes are
// the blue, green, red and alpha bytes, which repeat more often than whole
// pixels. A tail of size % 4 bytes (never present in image records) keeps its
// place at the end.
//
// Runs: the payload is a sequence of (count, value) byte pairs, count 1 to
// 255, which expanded in order give the shuffled bytes; no header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelk::shuffle4 {

inline constexpr size_t kLongestRun = 255;

void Shuffle(const uint8_t* source, uint8_t* dest, size_t size);
void Unshuffle(const uint8_t* source, uint8_t* dest, size_t size);

// Codes size bytes as runs into dest, which has room for maxPairs pairs.
// Answers the payload length (2 x pairs), or 0 when more than maxPairs pairs
// would be needed; dest is never written beyond maxPairs pairs.
size_t EncodeRuns(const uint8_t* source, size_t size, uint8_t* dest, size_t maxPairs);

// Expands the pairs of a payload (a trailing odd byte is ignored) into dest.
// Answers false, having written nothing beyond destSize bytes, when the
// pairs expand to more or fewer than destSize bytes.
bool DecodeRuns(const uint8_t* payload, size_t payloadSize, uint8_t* dest, size_t destSize);

}  // namespace zelk::shuffle4
