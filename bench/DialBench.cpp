// One frame of turning the product's knob on the headless backend: the
// mouse moves while the cap is held, the dial takes the new position, and
// the container composes the changed rectangle (background, rotated cap
// blended at the held opacity) and presents it. Each iteration moves one
// degree on, so every frame rotates the cap anew.
//
// Goal on the development machine: at most 60 us per frame. The counter
// "pixels" is the pixels presented per frame: the cap's area before and
// after the move, not the whole 245 x 269 form.

#include <benchmark/benchmark.h>

#include "bench/KnobEditor.h"
#include "platform/headless/HeadlessWindows.h"

namespace zelk::bench {
namespace {

void BM_KnobDragFrame(benchmark::State& state) {
  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
  TKnobEditor editor;
  windows.Pump();
  const TNativeWindow window = editor.Container().Handle();
  windows.PressMouse(window, TKnobEditor::OnTheCap());
  if (!editor.Dial().Dragging()) {
    state.SkipWithError("the press did not grab the cap");
    return;
  }
  int angle = 0;
  windows.ResetCounters();
  for (auto _ : state) {
    angle = (angle + 1) % 360;
    windows.MoveMouse(window, TKnobEditor::PointAt(angle));
    windows.Pump();
  }
  state.counters["pixels"] =
      benchmark::Counter(static_cast<double>(windows.PresentedPixels()), benchmark::Counter::kAvgIterations);
  windows.ReleaseMouse(window, TKnobEditor::PointAt(angle));
  windows.SetCapture(0);
  benchmark::DoNotOptimize(editor.Dial().Position());
}
BENCHMARK(BM_KnobDragFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zelk::bench

BENCHMARK_MAIN();
