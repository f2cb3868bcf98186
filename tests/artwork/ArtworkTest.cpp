// The product's pictures: the committed files are exactly what the
// generator paints, the knob cap keys out cleanly on black, and the pointer
// mark shows the knob's angle once the editor has turned the cap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ArtworkTestSupport.h"
#include "dib/DIBLibrary.h"
#include "tools/artwork/Artwork.h"
#include "tools/artwork/EditorPreview.h"

namespace zelk::artwork {
namespace {

uint32_t Channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }
uint32_t Brightest(uint32_t pixel) { return std::max({Channel(pixel, 16), Channel(pixel, 8), Channel(pixel, 0)}); }

// Regenerate with: zelk-artwork pictures resources/pictures
TEST(Artwork, TheCommittedPicturesAreWhatTheGeneratorPaints) {
  const struct {
    const char* File;
    TLoadedPicture (*Paint)();
    int Width;
    int Height;
  } pictures[] = {{"Zelk1.png", &PaintKnobCap, 195, 222}, {"ZVBack.png", &PaintBackground, 390, 444}};
  for (const auto& picture : pictures) {
    SCOPED_TRACE(picture.File);
    const TLoadedPicture committed = tests::CommittedPicture(picture.File);
    const TLoadedPicture painted = picture.Paint();
    EXPECT_EQ(committed.width, picture.Width);
    EXPECT_EQ(committed.height, picture.Height);
    EXPECT_FALSE(committed.hasAlpha);
    ASSERT_EQ(painted.width, committed.width);
    ASSERT_EQ(painted.height, committed.height);
    const auto difference = std::mismatch(painted.pixels.begin(), painted.pixels.end(), committed.pixels.begin());
    EXPECT_EQ(difference.first, painted.pixels.end())
        << "first difference at pixel " << (difference.first - painted.pixels.begin());
  }
}

// Keying exact black must cut the knob out whole: nothing but black beyond
// its outline, no pure black inside it, and an outline that ends in a dark
// rim, so that no light fringe is left around the knob.
TEST(Artwork, TheKnobCapIsBlackExactlyAroundTheKnobAndEndsInADarkRim) {
  const TLoadedPicture cap = PaintKnobCap();
  int outsideNotBlack = 0;
  int insideBlack = 0;
  int lightRim = 0;
  for (int y = 0; y < cap.height; ++y) {
    for (int x = 0; x < cap.width; ++x) {
      const uint32_t pixel = cap.pixels[static_cast<size_t>(y) * cap.width + x];
      const double radius = std::hypot(x + 0.5 - cap.width / 2.0, y + 0.5 - cap.height / 2.0);
      if (radius > kKnobRadius + 0.5 && pixel != 0xFF000000u) ++outsideNotBlack;
      if (radius < kKnobRadius - 0.5 && Brightest(pixel) == 0) ++insideBlack;
      if (radius > kKnobRadius - 2.5 && Brightest(pixel) > 0x20) ++lightRim;
    }
  }
  EXPECT_EQ(outsideNotBlack, 0);
  EXPECT_EQ(insideBlack, 0);
  EXPECT_EQ(lightRim, 0);
}

bool IsPointerAmber(uint32_t pixel) {
  return Channel(pixel, 16) >= 0xC0 && Channel(pixel, 8) >= 0x60 && Channel(pixel, 8) <= 0xC0 && Channel(pixel, 0) < 0x70;
}

// The editor draws the cap turned to the angle with its centre 10 pixels
// from the editor's centre in that direction; the mark lies on the knob's
// radius towards the angle, and nothing amber lies opposite.
TEST(Artwork, ThePointerMarkShowsTheAngleInTheComposedEditor) {
  InitializeDIBLibrary();
  const TLoadedPicture background = PaintBackground();
  const TLoadedPicture cap = PaintKnobCap();
  for (int angle : {0, 45, 90, 180, 270, 359}) {
    SCOPED_TRACE(angle);
    const TLoadedPicture editor = ComposeEditor(background, cap, angle);
    const double radians = angle * 3.14159265358979323846 / 180.0;
    const double knobX = kEditorWidth / 2 + kPointerRadius * std::sin(radians);
    const double knobY = kEditorHeight / 2 - kPointerRadius * std::cos(radians);
    const auto pixelAt = [&](double radius) {
      const auto x = static_cast<int>(std::lround(knobX + radius * std::sin(radians)));
      const auto y = static_cast<int>(std::lround(knobY - radius * std::cos(radians)));
      return editor.pixels[static_cast<size_t>(y) * editor.width + x];
    };
    EXPECT_TRUE(IsPointerAmber(pixelAt(30.0))) << std::hex << pixelAt(30.0);
    EXPECT_FALSE(IsPointerAmber(pixelAt(-30.0))) << std::hex << pixelAt(-30.0);
  }
}

}  // namespace
}  // namespace zelk::artwork
