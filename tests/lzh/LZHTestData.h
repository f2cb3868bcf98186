// Inputs and helpers shared by the LZH coder tests.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "dib/LZHStream.h"
#include "runtime/Stream.h"

namespace zelk::tests {

inline std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed, int alphabet = 256) {
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> distribution(0, alphabet - 1);
  std::vector<uint8_t> bytes(count);
  for (auto& byte : bytes) byte = static_cast<uint8_t>(distribution(generator));
  return bytes;
}

// An image record (Width, Height, then opaque BGRA pixels bottom-up) of a
// smooth picture: two gradients, a disc and a frame.
inline std::vector<uint8_t> PictureRecord(int width, int height) {
  std::vector<uint8_t> record;
  record.reserve(4 + static_cast<size_t>(width) * height * 4);
  for (int value : {width, height}) {
    record.push_back(static_cast<uint8_t>(value));
    record.push_back(static_cast<uint8_t>(value >> 8));
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double dx = x - width * 0.6;
      const double dy = y - height * 0.4;
      const bool inDisc = dx * dx + dy * dy < (width * 0.2) * (width * 0.2);
      const bool onFrame = x < 6 || y < 6 || x >= width - 6 || y >= height - 6;
      uint8_t blue = static_cast<uint8_t>(255 * x / width);
      uint8_t green = static_cast<uint8_t>(255 * y / height);
      uint8_t red = static_cast<uint8_t>(128 + 100 * std::sin(x * 0.02 + y * 0.01));
      if (inDisc) blue = 40, green = 180, red = 220;
      if (onFrame) blue = green = red = 30;
      record.insert(record.end(), {blue, green, red, 255});
    }
  }
  return record;
}

// The coded stream of data through the stream-bound coder. With the limit
// lifted, output longer than the input is allowed too: the coder is told a
// huge size and the true one is put into the header afterwards.
inline std::vector<uint8_t> CompressWithStream(const std::vector<uint8_t>& data, bool liftLimit = false) {
  TReadOnlyMemoryStream input(data);
  TMemoryStream output;
  TLZHStream coder(input, output);
  const auto size = static_cast<int32_t>(data.size());
  coder.CompressStream(liftLimit ? INT32_MAX : size);
  std::vector<uint8_t> coded = output.ToVector();
  for (int index = 0; index < 4; ++index) coded[index] = static_cast<uint8_t>(static_cast<uint32_t>(size) >> (8 * index));
  return coded;
}

inline std::vector<uint8_t> DecompressWithStream(const std::vector<uint8_t>& coded) {
  TReadOnlyMemoryStream input(coded);
  TMemoryStream output;
  TLZHStream coder(input, output);
  coder.DecompressStream();
  return output.ToVector();
}

}  // namespace zelk::tests
