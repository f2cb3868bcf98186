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

#include <cmath>
#include <memory>
#include <string>

#include "controls/ControlsLibrary.h"
#include "controls/DIBContainer.h"
#include "controls/DIBDial.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/DIBImages.h"
#include "dib/DIBImagesItem.h"
#include "dib/DIBLibrary.h"
#include "dib/PictureLoader.h"
#include "platform/headless/HeadlessWindows.h"
#include "toolkit/Form.h"
#include "toolkit/Toolkit.h"

namespace {

using namespace zelk;

template <class T>
using TPtr = std::unique_ptr<T, TFreeObject>;

void AddPicture(TDIBImageList& list, const std::string& file) {
  TAbstractSuperDIB* dib = list.DIBImages()->Add()->DIB();
  dib->ImportPicture(LoadPictureFile(std::string(ZELK_BENCH_PICTURES) + "/" + file), file);
}

// The product's editor: 245 x 269, a container filled by the dial, the cap
// (image 0, black transparent) and the background (image 1).
struct TEditor {
  TEditor() {
    InitializeToolkit();
    InitializeDIBLibrary();
    InitializeControlsLibrary();
    form.reset(New<TForm>(nullptr));
    form->SetBounds(0, 0, 245, 269);
    container = New<TDIBImageContainer>(form.get());
    container->SetParent(form.get());
    container->SetAlign(TAlign::alClient);
    list = New<TDIBImageList>(form.get());
    AddPicture(*list, "Zelk1.png");
    AddPicture(*list, "ZVBack.png");
    TAbstractSuperDIB* cap = list->DIBImages()->Item(0)->DIB();
    cap->SetTransparentColor(0);
    cap->SetTransparentMode(TTransparentMode::tmFixed);
    cap->SetTransparent(true);
    dial = New<TDIBDial>(form.get());
    dial->SetParent(container);
    dial->SetAlign(TAlign::alClient);
    dial->SetMax(359);
    dial->PointerAngles()->SetRange(359);
    dial->PointerOpacities()->SetActive(180);
    dial->SetPointerRadius(10);
    dial->SetPointerRotate(true);
    dial->SetDIBImageList(list);
    dial->IndexMain()->SetDIBIndex(1);
    dial->IndexPointer()->SetDIBIndex(0);
    form->Show();
    windows.Pump();
  }
  ~TEditor() {
    form.reset();
    windows.SetCapture(0);
  }
  // A point 100 pixels from the centre in the direction of angle.
  TPoint PointAt(int angle) const {
    const double radians = (angle - 90) * 3.14159265358979323846 / 180.0;
    return {122 + static_cast<int32_t>(std::lround(100 * std::cos(radians))),
            134 + static_cast<int32_t>(std::lround(100 * std::sin(radians)))};
  }

  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
  TPtr<TForm> form;
  TDIBImageContainer* container = nullptr;
  TDIBImageList* list = nullptr;
  TDIBDial* dial = nullptr;
};

void BM_KnobDragFrame(benchmark::State& state) {
  TEditor editor;
  const TNativeWindow window = editor.container->Handle();
  editor.windows.PressMouse(window, {122, 100});  // on the cap
  if (!editor.dial->Dragging()) {
    state.SkipWithError("the press did not grab the cap");
    return;
  }
  int angle = 0;
  editor.windows.ResetCounters();
  for (auto _ : state) {
    angle = (angle + 1) % 360;
    editor.windows.MoveMouse(window, editor.PointAt(angle));
    editor.windows.Pump();
  }
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(editor.windows.PresentedPixels()),
                                                benchmark::Counter::kAvgIterations);
  editor.windows.ReleaseMouse(window, editor.PointAt(angle));
  benchmark::DoNotOptimize(editor.dial->Position());
}
BENCHMARK(BM_KnobDragFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
