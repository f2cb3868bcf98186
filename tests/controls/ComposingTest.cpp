// The container composes its frame in its buffer from the background, the
// image-drawn children and the border, within the update rectangle only,
// and presents exactly that rectangle. Every frame is checked whole against
// one computed pixel by pixel by the reference routines, with the buffer
// poisoned beforehand so that a pixel written outside the update rectangle
// shows.
#include "controls/DIBBorder.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImages.h"
#include "dib/WinDIB.h"
#include "platform/SystemColors.h"
#include "runtime/ClassBuilder.h"
#include "tests/controls/DIBControlTestSupport.h"

namespace zelk::tests {
namespace {

using Composing = DIBControlTest;

const TRect kWhole{0, 0, 100, 60};
const TRect kInner{23, 7, 61, 44};

// Paints area over a poisoned buffer and checks buffer and window against
// expected, which holds the poison outside area.
#define EXPECT_COMPOSED(area, expected)                                              \
  do {                                                                               \
    windows.ResetCounters();                                                         \
    PoisonAndPaint(area);                                                            \
    EXPECT_EQ(Differences(expected, FrameOf(*container->Buffer()), kWhole), "");    \
    EXPECT_EQ(Differences(expected, Presented(area), area), "");                     \
    EXPECT_EQ(windows.PresentedPixels(), static_cast<uint64_t>((area).Width()) * (area).Height()); \
  } while (false)

// The frame expected for area: the poison outside it, the background and the
// children inside.
TFrame Expected(const TFrame& composed, const TRect& area) {
  TFrame frame(composed.Width, composed.Height, 0xA5C3E1F7);
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    for (int32_t x = area.Left; x < area.Right; ++x) frame.At(x, y) = composed.At(x, y);
  }
  return frame;
}

TEST_F(Composing, APlainContainerFillsTheUpdateRectangleWithItsColour) {
  const TFrame plain(100, 60, ColorPixel(0x00336699));
  EXPECT_COMPOSED(kWhole, Expected(plain, kWhole));
  EXPECT_COMPOSED(kInner, Expected(plain, kInner));
}

TEST_F(Composing, ACentredImageLiesOnThePlainBackgroundHalvesRoundedDown) {
  auto picture = MakePattern(41, 31, 7);
  container->IndexImage()->SetDIBIndex(AddImage(*picture));
  TFrame frame(100, 60, ColorPixel(0x00336699));
  CopyInto(frame, *picture, 50 - 20, 30 - 15, kWhole);
  EXPECT_COMPOSED(kWhole, Expected(frame, kWhole));
  EXPECT_COMPOSED(kInner, Expected(frame, kInner));
}

TEST_F(Composing, TiledImagesCoverTheUpdateRectangleFromTheTileGrid) {
  auto picture = MakePattern(30, 25, 9);
  container->IndexImage()->SetDIBIndex(AddImage(*picture));
  container->SetTileMethod(TTileMethod::tmTile);
  TFrame frame(100, 60, 0);
  for (int32_t top = 0; top < 60; top += 25) {
    for (int32_t left = 0; left < 100; left += 30) CopyInto(frame, *picture, left, top, kWhole);
  }
  EXPECT_COMPOSED(kWhole, Expected(frame, kWhole));
  EXPECT_COMPOSED(kInner, Expected(frame, kInner));
}

TEST_F(Composing, TilesForAnUpdateRectangleAt250StartAt200) {
  form->SetBounds(0, 0, 400, 200);
  container->SetBounds(0, 0, 320, 40);
  auto picture = MakePattern(100, 20, 3);
  container->IndexImage()->SetDIBIndex(AddImage(*picture));
  container->SetTileMethod(TTileMethod::tmTile);
  windows.Pump();
  const TRect area{250, 5, 270, 25};
  PoisonAndPaint(area);
  TFrame expected(320, 40, kPoison);
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    for (int32_t x = area.Left; x < area.Right; ++x) expected.At(x, y) = picture->Pixel(x - 200, y % 20);
  }
  EXPECT_EQ(Differences(expected, FrameOf(*container->Buffer()), {0, 0, 320, 40}), "");
}

TEST_F(Composing, ASemiTransparentControlIsBlendedOverTheImage) {
  auto picture = MakePattern(30, 25, 11);
  container->IndexImage()->SetDIBIndex(AddImage(*picture));
  container->SetTileMethod(TTileMethod::tmTile);
  TSwatch* swatch = AddSwatch({20, 10, 70, 40});
  swatch->Fill = 0x0040C020;
  swatch->FillAlpha = 0x80;
  swatch->SetOpacity(128);
  TFrame frame(100, 60, 0);
  for (int32_t top = 0; top < 60; top += 25) {
    for (int32_t left = 0; left < 100; left += 30) CopyInto(frame, *picture, left, top, kWhole);
  }
  BlendInto(frame, 0x8040C020, 128, swatch->BoundsRect(), kWhole);
  EXPECT_COMPOSED(kWhole, Expected(frame, kWhole));
  EXPECT_COMPOSED(kInner, Expected(frame, kInner));
}

TEST_F(Composing, OpaqueControlsAreCopiedAndHiddenOnesSkipped) {
  TSwatch* first = AddSwatch({-5, -5, 30, 20});
  TSwatch* second = AddSwatch({20, 15, 60, 70});
  TSwatch* hidden = AddSwatch({0, 0, 100, 60});
  first->Fill = 0x00102030;
  second->Fill = 0x00405060;
  hidden->Hide();
  TFrame frame(100, 60, ColorPixel(0x00336699));
  BlendInto(frame, 0xFF102030, 255, first->BoundsRect(), kWhole);
  BlendInto(frame, 0xFF405060, 255, second->BoundsRect(), kWhole);
  EXPECT_COMPOSED(kWhole, Expected(frame, kWhole));
  EXPECT_COMPOSED(kInner, Expected(frame, kInner));
  EXPECT_EQ(hidden->Paints, 0);
}

TEST_F(Composing, AControlLeftOfTheBufferGetsTheBackgroundShiftedIntoPlace) {
  auto picture = MakePattern(100, 60, 5);
  container->IndexImage()->SetDIBIndex(AddImage(*picture));
  TSwatch* swatch = AddSwatch({-10, 5, 30, 25});
  std::vector<uint32_t> column;
  swatch->OnScratch = [&](TAbstractSuperDIB& scratch) {
    for (int32_t y = 0; y < scratch.Height(); ++y) column.push_back(scratch.Pixel(10, y));
  };
  swatch->PaintsNothing = true;
  PoisonAndPaint(kWhole);
  ASSERT_EQ(column.size(), 20u);
  for (int32_t y = 0; y < 20; ++y) EXPECT_EQ(column[y], picture->Pixel(0, 5 + y)) << y;
  EXPECT_EQ(Differences(FrameOf(*picture), FrameOf(*container->Buffer()), kWhole), "");
}

TEST_F(Composing, ChildrenOutsideTheUpdateRectangleDoNotPaint) {
  TSwatch* inside = AddSwatch({0, 0, 10, 10});
  TSwatch* outside = AddSwatch({50, 30, 60, 40});
  windows.Pump();
  inside->Paints = outside->Paints = 0;
  inside->Invalidate();
  windows.Pump();
  EXPECT_EQ(inside->Paints, 1);
  EXPECT_EQ(outside->Paints, 0);
}

TEST_F(Composing, OnlyATwentyByTwentyInvalidationIsPresented) {
  AddSwatch({5, 5, 95, 55});
  windows.Pump();
  windows.ResetCounters();
  container->InvalidateRect({40, 20, 60, 40});
  windows.Pump();
  EXPECT_EQ(windows.PaintsDelivered(), 1u);
  EXPECT_EQ(windows.PresentedPixels(), 400u);
  windows.ResetCounters();
  windows.Pump();
  EXPECT_EQ(windows.PresentedPixels(), 0u);  // nothing changed, nothing composed
}

// Widens every update rectangle that meets it to its whole rectangle.
class TWideningSwatch : public TSwatch {
  ZELK_CLASS(TWideningSwatch, TSwatch)
  using TSwatch::TSwatch;
  void ExtendUpdateRect(TRect& rect) override {
    if (!IntersectRect(rect, BoundsRect()).IsEmpty()) rect = UnionRect(rect, BoundsRect());
  }
};

const TClassInfo& TWideningSwatch::StaticClass() {
  static const TClassInfo info = TClassBuilder<TWideningSwatch>("TWideningSwatch").Build();
  return info;
}

TEST_F(Composing, AChildThatWidensTheUpdateRectangleGetsItPaintedAtTheNextPaint) {
  auto* swatch = New<TWideningSwatch>(form.get());
  swatch->SetBounds(10, 10, 40, 30);
  swatch->SetParent(container);
  windows.Pump();
  windows.ResetCounters();
  container->InvalidateRect({12, 12, 17, 17});
  windows.Pump();
  EXPECT_EQ(windows.PaintsDelivered(), 2u);  // re-requested with the widened area
  EXPECT_EQ(windows.PresentedPixels(), 40u * 30u);
}

// A paint into a supplied surface composes that surface's area only and
// leaves the next ordinary paint free to widen its own.
TEST_F(Composing, APaintIntoASuppliedSurfaceLeavesTheNextPaintFreeToWiden) {
  auto* swatch = New<TWideningSwatch>(form.get());
  swatch->SetBounds(10, 10, 5, 5);
  swatch->SetParent(container);
  windows.Pump();
  std::unique_ptr<TWinDIB, TFreeObject> copy(TAbstractSuperDIB::CreateSize<TWinDIB>(100, 60));
  container->Perform(wmPaint, copy->Handle());
  EXPECT_EQ(copy->Pixel(12, 12), 0xFFFF0000u);
  windows.ResetCounters();
  container->InvalidateRect({12, 12, 13, 13});
  windows.Pump();
  EXPECT_EQ(windows.PresentedPixels(), 25u);
}

TEST_F(Composing, DeletingImagesBelowAndAtTheBackgroundFollowsIt) {
  for (uint8_t seed = 0; seed < 4; ++seed) AddImage(*MakePattern(10, 10, seed));
  container->IndexImage()->SetDIBIndex(2);
  windows.Pump();
  list->DIBImages()->Delete(0);
  EXPECT_EQ(container->IndexImage()->DIBIndex(), 1);
  windows.Pump();
  list->DIBImages()->Delete(1);
  EXPECT_EQ(container->IndexImage()->DIBIndex(), -1);
  EXPECT_FALSE(windows.PendingPaint(Window()).IsEmpty());
  PoisonAndPaint(kWhole);
  EXPECT_EQ(Differences(TFrame(100, 60, ColorPixel(0x00336699)), FrameOf(*container->Buffer()), kWhole), "");
}

TEST_F(Composing, PaintEventsSeeTheBufferBeforeAndAfterTheControls) {
  struct TRecorder : TObject {
    std::vector<uint32_t> Seen;
    void Record(TObject*, const TAbstractSuperDIB* dib) { Seen.push_back(dib->Pixel(5, 5)); }
  } recorder;
  AddSwatch({0, 0, 10, 10})->Fill = 0x00ABCDEF;
  container->BeforePaint = TDIBPaintEvent::Bind<&TRecorder::Record>(&recorder);
  container->AfterPaint = TDIBPaintEvent::Bind<&TRecorder::Record>(&recorder);
  PoisonAndPaint(kWhole);
  EXPECT_EQ(recorder.Seen, (std::vector<uint32_t>{kPoison, 0xFFABCDEF}));
}

TEST_F(Composing, TheBorderIsDrawnUnderOrOverTheControls) {
  auto edge = MakePattern(6, 16, 21);
  std::unique_ptr<TDIBBorder, TFreeObject> border(New<TDIBBorder>(nullptr));
  const int32_t index = AddImage(*edge);
  border->SetDIBImageList(list.get());
  border->BorderLeft()->ImageMiddle()->SetDIBIndex(index);
  container->SetDIBBorder(border.get());
  EXPECT_EQ(container->ClientRect().Width(), 100);
  TSwatch* swatch = AddSwatch({0, 20, 30, 50});
  swatch->Fill = 0x00102030;
  const TRect swatchArea = swatch->BoundsRect();

  // The left edge: the middle picture tiled down the whole height.
  auto drawEdge = [&](TFrame& frame) {
    for (int32_t top = 0; top < 60; top += 16) CopyInto(frame, *edge, 0, top, {0, top, 6, 60});
  };
  TFrame under(100, 60, ColorPixel(0x00336699));
  drawEdge(under);
  BlendInto(under, 0xFF102030, 255, swatchArea, kWhole);
  container->SetBorderDrawPosition(TBorderDrawPosition::bdUnderControls);
  EXPECT_COMPOSED(kWhole, Expected(under, kWhole));
  EXPECT_COMPOSED((TRect{2, 10, 40, 30}), Expected(under, (TRect{2, 10, 40, 30})));

  TFrame over(100, 60, ColorPixel(0x00336699));
  BlendInto(over, 0xFF102030, 255, swatchArea, kWhole);
  drawEdge(over);
  container->SetBorderDrawPosition(TBorderDrawPosition::bdOverControls);
  EXPECT_COMPOSED(kWhole, Expected(over, kWhole));
  EXPECT_COMPOSED((TRect{2, 10, 40, 30}), Expected(over, (TRect{2, 10, 40, 30})));

  border.reset();  // free-notified: the container forgets it
  EXPECT_EQ(container->DIBBorder(), nullptr);
}

TEST_F(Composing, TheBorderShrinksTheAreaAlignedChildrenGet) {
  std::unique_ptr<TDIBBorder, TFreeObject> border(New<TDIBBorder>(nullptr));
  AddImage(*MakePattern(7, 5, 1));
  AddImage(*MakePattern(4, 9, 2));
  border->SetDIBImageList(list.get());
  border->BorderLeft()->ImageStart()->SetDIBIndex(0);
  border->BorderTop()->ImageMiddle()->SetDIBIndex(1);
  border->BorderRight()->SetAutoCalcSize(false);
  border->BorderRight()->SetSize(3);
  TSwatch* swatch = AddSwatch({0, 0, 10, 10});
  swatch->SetAlign(TAlign::alClient);
  container->SetDIBBorder(border.get());
  EXPECT_EQ(swatch->BoundsRect(), (TRect{7, 9, 97, 60}));
  border->BorderRight()->SetSize(10);  // a change of the border re-aligns
  EXPECT_EQ(swatch->BoundsRect(), (TRect{7, 9, 90, 60}));
  container->SetDIBBorder(nullptr);
  EXPECT_EQ(swatch->BoundsRect(), (TRect{0, 0, 100, 60}));
}

TEST_F(Composing, AnAutoSizedContainerHoldsItsBorderAndItsFreeChildren) {
  std::unique_ptr<TDIBBorder, TFreeObject> border(New<TDIBBorder>(nullptr));
  for (TDIBBorderEdge* edge : {static_cast<TDIBBorderEdge*>(border->BorderRight()),
                               static_cast<TDIBBorderEdge*>(border->BorderBottom())}) {
    edge->SetAutoCalcSize(false);
    edge->SetSize(4);
  }
  container->SetDIBBorder(border.get());
  container->SetAutoSize(true);
  EXPECT_EQ(container->Width(), 100);  // nothing to hold: the size stays
  TSwatch* swatch = AddSwatch({10, 5, 30, 20});
  AddSwatch({0, 0, 10, 10})->SetAlign(TAlign::alTop);  // aligned ones do not count
  EXPECT_EQ(container->BoundsRect().Width(), 34);
  EXPECT_EQ(container->BoundsRect().Height(), 24);
  swatch->SetBounds(10, 5, 50, 20);
  EXPECT_EQ(container->BoundsRect().Width(), 64);
  container->SetDIBBorder(nullptr);
  border.reset();
}

TEST_F(Composing, FramedWindowedChildrenSinkIntoAShadowAndHighlightFrame) {
  auto* framed = New<TCustomControl>(form.get());
  framed->SetControlStyle(framed->ControlStyle() | csFramed);
  framed->SetBounds(20, 10, 30, 20);
  framed->SetParent(container);
  PoisonAndPaint(kWhole);
  const TFrame composed = FrameOf(*container->Buffer());
  const uint32_t shadow = ColorPixel(platform::ResolveColor(static_cast<int32_t>(0xFF000010)));
  const uint32_t highlight = ColorPixel(platform::ResolveColor(static_cast<int32_t>(0xFF000014)));
  ASSERT_NE(shadow, highlight);
  EXPECT_EQ(composed.At(19, 9), shadow);    // top-left corner outside
  EXPECT_EQ(composed.At(35, 9), shadow);    // top edge
  EXPECT_EQ(composed.At(19, 25), shadow);   // left edge
  EXPECT_EQ(composed.At(50, 20), highlight);  // right edge
  EXPECT_EQ(composed.At(35, 30), highlight);  // bottom edge
  EXPECT_EQ(composed.At(18, 9), ColorPixel(0x00336699));
  framed->SetCtl3D(false);
  PoisonAndPaint(kWhole);
  EXPECT_EQ(FrameOf(*container->Buffer()).At(50, 20), ColorPixel(0x00336699));
}

}  // namespace

}  // namespace zelk::tests
