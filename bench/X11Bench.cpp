// The editor's frames through the X11 window system on a real server: a
// knob-drag frame (the knob's rectangle invalidated, composed and copied to
// the screen, the idle call waiting for the server), through a shared image
// and through plain requests, and the idle call of an editor where nothing
// changed, which a host makes about 30 times a second. The server is
// $DISPLAY when that opens (`xvfb-run -a build/bench/x11_bench`, a desktop);
// otherwise the program starts a virtual one of its own (scripts/x11-server).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Backend.h"
#include "platform/x11/X11HostDisplay.h"
#include "platform/x11/X11Windows.h"
#include "runtime/ClassBuilder.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Toolkit.h"

namespace zelk::bench {

// A picture the size of the editor's knob, drawn as it is every frame.
class TKnobPicture : public TGraphicControl {
  ZELK_CLASS(TKnobPicture, TGraphicControl)

  explicit TKnobPicture(TComponent* owner) : TGraphicControl(owner) {}
  std::vector<uint32_t> Pixels;

 protected:
  void Paint() override { Canvas()->DrawPixels(0, 0, Width(), Height(), Pixels.data()); }
};

const TClassInfo& TKnobPicture::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKnobPicture>("TKnobPicture").Build();
  return info;
}

namespace {

constexpr int32_t kEditorWidth = 245;
constexpr int32_t kEditorHeight = 269;
constexpr TRect kKnob{25, 37, 25 + 195, 37 + 195};  // the knob cap's size, scaled to the editor

// An editor-sized form with a knob-sized picture in a host's window.
class TEditorOnScreen {
 public:
  bool Open() {
    if (!host_.IsOpen()) return false;
    InitializeToolkit();
    scope_.emplace();
    (*scope_)->Windows = &platform::X11Windows();
    parent_ = host_.CreateTopLevel(kEditorWidth, kEditorHeight, "bench");
    form_.reset(New<TCustomForm>(nullptr, TCustomForm::TCreateNew{}));
    form_->SetBounds(0, 0, kEditorWidth, kEditorHeight);
    auto* knob = New<TKnobPicture>(form_.get());
    knob->Pixels.resize(static_cast<size_t>(kKnob.Width()) * kKnob.Height());
    for (size_t index = 0; index < knob->Pixels.size(); ++index) knob->Pixels[index] = 0xFF000000u | (index * 2654435761u);
    knob->SetBounds(kKnob.Left, kKnob.Top, kKnob.Width(), kKnob.Height());
    knob->SetParent(form_.get());
    form_->SetParentWindow(parent_);
    form_->SetBorderStyle(TFormBorderStyle::bsNone);
    form_->Show();
    // The first paint, and the exposure that mapping the window brings.
    for (int call = 0; call < 3; ++call) {
      platform::X11Windows().Pump();
      host_.Sync();
    }
    return true;
  }
  ~TEditorOnScreen() {
    form_.reset();
    if (parent_ != 0) host_.DestroyWindow(parent_);
  }
  TCustomForm& Form() { return *form_; }

 private:
  platform::TX11HostDisplay host_;
  std::optional<platform::TBackendScope> scope_;
  TNativeWindow parent_ = 0;
  std::unique_ptr<TCustomForm, TFreeObject> form_;
};

void BM_KnobDragFrame(benchmark::State& state) {
  TEditorOnScreen editor;
  if (!editor.Open()) {
    state.SkipWithError("the X server no longer opens");
    return;
  }
  platform::X11Windows().SetSharedMemoryAllowed(state.range(0) != 0);
  auto& windows = platform::X11Windows();
  if (state.range(0) != 0 && !windows.UsesSharedMemory()) {
    state.SkipWithError("the server offers no shared memory (MIT-SHM)");
    return;
  }
  for (auto _ : state) {
    editor.Form().InvalidateRect(kKnob);
    windows.Pump();
  }
  state.SetLabel(windows.UsesSharedMemory() ? "shared memory" : "plain requests");
  windows.SetSharedMemoryAllowed(true);
}
BENCHMARK(BM_KnobDragFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// CPU of an idle editor: the time of one idle call times 30 a second.
void BM_IdleCall(benchmark::State& state) {
  TEditorOnScreen editor;
  if (!editor.Open()) {
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
