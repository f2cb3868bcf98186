// The dial repaints only where its pointer was and is, and what it composes
// equals a whole repaint pixel for pixel.
#include <gtest/gtest.h>

#include <memory>

#include "controls/DIBDial.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImages.h"
#include "dib/DIBImagesItem.h"
#include "dib/DIBScratch.h"
#include "dib/WinDIB.h"
#include "tests/controls/DIBControlTestSupport.h"

namespace zelk::tests {
namespace {

enum class TPointerKind { Keyed, Masked, Opaque };

struct TRepaintCase {
  const char* Name;
  TPointerKind Kind;
  int32_t Frames;
  bool Rotate;
  uint8_t Opacity;
  TAngle PictureAngle;
  long double PictureScale;
};

// A strip of 40 x 50 frames, empty (transparent black, or alpha 0 over a
// colour) but for a small mark near each frame's top, coloured per frame.
void PaintPointer(TAbstractSuperDIB& strip, const TRepaintCase& c) {
  const bool masked = c.Kind == TPointerKind::Masked;
  strip.SetSize(static_cast<uint16_t>(40 * c.Frames), 50);
  for (int32_t y = 0; y < 50; ++y) {
    for (int32_t x = 0; x < 40 * c.Frames; ++x) {
      const bool mark = x % 40 >= 16 && x % 40 < 23 && y >= 3 && y < 15;
      const uint32_t alpha = masked && (x + y) % 3 == 0 ? 0x80u : 0xFFu;
      strip.SetPixel(x, y, mark ? alpha << 24 | (0x30u + x / 40 * 0x50u) << 16 | uint32_t(y * 9) << 8 | (x * 5 & 0xFF)
                                : (masked ? 0x00123456u : 0u));
    }
  }
  strip.SetMasked(c.Kind == TPointerKind::Masked);
  strip.SetTransparent(c.Kind == TPointerKind::Keyed);
  strip.SetAngle(c.PictureAngle);
  strip.SetScale(c.PictureScale);
}

// A dial over a patterned main picture filling the test's container, its
// pointer painted for the case, at position 0 of 0..360.
class DialRepaintTest : public DIBControlTest {
 protected:
  void Show(const TRepaintCase& c) {
    const int32_t main = AddImage(*MakePattern(100, 60, 7));
    const int32_t pointer = AddImage(*MakePattern(1, 1, 0));
    PaintPointer(*list->DIBImages()->Item(pointer)->DIB(), c);
    TObject::Free(dial);  // the last case's
    dial = New<TDIBDial>(form.get());
    dial->SetParent(container);
    dial->SetMax(360);
    dial->SetPointerRadius(14);
    dial->SetPointerNumGlyphs(c.Frames);
    dial->SetPointerRotate(c.Rotate);
    dial->PointerOpacities()->SetNormal(c.Opacity);
    dial->SetDIBImageList(list.get());
    dial->IndexMain()->SetDIBIndex(main);
    dial->IndexPointer()->SetDIBIndex(pointer);
    windows.Pump();
  }
  TDIBDial* dial = nullptr;
};

uint64_t AreaOf(const TRect& rect) { return rect.IsEmpty() ? 0 : uint64_t(rect.Width()) * rect.Height(); }

TEST_F(DialRepaintTest, AStepRepaintsOnlyThePointerAndMatchesAWholeRepaint) {
  const TRepaintCase cases[] = {
      {"keyed", TPointerKind::Keyed, 1, true, 255, 0, 100},
      {"keyed at opacity", TPointerKind::Keyed, 1, true, 140, 0, 100},
      {"masked", TPointerKind::Masked, 1, true, 255, 0, 100},
      {"masked at opacity", TPointerKind::Masked, 1, true, 90, 0, 100},
      {"keyed strip", TPointerKind::Keyed, 3, true, 200, 0, 100},
      {"masked strip, unturned", TPointerKind::Masked, 3, false, 255, 0, 100},
      {"keyed, picture turned and scaled", TPointerKind::Keyed, 1, false, 255, 30, 130},
      {"opaque", TPointerKind::Opaque, 1, true, 255, 0, 100},
  };
  const int32_t walk[] = {1, 90, 91, 135, 180, 181, 270, 269, 359, 0, 200};
  for (const TRepaintCase& c : cases) {
    Show(c);
    for (const int32_t position : walk) {
      const TRect before = dial->PointerArea();
      dial->SetPosition(position);
      windows.ResetCounters();
      windows.Pump();
      EXPECT_LE(windows.PresentedPixels(), AreaOf(UnionRect(before, dial->PointerArea())))
          << c.Name << " at " << position;
      const TFrame stepped = FrameOf(*container->Buffer());
      container->Invalidate();
      windows.Pump();
      EXPECT_EQ(Differences(FrameOf(*container->Buffer()), stepped, container->ClientRect()), "")
          << c.Name << " at " << position;
    }
  }
}

// A one-frame strip is drawn straight from its pixels, as a copy of its only
// frame with the strip's settings would draw.
TEST(DrawGlyphOfOneFrame, DrawsLikeACopyOfTheFrame) {
  struct Case {
    TPointerKind Kind;
    uint8_t Opacity;
    TAngle Angle;
  };
  const Case cases[] = {{TPointerKind::Opaque, 255, 0},  {TPointerKind::Opaque, 100, 90},
                        {TPointerKind::Keyed, 255, 180}, {TPointerKind::Keyed, 60, 270},
                        {TPointerKind::Masked, 255, 45}, {TPointerKind::Masked, 170, 0}};
  for (const Case& c : cases) {
    auto strip = MakePattern(30, 20, 9);
    for (int32_t x = 0; x < 30; x += 4) strip->SetPixel(x, x % 20, 0x40000000u);
    strip->SetMasked(c.Kind == TPointerKind::Masked);
    strip->SetTransparent(c.Kind == TPointerKind::Keyed);
    strip->SetOpacity(c.Opacity);
    strip->SetAngle(c.Angle);
    strip->SetAutoSize(true);
    TScratchDIBPtr copy = MakeScratchDIB(30, 20);
    strip->DrawRaw(0, 0, 30, 20, *copy, 0, 0);
    strip->AssignPropertiesTo(copy.get());
    copy->SetOpacity(255);
    copy->SetOpacity(c.Opacity);
    auto expected = MakePattern(40, 40, 3);
    auto actual = MakePattern(40, 40, 3);
    copy->Draw(2, 1, 30, 20, *expected, 0, 0);
    strip->DrawGlyph(2, 1, 1, *actual, 0, 359, 17, true);
    EXPECT_EQ(Differences(FrameOf(*expected), FrameOf(*actual), {0, 0, 40, 40}), "")
        << int(c.Kind) << " " << int(c.Opacity) << " " << c.Angle;
  }
}

}  // namespace
}  // namespace zelk::tests
