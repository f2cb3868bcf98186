// Container composing speed: a 245 x 269 image container with its centred
// background picture and one 195 x 222 control drawing a keyed (transparent)
// picture, composed into the buffer and copied to a target surface. Goals:
// the full frame within 150 microseconds, a 20 x 20 update rectangle within
// 2 microseconds (it costs its own pixels, nothing per child or frame).
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/ControlsLibrary.h"
#include "controls/DIBContainer.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/DIBImages.h"
#include "dib/DIBImagesItem.h"
#include "dib/MemoryDIB.h"
#include "dib/WinDIB.h"
#include "platform/Canvas.h"
#include "platform/Surface.h"
#include "runtime/ClassBuilder.h"
#include "toolkit/Form.h"
#include "toolkit/Toolkit.h"

namespace zelk {
namespace {

// Draws its picture, keyed on black, as the knob does.
class TPictureControl : public TCustomDIBControl {
  ZELK_CLASS(TPictureControl, TCustomDIBControl)
  using TCustomDIBControl::TCustomDIBControl;
  TAbstractSuperDIB* Picture = nullptr;
  void PaintDIB() override { Picture->Draw(0, 0, Picture->Width(), Picture->Height(), *ControlDIB(), 0, 0); }
};

const TClassInfo& TPictureControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPictureControl>("TPictureControl").Build();
  return info;
}

void Paint(TMemoryDIB& dib, uint32_t seed, bool keyedCircle) {
  for (int32_t y = 0; y < dib.Height(); ++y) {
    for (int32_t x = 0; x < dib.Width(); ++x) {
      const int32_t dx = x - dib.Width() / 2;
      const int32_t dy = y - dib.Height() / 2;
      const bool outside = keyedCircle && dx * dx + dy * dy > 95 * 95;
      dib.SetPixel(x, y, outside ? 0xFF000000u : 0xFF000000u | ((x * 7 + seed) & 0xFF) << 16 | (y & 0xFF) << 8 | 0x40);
    }
  }
}

struct TScene {
  TScene() {
    InitializeToolkit();
    InitializeControlsLibrary();
    form.reset(New<TForm>(nullptr));
    form->SetBounds(0, 0, 245, 269);
    list.reset(New<TDIBImageList>(nullptr));
    TDIBImagesItem* background = list->DIBImages()->Add();
    background->DIB()->SetSize(245, 269);
    Paint(*background->DIB(), 3, false);
    container = New<TDIBImageContainer>(form.get());
    container->SetBounds(0, 0, 245, 269);
    container->SetParent(form.get());
    container->SetDIBImageList(list.get());
    container->IndexImage()->SetDIBIndex(0);
    knob.reset(New<TMemoryDIB>());
    knob->SetSize(195, 222);
    Paint(*knob, 11, true);
    knob->SetTransparentMode(TTransparentMode::tmFixed);
    knob->SetTransparentColor(0);
    knob->SetTransparent(true);
    auto* control = New<TPictureControl>(form.get());
    control->SetBounds(25, 23, 195, 222);
    control->Picture = knob.get();
    control->SetParent(container);
    target = platform::SurfaceFactory().CreateSurface(245, 269);
    Compose({0, 0, 245, 269});  // the first frame sizes everything
  }
  void Compose(const TRect& area) {
    platform::TCanvas canvas;
    canvas.Bind(target.get());
    const int depth = canvas.SaveState();
    canvas.IntersectClipRect(area);
    container->Perform(wmPaint, target->Handle(), 0);
    canvas.RestoreState(depth);
  }

  std::unique_ptr<TForm, TFreeObject> form;
  std::unique_ptr<TDIBImageList, TFreeObject> list;
  std::unique_ptr<TMemoryDIB, TFreeObject> knob;
  std::unique_ptr<platform::TSurface> target;
  TDIBImageContainer* container = nullptr;
};

TScene& Scene() {
  static TScene scene;
  return scene;
}

void BM_ComposeFullFrame(benchmark::State& state) {
  TScene& scene = Scene();
  for (auto _ : state) scene.Compose({0, 0, 245, 269});
  benchmark::DoNotOptimize(scene.container->Buffer()->Bits());
}
BENCHMARK(BM_ComposeFullFrame)->Unit(benchmark::kMicrosecond);

void BM_ComposeUpdateRect20x20(benchmark::State& state) {
  TScene& scene = Scene();
  for (auto _ : state) scene.Compose({110, 120, 130, 140});
  benchmark::DoNotOptimize(scene.container->Buffer()->Bits());
}
BENCHMARK(BM_ComposeUpdateRect20x20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zelk

BENCHMARK_MAIN();
