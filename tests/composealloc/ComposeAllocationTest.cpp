// Composing a frame must not allocate once the first frame is painted: the
// buffer, the scratch image and every drawing path keep what they need. This
// binary replaces the global allocation functions to count the allocations
// made while a measurement is open.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "controls/DIBBorder.h"
#include "dib/DIBImageLink.h"
#include "tests/controls/DIBControlTestSupport.h"

namespace {

bool countingAllocations = false;
int allocationCount = 0;

void* Allocate(std::size_t size) {
  if (countingAllocations) ++allocationCount;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace zelk::tests {
namespace {

using ComposeAllocation = DIBControlTest;

// Takes the container's window procedure and counts what its paint
// messages allocate; the window system's own bookkeeping stays outside.
struct TPaintCounter : TObject {
  TControl* Target = nullptr;
  int Paints = 0;
  void Hook(TMessage& message) {
    if (message.Msg != wmPaint) return Target->WndProc(message);
    ++Paints;
    countingAllocations = true;
    Target->WndProc(message);
    countingAllocations = false;
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
    allocationCount = 0;
    windows.Pump();
    EXPECT_EQ(allocationCount, 0) << area.Left;
  }
  EXPECT_EQ(counter.Paints, 3);
  EXPECT_GT(windows.PresentedPixels(), 0u);
}

}  // namespace
}  // namespace zelk::tests
