// What a host does with every plug-in at every start when it scans them:
// load the library, find its entry point and call it once (the first
// `main`, which creates an effect). Each iteration loads the plug-in afresh
// (the previous one was closed with effClose and unloaded), so the time
// includes mapping the library and the libraries it needs, its start, and
// the first module. Closing is not timed. This program links no window or
// picture library itself, as many hosts don't.
//
// Goal: load plus the first main at most 1.5 ms.
//
// The plug-in is $ZELK_PLUGIN when set, else the Zelk library of this build.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "framework/VstInterface.h"
#include "tests/support/PluginPath.h"
#include "tools/common/PluginLibrary.h"

namespace {

intptr_t ZELK_VST_CALL AnswerLikeAHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// Whether a library of that file name is mapped into this process.
bool IsMapped(const std::string& path) {
  const std::string name = path.substr(path.find_last_of('/') + 1);
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.ends_with("/" + name)) return true;
  }
  return false;
}

void BM_LoadAndFirstMain(benchmark::State& state) {
  const std::string path = zelk::tests::PluginPath(ZELK_BENCH_PLUGIN);
  for (auto _ : state) {
    zelk::host::TPluginLibrary library;
    if (!library.Open(path)) {
      state.SkipWithError(("cannot load the plug-in: " + library.ErrorText()).c_str());
      break;
    }
    const VstPluginMainProc entry = library.FindEntryPoint();
    AEffect* effect = entry != nullptr ? entry(&AnswerLikeAHost) : nullptr;
    if (effect == nullptr) {
      state.SkipWithError("the plug-in made no effect");
      break;
    }
    state.PauseTiming();
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    library.Close();
    state.ResumeTiming();
  }
  // A library that stays mapped would be measured as a second load only.
  if (IsMapped(path)) state.SkipWithError("the plug-in stayed loaded after closing: the figures are not fresh loads");
}
// Few iterations: each load leaves the C++ runtime's small process-lifetime
// allocations of the plug-in behind.
BENCHMARK(BM_LoadAndFirstMain)->Unit(benchmark::kMicrosecond)->Iterations(200)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
