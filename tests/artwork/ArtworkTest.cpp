// The product's pictures: the committed files are exactly what the
// generator paints, the knob cap keys out cleanly on black, and the pointer
// mark shows the knob's angle once the editor has turned the cap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "ArtworkTestSupport.h"
#include "dib/DIBLibrary.h"
#include "tools/artwork/Artwork.h"
#include "tools/artwork/EditorPreview.h"

namespace zelk::tests {
namespace {

using namespace artwork;

uint32_t Channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }
uint32_t Brightest(uint32_t pixel) { return std::max({Channel(pixel, 16), Channel(pixel, 8), Channel(pixel, 0)}); }

// Regenerate with: zelk-artwork pictures resources/pictures
TEST(Artwork, TheCommittedPicturesAreWhatTheGeneratorPaints) {
  const struct {
    const char* File;
    TLoadedPicture (*Paint)();
    int Width;
    int Height;
  } pictures[] = {{"Zelk1.png", [] { return PaintKnobCap(); }, 195, 222},
                  {"ZVBack.png", [] { return PaintBackground(); }, 390, 444},
                  {"Zelk1@2x.png", [] { return PaintKnobCap(2); }, 240, 240},
                  {"ZVBack@2x.png", [] { return PaintBackground(2); }, 780, 888}};
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

// What the dial moves along its circle is the pointer picture, so it holds
// the indicator alone: keyed black everywhere but a narrow upright band
// above the knob's centre, which lies kPointerRadius below the pivot.
TEST(Artwork, ThePointerPictureHoldsOnlyTheIndicatorAboveItsPivot) {
  const TLoadedPicture cap = PaintKnobCap();
  const TCapGeometry geometry(1);
  int strayPixels = 0;
  int indicatorPixels = 0;
  for (int y = 0; y < cap.height; ++y) {
    for (int x = 0; x < cap.width; ++x) {
      if (cap.pixels[static_cast<size_t>(y) * cap.width + x] == 0xFF000000u) continue;
      ++indicatorPixels;
      const bool inBand = std::abs(x + 0.5 - geometry.Pivot.X) < 5.0 && y + 0.5 < geometry.Pivot.Y + kPointerRadius;
      if (!inBand) ++strayPixels;
    }
  }
  EXPECT_GT(indicatorPixels, 100);
  EXPECT_EQ(strayPixels, 0);
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

// The knob's body stands still: two editors at different angles differ
// only near the two indicators, on the rays from the knob's centre.
TEST(Artwork, OnlyTheIndicatorMovesWhenTheKnobTurns) {
  InitializeDIBLibrary();
  const TLoadedPicture background = PaintBackground();
  const TLoadedPicture cap = PaintKnobCap();
  const TVector center{kEditorWidth / 2 + 0.5, kEditorHeight / 2 - 0.5};
  const auto nearIndicator = [&](int x, int y, int angle) {
    const double radians = angle * 3.14159265358979323846 / 180.0;
    const double dx = x + 0.5 - center.X;
    const double dy = y + 0.5 - center.Y;
    const double along = dx * std::sin(radians) - dy * std::cos(radians);
    const double across = dx * std::cos(radians) + dy * std::sin(radians);
    return along > 8.0 && along < kKnobRadius && std::abs(across) < 6.0;
  };
  for (const auto& [first, second] : {std::pair{0, 180}, std::pair{45, 90}, std::pair{213, 359}}) {
    SCOPED_TRACE(second);
    const TLoadedPicture one = ComposeEditor(background, cap, first);
    const TLoadedPicture other = ComposeEditor(background, cap, second);
    int movedElsewhere = 0;
    for (int y = 0; y < one.height; ++y) {
      for (int x = 0; x < one.width; ++x) {
        const size_t index = static_cast<size_t>(y) * one.width + x;
        if (one.pixels[index] != other.pixels[index] && !nearIndicator(x, y, first) && !nearIndicator(x, y, second)) {
          ++movedElsewhere;
        }
      }
    }
    EXPECT_EQ(movedElsewhere, 0);
  }
}

}  // namespace
}  // namespace zelk::tests
