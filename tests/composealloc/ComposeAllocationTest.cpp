// Composing a frame must not allocate once the first frame is painted: the
// buffer, the scratch image and every drawing path keep what they need. This
// binary replaces the global allocation functions to count the allocations
// made while a measurement is open.
#include <gtest/gtest.h>

#include "controls/DIBBorder.h"
#include "dib/DIBImageLink.h"
#include "tests/controls/DIBControlTestSupport.h"
#include "tests/support/AllocationCounting.h"

namespace zelk::tests {
namespace {

using ComposeAllocation = DIBControlTest;

// Takes the container's window procedure and counts what its paint
// messages allocate; the window system's own bookkeeping stays outside.
struct TPaintCounter : TObject {
  TControl* Target = nullptr;
  int Paints = 0;
  int Allocations = 0;
  void Hook(TMessage& message) {
    if (message.Msg != wmPaint) return Target->WndProc(message);
    ++Paints;
    TAllocationCount count;
    Target->WndProc(message);
    Allocations += count.Stop();
  }
};

TEST_F(ComposeAllocation, ComposingAgainAllocatesNothing) {
  auto picture = MakePattern(30, 25, 4);
  container->IndexImage()->SetDIBIndex(AddImage(*picture));
  container->SetTileMethod(TTileMethod::tmTile);
  std::unique_ptr<TDIBBorder, TFreeObject> border(New<TDIBBorder>(nullptr));
  border->SetDIBImageList(list.get());
  border->BorderTop()->ImageMiddle()->SetDIBIndex(AddImage(*MakePattern(8, 4, 5)));
  container->SetDIBBorder(border.get());
  TSwatch* small = AddSwatch({5, 5, 25, 25});
  TSwatch* large = AddSwatch({20, 10, 90, 55});
  large->SetOpacity(128);
  small->Picture = picture.get();
  container->Invalidate();
  windows.Pump();  // the first frame sizes everything

  TPaintCounter counter;
  counter.Target = container;
  container->WindowProc = TWndMethod::Bind<&TPaintCounter::Hook>(&counter);
  for (const TRect& area : {TRect{0, 0, 100, 60}, TRect{40, 20, 60, 40}, TRect{0, 0, 100, 60}}) {
    container->InvalidateRect(area);
    counter.Allocations = 0;
    windows.Pump();
    EXPECT_EQ(counter.Allocations, 0) << area.Left;
  }
  EXPECT_EQ(counter.Paints, 3);
  EXPECT_GT(windows.PresentedPixels(), 0u);
}

}  // namespace
}  // namespace zelk::tests
