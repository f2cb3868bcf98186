// The editor's frames through the X11 window system on a real server: a
// knob-drag frame (real pointer motion read by the idle call, the dial's
// changed area composed and copied to the screen, the call waiting for the
// server), through a shared image and through plain requests, and the idle
// call of an editor where nothing changed, which a host makes about 30 times a second. The server is
// $DISPLAY when that opens (`xvfb-run -a build/bench/x11_bench`, a desktop);
// otherwise the program starts a virtual one of its own (scripts/x11-server).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "bench/KnobEditor.h"
#include "platform/Backend.h"
#include "platform/x11/X11HostDisplay.h"
#include "platform/x11/X11Windows.h"

namespace zelk::bench {
namespace {

// The product's knob in a host's top-level window on the server.
class TKnobOnScreen {
 public:
  bool Open() {
    if (!host_.IsOpen()) return false;
    InitializeToolkit();
    scope_.emplace();
    (*scope_)->Windows = &platform::X11Windows();
    parent_ = host_.CreateTopLevel(245, 269, "bench");
    editor_.emplace(parent_);
    // The first paint, and the exposure that mapping the window brings.
    Settle();
    return true;
  }
  ~TKnobOnScreen() {
    editor_.reset();
    if (parent_ != 0) host_.DestroyWindow(parent_);
  }
  // The server has taken everything the host sent so far.
  void SyncHost() { host_.Sync(); }
  // One idle call after that.
  void Step() {
    SyncHost();
    platform::X11Windows().Pump();
  }
  void Settle() {
    for (int call = 0; call < 3; ++call) Step();
  }
  // Real pointer input, as a user gives it, through the server.
  void MovePointer(TPoint point) { host_.MovePointer(parent_, point); }
  void PressButton() { host_.PressButton(1); }
  void ReleaseButton() { host_.ReleaseButton(1); }
  TKnobEditor& Editor() { return *editor_; }

 private:
  platform::TX11HostDisplay host_;
  std::optional<platform::TBackendScope> scope_;
  TNativeWindow parent_ = 0;
  std::optional<TKnobEditor> editor_;
};

// One frame of turning the knob: the pointer moves a degree on while the cap
// is held (not timed: that is the host's part), the idle call reads the motion, the dial turns, the container
// composes the cap's area before and after and presents it, and the call
// waits for the server. Argument 1: through a shared image; 0: plain
// requests.
void BM_KnobDragFrame(benchmark::State& state) {
  auto& windows = platform::X11Windows();
  windows.SetSharedMemoryAllowed(state.range(0) != 0);
  TKnobOnScreen screen;
  if (!screen.Open()) {
    state.SkipWithError("the X server no longer opens");
    return;
  }
  if (state.range(0) != 0 && !windows.UsesSharedMemory()) {
    state.SkipWithError("the server offers no shared memory (MIT-SHM)");
    return;
  }
  screen.MovePointer(TKnobEditor::OnTheCap());
  screen.PressButton();
  screen.Settle();
  if (!screen.Editor().Dial().Dragging()) {
    state.SkipWithError("the press did not grab the cap");
    return;
  }
  int angle = 0;
  const uint64_t presentedBefore = windows.PresentedPixels();
  std::clock_t editorCpu = 0;
  for (auto _ : state) {
    // The host's side, a user moving the pointer, is not the editor's cost:
    // only the idle call is timed, in wall time (which holds the one wait
    // for the server that puts the pixels on the screen) and in processor
    // time of this process.
    angle = (angle + 1) % 360;
    screen.MovePointer(TKnobEditor::PointAt(angle));
    screen.SyncHost();
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    platform::X11Windows().Pump();
    editorCpu += std::clock() - cpuStart;
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["editor_cpu_us"] = benchmark::Counter(1e6 * static_cast<double>(editorCpu) / CLOCKS_PER_SEC,
                                                       benchmark::Counter::kAvgIterations);
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(windows.PresentedPixels() - presentedBefore),
                                                benchmark::Counter::kAvgIterations);
  state.SetLabel(windows.UsesSharedMemory() ? "shared memory" : "plain requests");
  screen.ReleaseButton();
  screen.Settle();
  windows.SetSharedMemoryAllowed(true);
}
BENCHMARK(BM_KnobDragFrame)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMicrosecond);

// CPU of an idle editor: the time of one idle call times 30 a second.
void BM_IdleCall(benchmark::State& state) {
  TKnobOnScreen screen;
  if (!screen.Open()) {
    state.SkipWithError("the X server no longer opens");
    return;
  }
  auto& windows = platform::X11Windows();
  const uint64_t presented = windows.PresentedPixels();
  for (auto _ : state) windows.Pump();
  if (windows.PresentedPixels() != presented) state.SkipWithError("an idle call presented pixels");
  // Seconds per call x 30 calls x 100 per cent.
  state.counters["core_percent_at_30Hz"] = benchmark::Counter(static_cast<double>(state.iterations()) / 3000.0,
                                                              benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_IdleCall)->Unit(benchmark::kMicrosecond);

// The server the cases draw on: $DISPLAY when it opens (a server just
// started may take a moment), else a virtual server of the program's own.
class TBenchServer {
 public:
  TBenchServer() {
    if (std::getenv("DISPLAY") != nullptr && Opens(std::chrono::seconds(2))) return;
    file_ = (std::filesystem::temp_directory_path() / ("x11_bench-display-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))).string();
    if (std::system(("bash '" ZELK_BENCH_X11_SERVER "' start '" + file_ + "'").c_str()) != 0) {
      problem_ = "no X server: $DISPLAY does not open and " ZELK_BENCH_X11_SERVER " started none (is Xvfb installed?)";
      return;
    }
    std::string display;
    std::ifstream(file_) >> display;
    setenv("DISPLAY", display.c_str(), 1);
    if (!Opens(std::chrono::seconds(2))) problem_ = "no X server: the server started at " + display + " does not open";
  }
  ~TBenchServer() {
    if (!file_.empty()) std::system(("bash '" ZELK_BENCH_X11_SERVER "' stop '" + file_ + "'").c_str());
  }
  TBenchServer(const TBenchServer&) = delete;
  TBenchServer& operator=(const TBenchServer&) = delete;
  // Empty when the server opens.
  const std::string& Problem() const { return problem_; }

 private:
  static bool Opens(std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    for (;;) {
      if (platform::TX11HostDisplay().IsOpen()) return true;
      if (std::chrono::steady_clock::now() > giveUp) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }

  std::string file_;  // names the server started here
  std::string problem_;
};

}  // namespace
}  // namespace zelk::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const zelk::bench::TBenchServer server;
  if (!server.Problem().empty()) {
    std::fprintf(stderr, "x11_bench: %s\n", server.Problem().c_str());
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
