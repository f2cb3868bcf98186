// The product as a host runs it: processReplacing and the accumulating
// process entry called through the effect record of the loaded plug-in, at
// 64, 512, 4096 and 4,194,304 frames, beside a memcpy of both channels of the
// same buffers in the same run. processReplacing runs on separate buffers and
// in place. The counter "per_frame" is the CPU time per frame; the summary
// after the table gives each entry's CPU time per frame and its multiple of
// the copy's, from the fastest repetition of each (the median when only
// aggregates are reported; CPU time, because the machines are shared).
//
// Goals: at 512 frames at most 6x the copy, at 64 frames at most 7x, at 4M
// frames no slower than the copy, in place within 10% of separate.
//
// The plug-in is $ZELK_PLUGIN when set, else the Zelk library of this build.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <utility>

#include "tests/support/PluginPath.h"
#include "tests/support/SampleBuffers.h"
#include "tools/common/HostSession.h"

namespace {

constexpr int64_t kSizes[] = {64, 512, 4096, 4194304};
constexpr float kSampleRate = 48000.0f;
constexpr float kNormalizedAngle = 0.25f;  // 90 degrees: both coefficients non-zero

zelk::host::THostSession g_Session;

// Two input and two output channels of uniform audio, 64-byte aligned.
struct TChannels {
  explicit TChannels(int64_t frames) : Buffers(4, static_cast<int32_t>(frames)) { Buffers.FillNoise(11); }
  size_t Bytes() const { return static_cast<size_t>(Buffers.Frames()) * sizeof(float); }
  float** Inputs() { return Buffers.Pointers(); }
  float** Outputs() { return Buffers.Pointers() + 2; }
  zelk::tests::TAudioBuffers Buffers;
};

void SetPerFrame(benchmark::State& state, int64_t frames) {
  state.counters["per_frame"] = benchmark::Counter(
      static_cast<double>(frames), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Copy(benchmark::State& state) {
  const int64_t frames = state.range(0);
  TChannels channels(frames);
  for (auto _ : state) {
    std::memcpy(channels.Outputs()[0], channels.Inputs()[0], channels.Bytes());
    std::memcpy(channels.Outputs()[1], channels.Inputs()[1], channels.Bytes());
    benchmark::ClobberMemory();
  }
  SetPerFrame(state, frames);
}

void BM_ProcessReplacing(benchmark::State& state) {
  const int64_t frames = state.range(0);
  TChannels channels(frames);
  AEffect* effect = g_Session.Effect();
  for (auto _ : state) {
    effect->processReplacing(effect, channels.Inputs(), channels.Outputs(), static_cast<int32_t>(frames));
    benchmark::ClobberMemory();
  }
  SetPerFrame(state, frames);
}

// The rotation keeps the signal's energy, so rotating the same block again
// and again keeps it audio.
void BM_ProcessReplacingInPlace(benchmark::State& state) {
  const int64_t frames = state.range(0);
  TChannels channels(frames);
  AEffect* effect = g_Session.Effect();
  for (auto _ : state) {
    effect->processReplacing(effect, channels.Inputs(), channels.Inputs(), static_cast<int32_t>(frames));
    benchmark::ClobberMemory();
  }
  SetPerFrame(state, frames);
}

// The outputs grow by one rotated input per call; far from overflow within a
// benchmark's iterations.
void BM_Process(benchmark::State& state) {
  const int64_t frames = state.range(0);
  TChannels channels(frames);
  AEffect* effect = g_Session.Effect();
  for (auto _ : state) {
    effect->process(effect, channels.Inputs(), channels.Outputs(), static_cast<int32_t>(frames));
    benchmark::ClobberMemory();
  }
  SetPerFrame(state, frames);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t frames : kSizes) {
    benchmark->Arg(frames);
  }
}

BENCHMARK(BM_Copy)->Apply(Sizes);
BENCHMARK(BM_ProcessReplacing)->Apply(Sizes);
BENCHMARK(BM_ProcessReplacingInPlace)->Apply(Sizes);
BENCHMARK(BM_Process)->Apply(Sizes);

// The console table as usual, then the ratios to the copy and the goals.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) {
        continue;
      }
      // "BM_Name/frames" -> nanoseconds per iteration.
      const std::string name = run.run_name.str();
      const size_t slash = name.rfind('/');
      const TKey key{name.substr(0, slash), std::stoll(name.substr(slash + 1))};
      const double nanoseconds = run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (run.run_type == Run::RT_Iteration) {
        const auto entry = m_Fastest.try_emplace(key, nanoseconds).first;
        entry->second = std::min(entry->second, nanoseconds);
      } else if (run.aggregate_name == "median") {
        m_Median[key] = nanoseconds;
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nCPU ns per frame and multiple of the copy\n");
    std::printf("%9s %9s %22s %22s %22s %9s  %s\n", "frames", "copy", "processReplacing", "in place", "process",
                "in/sep", "goals");
    for (int64_t frames : kSizes) {
      PrintRow(frames);
    }
  }

 private:
  // Per frame: the fastest repetition, or the median when only aggregates
  // were reported.
  double Time(const std::string& family, int64_t frames) const {
    for (const auto* times : {&m_Fastest, &m_Median}) {
      if (const auto found = times->find({family, frames}); found != times->end()) {
        return found->second / static_cast<double>(frames);
      }
    }
    return 0.0;
  }

  static std::string Cell(double time, double copy) {
    char text[40];
    std::snprintf(text, sizeof(text), "%.3f (%.2fx)", time, copy > 0.0 ? time / copy : 0.0);
    return text;
  }

  // The copy-ratio goal of a size: 7x at 64 frames, 6x at 512, 1x at 4M.
  static double CopyGoal(int64_t frames) {
    switch (frames) {
      case 64:
        return 7.0;
      case 512:
        return 6.0;
      case 4194304:
        return 1.0;
      default:
        return 0.0;
    }
  }

  void PrintRow(int64_t frames) const {
    const double copy = Time("BM_Copy", frames);
    const double separate = Time("BM_ProcessReplacing", frames);
    const double inPlace = Time("BM_ProcessReplacingInPlace", frames);
    const double accumulating = Time("BM_Process", frames);
    if (copy <= 0.0 || separate <= 0.0) {
      return;
    }
    const double inPlaceRatio = inPlace / separate;
    std::string goals;
    if (const double goal = CopyGoal(frames); goal > 0.0) {
      goals += separate / copy <= goal ? "copy ratio met" : "copy ratio MISSED";
      goals += ", ";
    }
    goals += inPlaceRatio <= 1.10 ? "in place met" : "in place MISSED";
    std::printf("%9lld %9.3f %22s %22s %22s %9.2f  %s\n", static_cast<long long>(frames), copy,
                Cell(separate, copy).c_str(), Cell(inPlace, copy).c_str(), Cell(accumulating, copy).c_str(),
                inPlaceRatio, goals.c_str());
  }

  using TKey = std::pair<std::string, int64_t>;
  std::map<TKey, double> m_Fastest;
  std::map<TKey, double> m_Median;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  const std::string plugin = zelk::tests::PluginPath(ZELK_BENCH_PLUGIN);
  if (!g_Session.Open(plugin, {kSampleRate, static_cast<int32_t>(kSizes[std::size(kSizes) - 1])})) {
    std::fprintf(stderr, "plugin_bench: %s\n", g_Session.ErrorText().c_str());
    return 1;
  }
  g_Session.Resume();
  g_Session.SetParameter(0, kNormalizedAngle);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  g_Session.Close();
  return 0;
}
