// Speed of the Shuffle4 RLE compressor on a background-sized picture
// (390 x 444, opaque, smooth areas with edges, as drawn control pictures
// are). Counter: MB/s of uncompressed record bytes, and the payload / record
// ratio.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "dib/RLEDIBCompressor.h"

namespace {

constexpr int kWidth = 390;
constexpr int kHeight = 444;

// An opaque image record (Width, Height, BGRA pixels bottom-up): flat panels
// with a bevelled frame, a shaded disc and a few bars, on a soft gradient.
std::vector<uint8_t> PictureRecord() {
  std::vector<uint8_t> record = {kWidth & 0xFF, kWidth >> 8, kHeight & 0xFF, kHeight >> 8};
  record.reserve(4 + size_t{kWidth} * kHeight * 4);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint8_t blue = static_cast<uint8_t>(70 + y / 8), green = 64, red = 48;
      const double dx = x - kWidth * 0.5, dy = y - kHeight * 0.45;
      const double distance = std::sqrt(dx * dx + dy * dy);
      if (distance < 110) {
        const auto shade = static_cast<uint8_t>(200 - distance);
        blue = shade, green = shade, red = static_cast<uint8_t>(shade / 2 + 40);
      }
      if (x < 6 || y < 6 || x >= kWidth - 6 || y >= kHeight - 6) blue = green = red = 180;
      if (y > 380 && y < 400 && (x / 30) % 2 == 0) blue = 20, green = 200, red = 220;
      record.insert(record.end(), {blue, green, red, 255});
    }
  }
  return record;
}

void SetThroughput(benchmark::State& state, size_t bytes) {
  const double megabytes = static_cast<double>(bytes) / 1e6 * static_cast<double>(state.iterations());
  state.counters["MB/s"] = benchmark::Counter(megabytes, benchmark::Counter::kIsRate);
}

void RLECompress(benchmark::State& state) {
  const std::vector<uint8_t> record = PictureRecord();
  std::vector<uint8_t> payload(record.size());
  zelk::TRLEDIBCompressor compressor;
  int32_t length = 0;
  for (auto _ : state) {
    length = compressor.Compress(nullptr, record.data(), payload.data(), static_cast<int32_t>(record.size()));
    benchmark::DoNotOptimize(payload.data());
  }
  SetThroughput(state, record.size());
  state.counters["ratio"] = length > 0 ? static_cast<double>(length) / static_cast<double>(record.size()) : 1.0;
}
BENCHMARK(RLECompress);

void RLEDecompress(benchmark::State& state) {
  const std::vector<uint8_t> record = PictureRecord();
  std::vector<uint8_t> payload(record.size());
  zelk::TRLEDIBCompressor compressor;
  const int32_t length =
      compressor.Compress(nullptr, record.data(), payload.data(), static_cast<int32_t>(record.size()));
  if (length == 0) {
    state.SkipWithError("the picture did not compress");
    return;
  }
  std::vector<uint8_t> restored(record.size());
  for (auto _ : state) {
    compressor.Decompress(nullptr, compressor.GetGUID(), payload.data(), restored.data(), length,
                          static_cast<int32_t>(restored.size()));
    benchmark::DoNotOptimize(restored.data());
  }
  SetThroughput(state, record.size());
}
BENCHMARK(RLEDecompress);

}  // namespace

BENCHMARK_MAIN();
