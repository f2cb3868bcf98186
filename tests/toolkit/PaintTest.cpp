// Painting composes only what was invalidated: the window paints the update
// rectangle, children without windows paint clipped to it and to
// themselves, and only that rectangle is presented.
#include "tests/toolkit/ToolkitTestSupport.h"

#include "toolkit/Panel.h"

namespace zelk::tests {
namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kRed = 0x00FF0000;

using Painting = ToolkitTest;

TEST_F(Painting, OnlyTheUpdateRectangleIsPaintedAndPresentedClippedToTheChild) {
  TProbe* probe = AddProbe({10, 10, 50, 30});
  windows.Pump();
  EXPECT_EQ(windows.PixelAt(Window(), 10, 10), kRed);
  EXPECT_EQ(windows.PixelAt(Window(), 9, 10), kWhite);
  EXPECT_EQ(probe->LastClipBox, (TRect{0, 0, 40, 20}));

  windows.ResetCounters();
  form->InvalidateRect({40, 25, 60, 35});
  windows.Pump();
  EXPECT_EQ(windows.PaintsDelivered(), 1u);
  EXPECT_EQ(windows.PresentedPixels(), 200u);
  EXPECT_EQ(probe->LastClipBox, (TRect{30, 15, 40, 20}));  // the update rectangle within the child
  EXPECT_EQ(windows.PixelAt(Window(), 45, 27), kRed);
  EXPECT_EQ(windows.PixelAt(Window(), 55, 27), kWhite);
}

TEST_F(Painting, ChildrenOutsideTheUpdateRectangleAreNotAskedToPaint) {
  TProbe* probe = AddProbe({10, 10, 50, 30});
  windows.Pump();
  const int paints = probe->Paints;
  form->InvalidateRect({100, 50, 110, 60});
  windows.Pump();
  EXPECT_EQ(probe->Paints, paints);
  probe->Invalidate();
  EXPECT_EQ(windows.PendingPaint(Window()), (TRect{10, 10, 50, 30}));
  windows.Pump();
  EXPECT_EQ(probe->Paints, paints + 1);
}

TEST_F(Painting, MovingOrHidingAChildRepaintsWhereItWas) {
  TProbe* probe = AddProbe({10, 10, 20, 20});
  windows.Pump();
  probe->SetBounds(30, 10, 10, 10);
  windows.Pump();
  EXPECT_EQ(windows.PixelAt(Window(), 15, 15), kWhite);
  EXPECT_EQ(windows.PixelAt(Window(), 35, 15), kRed);
  probe->Hide();
  windows.Pump();
  EXPECT_EQ(windows.PixelAt(Window(), 35, 15), kWhite);
}

// A panel has a window of its own: its children paint in it, at its
// coordinates, inside its bevel.
TEST_F(Painting, AChildOfAPanelPaintsInThePanelsWindow) {
  auto* panel = New<TPanel>(form.get());
  panel->SetBounds(100, 20, 60, 40);
  panel->SetParent(form.get());
  TProbe* probe = AddProbe({0, 0, 10, 10}, panel);
  probe->SetAlign(TAlign::alClient);
  windows.Pump();
  EXPECT_EQ(probe->BoundsRect(), (TRect{1, 1, 59, 39}));
  EXPECT_EQ(windows.ParentOf(panel->Handle()), Window());
  EXPECT_EQ(windows.PixelAt(panel->Handle(), 1, 1), kRed);
  EXPECT_EQ(windows.PixelAt(panel->Handle(), 0, 0), 0x00FFFFFFu);  // the light edge of the raised bevel
  EXPECT_EQ(windows.PixelAt(panel->Handle(), 59, 39), 0x00808080u);  // the shadow edge
}

}  // namespace
}  // namespace zelk::tests
