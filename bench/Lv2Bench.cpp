// The LV2 plug-in's run beside the VST 2 library's processReplacing, both
// loaded from this build, at 64, 512 and 4096 frames: with a steady angle,
// and with the angle changing every block (setParameter then
// processReplacing against a new control value then run). The summary after
// the table gives each LV2 time as a multiple of its VST 2 counterpart,
// from the fastest repetition (CPU time, because the machines are shared).
//
// Goal: LV2 run at 512 frames within 5 % of processReplacing.
//
// The repetitions of all benchmarks run interleaved in random order (12 by
// default; arguments given override both), so that the load of a shared
// machine falls on both plug-ins alike rather than on whichever runs later.
#include <benchmark/benchmark.h>
#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/SampleBuffers.h"
#include "tools/common/HostSession.h"

namespace {

constexpr int64_t kSizes[] = {64, 512, 4096};
constexpr double kSampleRate = 48000.0;
constexpr float kAngle = 90.0f;
constexpr uint32_t kAnglePort = 4;

zelk::host::THostSession g_Vst2;
LilvWorld* g_World = nullptr;
LilvInstance* g_Lv2 = nullptr;
float g_Lv2Angle = kAngle;

std::vector<std::string> g_Uris;
LV2_URID MapUri(LV2_URID_Map_Handle, const char* uri) {
  const auto found = std::find(g_Uris.begin(), g_Uris.end(), uri);
  if (found != g_Uris.end()) return static_cast<LV2_URID>(found - g_Uris.begin() + 1);
  g_Uris.emplace_back(uri);
  return static_cast<LV2_URID>(g_Uris.size());
}

struct TChannels {
  explicit TChannels(int64_t frames) : Buffers(4, static_cast<int32_t>(frames)) { Buffers.FillNoise(11); }
  float** Inputs() { return Buffers.Pointers(); }
  float** Outputs() { return Buffers.Pointers() + 2; }
  zelk::tests::TAudioBuffers Buffers;
};

void ConnectLv2(TChannels& channels) {
  for (uint32_t channel = 0; channel < 2; ++channel) {
    lilv_instance_connect_port(g_Lv2, channel, channels.Inputs()[channel]);
    lilv_instance_connect_port(g_Lv2, 2 + channel, channels.Outputs()[channel]);
  }
  lilv_instance_connect_port(g_Lv2, kAnglePort, &g_Lv2Angle);
}

void BM_Vst2ProcessReplacing(benchmark::State& state) {
  const int64_t frames = state.range(0);
  TChannels channels(frames);
  AEffect* effect = g_Vst2.Effect();
  effect->setParameter(effect, 0, kAngle / 360.0f);
  for (auto _ : state) {
    effect->processReplacing(effect, channels.Inputs(), channels.Outputs(), static_cast<int32_t>(frames));
    benchmark::ClobberMemory();
  }
}

void BM_Lv2Run(benchmark::State& state) {
  const int64_t frames = state.range(0);
  TChannels channels(frames);
  ConnectLv2(channels);
  g_Lv2Angle = kAngle;
  for (auto _ : state) {
    lilv_instance_run(g_Lv2, static_cast<uint32_t>(frames));
    benchmark::ClobberMemory();
  }
}

// Alternating between two angles, as automation moves a parameter.
void BM_Vst2Automated(benchmark::State& state) {
  const int64_t frames = state.range(0);
  TChannels channels(frames);
  AEffect* effect = g_Vst2.Effect();
  bool odd = false;
  for (auto _ : state) {
    effect->setParameter(effect, 0, (odd ? kAngle + 1.0f : kAngle) / 360.0f);
    effect->processReplacing(effect, channels.Inputs(), channels.Outputs(), static_cast<int32_t>(frames));
    odd = !odd;
    benchmark::ClobberMemory();
  }
}

void BM_Lv2Automated(benchmark::State& state) {
  const int64_t frames = state.range(0);
  TChannels channels(frames);
  ConnectLv2(channels);
  bool odd = false;
  for (auto _ : state) {
    g_Lv2Angle = odd ? kAngle + 1.0f : kAngle;
    lilv_instance_run(g_Lv2, static_cast<uint32_t>(frames));
    odd = !odd;
    benchmark::ClobberMemory();
  }
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (const int64_t frames : kSizes) benchmark->Arg(frames);
}

BENCHMARK(BM_Vst2ProcessReplacing)->Apply(Sizes);
BENCHMARK(BM_Lv2Run)->Apply(Sizes);
BENCHMARK(BM_Vst2Automated)->Apply(Sizes);
BENCHMARK(BM_Lv2Automated)->Apply(Sizes);

// The console table, then each LV2 time as a multiple of the VST 2 time.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const std::string name = run.run_name.str();
      const size_t slash = name.rfind('/');
      const TKey key{name.substr(0, slash), std::stoll(name.substr(slash + 1))};
      const double nanoseconds = run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const auto entry = fastest_.try_emplace(key, nanoseconds).first;
      entry->second = std::min(entry->second, nanoseconds);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nCPU ns per block, fastest repetition; LV2 as a multiple of VST 2\n");
    std::printf("%7s %12s %12s %8s %12s %12s %8s  %s\n", "frames", "VST 2", "LV2", "ratio", "VST 2 aut.", "LV2 aut.",
                "ratio", "goal");
    for (const int64_t frames : kSizes) {
      const double vst2 = Time("BM_Vst2ProcessReplacing", frames);
      const double lv2 = Time("BM_Lv2Run", frames);
      const double vst2Automated = Time("BM_Vst2Automated", frames);
      const double lv2Automated = Time("BM_Lv2Automated", frames);
      if (vst2 <= 0.0 || lv2 <= 0.0) continue;
      const double ratio = lv2 / vst2;
      const char* goal = frames != 512 ? "" : ratio <= 1.05 ? "within 5 %: met" : "within 5 %: MISSED";
      std::printf("%7lld %12.1f %12.1f %8.3f %12.1f %12.1f %8.3f  %s\n", static_cast<long long>(frames), vst2, lv2,
                  ratio, vst2Automated, lv2Automated, vst2Automated > 0.0 ? lv2Automated / vst2Automated : 0.0, goal);
    }
  }

 private:
  double Time(const std::string& family, int64_t frames) const {
    const auto found = fastest_.find({family, frames});
    return found != fastest_.end() ? found->second : 0.0;
  }

  using TKey = std::pair<std::string, int64_t>;
  std::map<TKey, double> fastest_;
};

// The bundle's plug-in, instantiated and active; false with a message.
bool OpenLv2() {
  g_World = lilv_world_new();
  LilvNode* bundle = lilv_new_file_uri(g_World, nullptr, ZELK_BENCH_LV2_BUNDLE);
  lilv_world_load_bundle(g_World, bundle);
  lilv_node_free(bundle);
  LilvNode* uri = lilv_new_uri(g_World, "urn:kelmora:zelk-vorlan");
  const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(g_World), uri);
  lilv_node_free(uri);
  if (plugin == nullptr) {
    std::fprintf(stderr, "lv2_bench: no plug-in in %s\n", ZELK_BENCH_LV2_BUNDLE);
    return false;
  }
  static LV2_URID_Map map{nullptr, &MapUri};
  static const LV2_Feature mapFeature{LV2_URID__map, &map};
  static const LV2_Feature* features[] = {&mapFeature, nullptr};
  g_Lv2 = lilv_plugin_instantiate(plugin, kSampleRate, features);
  if (g_Lv2 == nullptr) return false;
  lilv_instance_activate(g_Lv2);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> arguments{argv[0], const_cast<char*>("--benchmark_enable_random_interleaving=true"),
                               const_cast<char*>("--benchmark_repetitions=12")};
  arguments.insert(arguments.end(), argv + 1, argv + argc);
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 1;
  if (!g_Vst2.Open(ZELK_BENCH_PLUGIN, {static_cast<float>(kSampleRate), static_cast<int32_t>(kSizes[2])})) {
    std::fprintf(stderr, "lv2_bench: %s\n", g_Vst2.ErrorText().c_str());
    return 1;
  }
  g_Vst2.Resume();
  if (!OpenLv2()) return 1;
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  lilv_instance_deactivate(g_Lv2);
  lilv_instance_free(g_Lv2);
  lilv_world_free(g_World);
  g_Vst2.Close();
  return 0;
}
