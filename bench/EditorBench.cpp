// The editor's cost to the host's user-interface thread, on the headless
// window system, through the module's effect record:
//
//   BM_ProductEditorOpen         the product's effEditOpen: the form resource
//                                read, both pictures decompressed, the first
//                                full paint presented (goal: at most 20 ms);
//   BM_ProductEditorIdle         the product's effEditIdle with no parameter
//                                change since the last one (goal: at most 100 ns);
//   BM_ProductEditorDragStep     one step of a drag on the knob, painted and
//                                presented (goal: at scale 2 within 4 times
//                                the time of scale 1);
//   BM_ProductEditorDragStepAndIdle  the same step followed by the idle call
//                                hosts make between steps (counter
//                                "pixels_per_step": what both presented; the
//                                idle call adds nothing, the editor's own
//                                change is not shown back to it);
//   BM_ProductEditorMemory       heap bytes one open, painted editor holds
//                                (counter "held_MB"; goal: at most 4 MB);
//   BM_EditorIdleNothingChanged  the framework's idle path alone, with a plain
//                                245 x 269 form;
//   BM_EditorOpenClose           embedding, first paint and closing of that
//                                plain form.
// The product's benchmarks take the host's content scale as their argument
// (1: the usual editor, 2: the one of twice the size).
//
// Hosts call effEditIdle tens of times a second for as long as the editor is
// open, so the idle call must return without painting anything.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "editorhost/FormEditor.h"
#include "effect/LibraryStart.h"
#include "framework/VSTModule.h"
#include "platform/headless/HeadlessWindows.h"
#include "tests/support/AllocationCounting.h"
#include "toolkit/Form.h"
#include "toolkit/Panel.h"
#include "toolkit/Toolkit.h"

namespace {

using namespace zelk;

intptr_t AnswerAsHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// The product as the entry point makes it, with a host window to open in.
struct THostedProduct {
  explicit THostedProduct(float scale = 1.0f) {
    StartLibrary();
    Effect = CreateEffect(&AnswerAsHost);
    Host = platform::HeadlessWindows().CreateForeignWindow({0, 0, 600, 600});
    Effect->setParameter(Effect, 0, 0.25f);
    if (Effect != nullptr) {
      Effect->dispatcher(Effect, effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, scale);
    }
  }
  ~THostedProduct() {
    if (Effect != nullptr) Dispatch(effClose);
    platform::HeadlessWindows().DestroyWindow(Host);
  }
  intptr_t Dispatch(int32_t opcode, void* ptr = nullptr) {
    return Effect->dispatcher(Effect, opcode, 0, 0, ptr, 0.0f);
  }
  // Opens and paints the editor; false when it does not open.
  bool Open() {
    if (Effect == nullptr || Dispatch(effEditOpen, reinterpret_cast<void*>(Host)) != 1) return false;
    platform::HeadlessWindows().Pump();
    return true;
  }

  AEffect* Effect = nullptr;
  TNativeWindow Host = 0;
};

void BM_ProductEditorOpen(benchmark::State& state) {
  THostedProduct product(static_cast<float>(state.range(0)));
  for (auto _ : state) {
    if (!product.Open()) {
      state.SkipWithError("the editor did not open");
      break;
    }
    state.PauseTiming();
    product.Dispatch(effEditClose);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ProductEditorOpen)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ProductEditorIdle(benchmark::State& state) {
  THostedProduct product(static_cast<float>(state.range(0)));
  if (!product.Open()) {
    state.SkipWithError("the editor did not open");
    return;
  }
  product.Dispatch(effEditIdle);
  platform::HeadlessWindows().Pump();
  for (auto _ : state) benchmark::DoNotOptimize(product.Dispatch(effEditIdle));
}
BENCHMARK(BM_ProductEditorIdle)->Arg(1)->Arg(2);

// The knob is grabbed at its cap and the pointer circles it a degree a
// step, at the editor's scale; each step is painted and presented.
// With idleBetween, each step is followed by the host's idle call.
void DragKnob(benchmark::State& state, bool idleBetween) {
  const int scale = static_cast<int>(state.range(0));
  THostedProduct product(static_cast<float>(scale));
  if (!product.Open()) {
    state.SkipWithError("the editor did not open");
    return;
  }
  auto& windows = platform::HeadlessWindows();
  const TPoint centre{245 * scale / 2, 269 * scale / 2};
  const auto pointAt = [&](int degrees) {
    const double radians = degrees * M_PI / 180.0;
    return TPoint{centre.X + static_cast<int32_t>(std::lround(50 * scale * std::sin(radians))),
                  centre.Y - static_cast<int32_t>(std::lround(50 * scale * std::cos(radians)))};
  };
  windows.PressMouse(product.Host, {centre.X, centre.Y - 40 * scale});
  windows.ResetCounters();
  int angle = 0;
  for (auto _ : state) {
    angle = (angle + 1) % 360;
    windows.MoveMouse(product.Host, pointAt(angle));
    windows.Pump();
    if (idleBetween) product.Dispatch(effEditIdle);
  }
  state.counters["pixels_per_step"] =
      static_cast<double>(windows.PresentedPixels()) / static_cast<double>(state.iterations());
  windows.ReleaseMouse(product.Host, pointAt(angle));
}

void BM_ProductEditorDragStep(benchmark::State& state) { DragKnob(state, false); }
BENCHMARK(BM_ProductEditorDragStep)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_ProductEditorDragStepAndIdle(benchmark::State& state) { DragKnob(state, true); }
BENCHMARK(BM_ProductEditorDragStepAndIdle)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_ProductEditorMemory(benchmark::State& state) {
  THostedProduct product;
  product.Open();  // what lives as long as the process is in place after one opening
  product.Dispatch(effEditClose);
  int64_t held = 0;
  for (auto _ : state) {
    const int64_t before = tests::LiveAllocatedBytes();
    if (!product.Open()) {
      state.SkipWithError("the editor did not open");
      break;
    }
    held = tests::LiveAllocatedBytes() - before;
    product.Dispatch(effEditClose);
  }
  state.counters["held_MB"] = static_cast<double>(held) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ProductEditorMemory)->Iterations(5)->Unit(benchmark::kMillisecond);

class TEditorMaker : public TObject {
 public:
  void Open(TObject*, TComponent*& gui) {
    auto* form = New<TForm>(nullptr);
    form->SetBounds(0, 0, 245, 269);
    auto* panel = New<TPanel>(form);
    panel->SetAlign(TAlign::alClient);
    panel->SetParent(form);
    gui = form;
  }
};

struct THostedModule {
  THostedModule() {
    InitializeToolkit();
    RegisterFormEditor();
    Module.reset(New<TVST2Module>(nullptr));
    Module->SetFlags({pfHasEditor});
    Module->OnEditOpen = TGetEditorEvent::Bind<&TEditorMaker::Open>(&Maker);
    Host = platform::HeadlessWindows().CreateForeignWindow({0, 0, 400, 400});
  }
  ~THostedModule() {
    Module.reset();
    platform::HeadlessWindows().DestroyWindow(Host);
  }
  intptr_t Dispatch(int32_t opcode, void* ptr = nullptr) {
    return Module->Effect.dispatcher(&Module->Effect, opcode, 0, 0, ptr, 0.0f);
  }
  void Open() { Dispatch(effEditOpen, reinterpret_cast<void*>(Host)); }

  TEditorMaker Maker;
  std::unique_ptr<TVST2Module, TFreeObject> Module;
  TNativeWindow Host = 0;
};

void BM_EditorIdleNothingChanged(benchmark::State& state) {
  THostedModule hosted;
  hosted.Open();
  platform::HeadlessWindows().Pump();
  for (auto _ : state) benchmark::DoNotOptimize(hosted.Dispatch(effEditIdle));
}
BENCHMARK(BM_EditorIdleNothingChanged);

void BM_EditorOpenClose(benchmark::State& state) {
  THostedModule hosted;
  for (auto _ : state) {
    hosted.Open();
    platform::HeadlessWindows().Pump();
    hosted.Dispatch(effEditClose);
  }
}
BENCHMARK(BM_EditorOpenClose)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
