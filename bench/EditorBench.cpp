// The editor's cost to the host's user-interface thread, on the headless
// window system, through the module's effect record:
//
//   BM_EditorIdleNothingChanged  effEditIdle with no parameter change since
//                                the last one (goal: at most 1 us);
//   BM_EditorOpenClose           effEditOpen, first full paint, effEditClose
//                                of a 245 x 269 form with a client panel.
//
// Hosts call effEditIdle tens of times a second for as long as the editor is
// open, so the idle call must return without painting anything.

#include <benchmark/benchmark.h>

#include <memory>

#include "framework/VSTModule.h"
#include "platform/headless/HeadlessWindows.h"
#include "toolkit/Form.h"
#include "toolkit/Panel.h"
#include "toolkit/Toolkit.h"

namespace {

using namespace zelk;

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
