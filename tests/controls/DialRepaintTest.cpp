// The dial repaints only where its pointer was and is: after every step the
// presented frame equals a whole repaint, pixel for pixel, for keyed,
// masked and opaque pointers, strips of frames, opacities, the picture's
// own turn and scale, and the right angles; and a step presents no more than
// the pointer's area before and after it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/ControlsLibrary.h"
#include "controls/DIBDial.h"
#include "dib/AbstractSuperDIB.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImages.h"
#include "dib/DIBImagesItem.h"
#include "dib/DIBLibrary.h"
#include "dib/DIBScratch.h"
#include "tests/controls/DIBControlTestSupport.h"
#include "toolkit/Toolkit.h"

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
  strip.SetSize(static_cast<uint16_t>(40 * c.Frames), 50);
  for (int32_t y = 0; y < 50; ++y) {
    for (int32_t x = 0; x < 40 * c.Frames; ++x) {
      const int32_t frame = x / 40;
      const bool mark = x % 40 >= 16 && x % 40 < 23 && y >= 3 && y < 15;
      const uint32_t alpha = c.Kind == TPointerKind::Masked && (x + y) % 3 == 0 ? 0x80u : 0xFFu;
      const uint32_t empty = c.Kind == TPointerKind::Masked ? 0x00123456u : 0u;
      strip.SetPixel(x, y, mark ? alpha << 24 | (0x30u + frame * 0x50u) << 16 | uint32_t(y * 9) << 8 | uint32_t(x * 5 & 0xFF)
                                : empty);
    }
  }
  strip.SetMasked(c.Kind == TPointerKind::Masked);
  strip.SetTransparent(c.Kind == TPointerKind::Keyed);
  strip.SetAngle(c.PictureAngle);
  strip.SetScale(c.PictureScale);
}

class DialRepaintTest : public ::testing::Test {
 protected:
  void Build() {
    InitializeToolkit();
    InitializeDIBLibrary();
    InitializeControlsLibrary();
    form.reset(New<TForm>(nullptr));
    form->SetBounds(0, 0, 150, 160);
    container = New<TDIBImageContainer>(form.get());
    container->SetParent(form.get());
    container->SetAlign(TAlign::alClient);
    list.reset(New<TDIBImageList>(nullptr));
    list->DIBImages()->Add()->DIB()->CopyPixelsFrom(*MakePattern(150, 160, 7));
    pointer = list->DIBImages()->Add()->DIB();
    dial = New<TDIBDial>(form.get());
    dial->SetParent(container);
    dial->SetAlign(TAlign::alClient);
    dial->SetMax(360);
    dial->SetPointerRadius(35);
  }
  void TearDown() override {
    form.reset();
    list.reset();
  }
  void Show(const TRepaintCase& c) {
    PaintPointer(*pointer, c);
    dial->SetPointerNumGlyphs(c.Frames);
    dial->SetPointerRotate(c.Rotate);
    dial->PointerOpacities()->SetNormal(c.Opacity);
    dial->SetDIBImageList(list.get());
    dial->IndexMain()->SetDIBIndex(0);
    dial->IndexPointer()->SetDIBIndex(1);
    dial->SetPosition(0);
    form->Show();
    windows.Pump();
  }
  std::vector<uint32_t> Presented() {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < container->Height(); ++y) {
      for (int32_t x = 0; x < container->Width(); ++x) pixels.push_back(windows.PixelAt(container->Handle(), x, y));
    }
    return pixels;
  }

  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
  std::unique_ptr<TForm, TFreeObject> form;
  TListPtr list;
  TDIBImageContainer* container = nullptr;
  TAbstractSuperDIB* pointer = nullptr;
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
    Build();
    Show(c);
    for (const int32_t position : walk) {
      const TRect before = dial->PointerArea();
      dial->SetPosition(position);
      windows.ResetCounters();
      windows.Pump();
      const uint64_t presented = windows.PresentedPixels();
      EXPECT_LE(presented, AreaOf(UnionRect(before, dial->PointerArea()))) << c.Name << " at " << position;
      const std::vector<uint32_t> stepped = Presented();
      container->Invalidate();
      windows.Pump();
      EXPECT_TRUE(stepped == Presented()) << c.Name << " at " << position;
    }
    TearDown();
  }
}

// A one-frame strip is drawn straight from its pixels, as a copy of its only
// frame with the strip's settings would draw.
TEST(DrawGlyphOfOneFrame, DrawsLikeACopyOfTheFrame) {
  struct Case {
    bool Masked;
    bool Transparent;
    uint8_t Opacity;
    TAngle Angle;
  };
  const Case cases[] = {{false, false, 255, 0},  {false, false, 100, 90}, {false, true, 255, 180},
                        {false, true, 60, 270},  {true, false, 255, 45},  {true, false, 170, 0}};
  for (const Case& c : cases) {
    auto strip = MakePattern(30, 20, 9);
    for (int32_t x = 0; x < 30; x += 4) strip->SetPixel(x, x % 20, 0x40000000u);
    strip->SetMasked(c.Masked);
    strip->SetTransparent(c.Transparent);
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
        << c.Masked << c.Transparent << int(c.Opacity) << " " << c.Angle;
  }
}

}  // namespace
}  // namespace zelk::tests
