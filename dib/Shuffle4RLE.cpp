#include "dib/Shuffle4RLE.h"

#include <algorithm>
#include <cstring>

namespace zelk::shuffle4 {

namespace {

// The size % 4 bytes behind the last whole group keep their place.
void CopyTail(const uint8_t* source, uint8_t* dest, size_t size) {
  const size_t tail = size % 4;
  if (tail != 0) std::memcpy(dest + (size - tail), source + (size - tail), tail);
}

}  // namespace

void Shuffle(const uint8_t* source, uint8_t* dest, size_t size) {
  const size_t quads = size / 4;
  for (size_t k = 0; k < quads; ++k) {
    const uint8_t* group = source + 4 * k;
    dest[k] = group[0];
    dest[quads + k] = group[1];
    dest[2 * quads + k] = group[2];
    dest[3 * quads + k] = group[3];
  }
  CopyTail(source, dest, size);
}

void Unshuffle(const uint8_t* source, uint8_t* dest, size_t size) {
  const size_t quads = size / 4;
  for (size_t k = 0; k < quads; ++k) {
    uint8_t* group = dest + 4 * k;
    group[0] = source[k];
    group[1] = source[quads + k];
    group[2] = source[2 * quads + k];
    group[3] = source[3 * quads + k];
  }
  CopyTail(source, dest, size);
}

namespace {

// Length of the run that starts at source[start], at most kLongestRun.
size_t RunLength(const uint8_t* source, size_t start, size_t size) {
  const size_t limit = std::min(size - start, kLongestRun);
  const uint8_t value = source[start];
  size_t length = 1;
  while (length < limit && source[start + length] == value) ++length;
  return length;
}

}  // namespace

size_t EncodeRuns(const uint8_t* source, size_t size, uint8_t* dest, size_t maxPairs) {
  size_t consumed = 0;
  size_t pairs = 0;
  while (consumed < size) {
    if (pairs == maxPairs) return 0;
    const size_t length = RunLength(source, consumed, size);
    dest[2 * pairs] = static_cast<uint8_t>(length);
    dest[2 * pairs + 1] = source[consumed];
    ++pairs;
    consumed += length;
  }
  return 2 * pairs;
}

bool DecodeRuns(const uint8_t* payload, size_t payloadSize, uint8_t* dest, size_t destSize) {
  size_t written = 0;
  for (size_t pair = 0; pair + 1 < payloadSize; pair += 2) {
    const size_t count = payload[pair];
    if (count == 0) continue;  // never written; expands to nothing
    if (count > destSize - written) return false;
    std::memset(dest + written, payload[pair + 1], count);
    written += count;
  }
  return written == destSize;
}

}  // namespace zelk::shuffle4
