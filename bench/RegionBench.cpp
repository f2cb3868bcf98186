// Speed of the software region on picture-shaped regions: a side x side
// picture whose inside is a ring with spokes (several runs per row, as a
// knob's outline gives), built row by row in batches of 400 rectangles as
// the bitmap engine hands them over, united with a shifted copy of itself,
// and hit-tested at every point as mouse moves do. Counters: rectangles/s
// for building, points/s for the hit test.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/software/SoftwareRegion.h"

namespace {

using zelk::platform::TRegion;
using zelk::platform::TRegionDataHeader;
using zelk::platform::TRegionRect;
using zelk::platform::TSoftwareRegionFactory;

constexpr size_t kBatchRectangles = 400;

bool Inside(int x, int y, int side, int shift) {
  const double dx = x - side * 0.5 - shift, dy = y - side * 0.5;
  const double distance = std::sqrt(dx * dx + dy * dy);
  const bool ring = distance > side * 0.30 && distance < side * 0.45;
  const bool spoke = distance < side * 0.45 && (std::abs(dx) < side * 0.02 || std::abs(dy) < side * 0.02);
  return ring || spoke;
}

// The inside runs of every row, top row first.
std::vector<TRegionRect> PictureRuns(int side, int shift) {
  std::vector<TRegionRect> runs;
  for (int y = 0; y < side; ++y) {
    int start = -1;
    for (int x = 0; x <= side; ++x) {
      const bool inside = x < side && Inside(x, y, side, shift);
      if (inside && start < 0) start = x;
      if (!inside && start >= 0) {
        runs.push_back({start, y, x, y + 1});
        start = -1;
      }
    }
  }
  return runs;
}

std::unique_ptr<TRegion> RegionInBatches(const std::vector<TRegionRect>& runs) {
  TSoftwareRegionFactory factory;
  std::unique_ptr<TRegion> result;
  for (size_t first = 0; first < runs.size(); first += kBatchRectangles) {
    TRegionDataHeader header;
    header.Count = static_cast<uint32_t>(std::min(kBatchRectangles, runs.size() - first));
    auto batch = factory.CreateFromData(header, {runs.data() + first, header.Count});
    if (result) {
      result->Unite(*batch);
    } else {
      result = std::move(batch);
    }
  }
  return result;
}

void RegionFromPictureRows(benchmark::State& state) {
  const auto runs = PictureRuns(static_cast<int>(state.range(0)), 0);
  for (auto _ : state) benchmark::DoNotOptimize(RegionInBatches(runs));
  state.counters["rects/s"] =
      benchmark::Counter(static_cast<double>(runs.size() * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(RegionFromPictureRows)->Arg(256)->Arg(1024);

void RegionUniteOverlapping(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const auto first = RegionInBatches(PictureRuns(side, 0));
  const auto second = RegionInBatches(PictureRuns(side, side / 7));
  for (auto _ : state) {
    state.PauseTiming();
    auto target = std::make_unique<zelk::platform::TSoftwareRegion>(first->Rectangles());
    state.ResumeTiming();
    target->Unite(*second);
    benchmark::DoNotOptimize(target.get());
  }
}
BENCHMARK(RegionUniteOverlapping)->Arg(256)->Arg(1024);

void RegionContainsEveryPoint(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const auto region = RegionInBatches(PictureRuns(side, 0));
  for (auto _ : state) {
    int inside = 0;
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) inside += region->Contains(x, y) ? 1 : 0;
    }
    benchmark::DoNotOptimize(inside);
  }
  state.counters["points/s"] =
      benchmark::Counter(static_cast<double>(side) * side * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(RegionContainsEveryPoint)->Arg(256)->Arg(1024);

}  // namespace

BENCHMARK_MAIN();
