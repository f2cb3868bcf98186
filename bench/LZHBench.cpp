// Speed and savings of the two picture compressors, LZH and RLE, side by
// side in one run, on stored-picture sizes and on random bytes, through the
// compressor interface that stored blocks use. Counters: MB/s of
// uncompressed data and the payload / input ratio (1 when the data were left
// uncompressed).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "dib/LZHDIBCompressor.h"
#include "dib/RLEDIBCompressor.h"

namespace {

// An opaque image record (Width, Height, BGRA pixels bottom-up) of a smooth
// picture: gradients, a shaded disc, a frame and a few bars.
std::vector<uint8_t> PictureRecord(int width, int height) {
  std::vector<uint8_t> record;
  record.reserve(4 + static_cast<size_t>(width) * height * 4);
  for (int value : {width, height}) {
    record.push_back(static_cast<uint8_t>(value));
    record.push_back(static_cast<uint8_t>(value >> 8));
  }
  const double radius = width * 0.25;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      auto blue = static_cast<uint8_t>(60 + 120 * x / width);
      auto green = static_cast<uint8_t>(40 + 150 * y / height);
      auto red = static_cast<uint8_t>(90 + 60 * std::sin(x * 0.015) * std::cos(y * 0.011));
      const double dx = x - width * 0.5, dy = y - height * 0.45;
      const double distance = std::sqrt(dx * dx + dy * dy);
      if (distance < radius) {
        const auto shade = static_cast<uint8_t>(200 - 120 * distance / radius);
        blue = shade, green = static_cast<uint8_t>(shade / 2), red = static_cast<uint8_t>(shade / 3);
      }
      if ((x / 12) % 9 == 0 && y > height * 0.8) blue = green = red = 220;
      if (x < 4 || y < 4 || x >= width - 4 || y >= height - 4) blue = green = red = 25;
      record.insert(record.end(), {blue, green, red, 255});
    }
  }
  return record;
}

std::vector<uint8_t> RandomBytes(size_t count) {
  std::mt19937 generator(1234);
  std::vector<uint8_t> bytes(count);
  for (auto& byte : bytes) byte = static_cast<uint8_t>(generator());
  return bytes;
}

void ReportCounters(benchmark::State& state, size_t inputSize, int32_t payloadSize) {
  const double megabytes = static_cast<double>(inputSize) / 1e6;
  state.counters["MB/s"] = benchmark::Counter(megabytes * static_cast<double>(state.iterations()),
                                              benchmark::Counter::kIsRate);
  state.counters["ratio"] = payloadSize > 0 ? static_cast<double>(payloadSize) / static_cast<double>(inputSize) : 1.0;
}

template <class TCompressor>
void RunCompress(benchmark::State& state, const std::vector<uint8_t>& data) {
  TCompressor compressor;
  std::vector<uint8_t> payload(data.size());
  int32_t length = 0;
  for (auto _ : state) {
    length = compressor.Compress(nullptr, data.data(), payload.data(), static_cast<int32_t>(data.size()));
    benchmark::DoNotOptimize(payload.data());
  }
  ReportCounters(state, data.size(), length);
}

template <class TCompressor>
void RunDecompress(benchmark::State& state, const std::vector<uint8_t>& data) {
  TCompressor compressor;
  std::vector<uint8_t> payload(data.size());
  const int32_t length =
      compressor.Compress(nullptr, data.data(), payload.data(), static_cast<int32_t>(data.size()));
  if (length == 0) {
    state.SkipWithError("data do not compress: nothing to decode");
    return;
  }
  std::vector<uint8_t> restored(data.size());
  const zelk::TGUID guid = compressor.GetGUID();
  for (auto _ : state) {
    compressor.Decompress(nullptr, guid, payload.data(), restored.data(), length,
                          static_cast<int32_t>(restored.size()));
    benchmark::DoNotOptimize(restored.data());
  }
  ReportCounters(state, data.size(), length);
}

const std::vector<uint8_t>& Picture390x444() {
  static const std::vector<uint8_t> record = PictureRecord(390, 444);
  return record;
}
const std::vector<uint8_t>& Picture195x222() {
  static const std::vector<uint8_t> record = PictureRecord(195, 222);
  return record;
}
const std::vector<uint8_t>& Random1MB() {
  static const std::vector<uint8_t> bytes = RandomBytes(1 << 20);
  return bytes;
}

#define ZELK_CODER_BENCHMARKS(Coder, Class)                                                                   \
  void BM_##Coder##_Compress390x444(benchmark::State& state) { RunCompress<Class>(state, Picture390x444()); } \
  void BM_##Coder##_Compress195x222(benchmark::State& state) { RunCompress<Class>(state, Picture195x222()); } \
  void BM_##Coder##_CompressRandom1MB(benchmark::State& state) { RunCompress<Class>(state, Random1MB()); }    \
  void BM_##Coder##_Decompress390x444(benchmark::State& state) {                                               \
    RunDecompress<Class>(state, Picture390x444());                                                            \
  }                                                                                                           \
  void BM_##Coder##_Decompress195x222(benchmark::State& state) {                                               \
    RunDecompress<Class>(state, Picture195x222());                                                            \
  }                                                                                                           \
  BENCHMARK(BM_##Coder##_Compress390x444)->Unit(benchmark::kMillisecond);                                     \
  BENCHMARK(BM_##Coder##_Compress195x222)->Unit(benchmark::kMillisecond);                                     \
  BENCHMARK(BM_##Coder##_CompressRandom1MB)->Unit(benchmark::kMillisecond);                                   \
  BENCHMARK(BM_##Coder##_Decompress390x444)->Unit(benchmark::kMillisecond);                                   \
  BENCHMARK(BM_##Coder##_Decompress195x222)->Unit(benchmark::kMillisecond);

ZELK_CODER_BENCHMARKS(LZH, zelk::TLZHDIBCompressor)
ZELK_CODER_BENCHMARKS(RLE, zelk::TRLEDIBCompressor)

}  // namespace

BENCHMARK_MAIN();
