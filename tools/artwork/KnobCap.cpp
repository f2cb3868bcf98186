// The knob cap: a brushed aluminium top with a chamfered edge over a
// knurled dark skirt. The shading depends on the distance from the centre
// alone (the knurl's ridges repeat evenly all round), so the knob looks lit
// the same way at every angle; the pointer (an amber line in an engraved
// groove, and a white notch on the skirt) is the only thing that shows where
// it points.
#include <algorithm>
#include <cmath>

#include "tools/artwork/ArtCanvas.h"
#include "tools/artwork/Artwork.h"

namespace zelk::artwork {

namespace {

// Radii of the rings, from the outside in.
constexpr double kSkirtTop = 56.0;    // where the skirt meets the chamfer
constexpr double kChamferTop = 49.0;  // where the chamfer meets the top face
constexpr int kKnurlRidges = 60;

// Darkest colour inside the knob: the key is pure black, and a knob pixel
// that happened to be black would show the background through it.
constexpr double kDarkest = 5.0 / 255.0;

const TRGB kRimColor = Hex(0x0F1012);
const TRGB kSkirtColor = Hex(0x2F3237);
const TRGB kRidgeColor = Hex(0x737980);
const TRGB kSeamColor = Hex(0x16171A);
const TRGB kChamferLight = Hex(0xE3E6E9);
const TRGB kChamferDark = Hex(0x7C8288);
const TRGB kTopColor = Hex(0xAEB2B7);
const TRGB kGrooveColor = Hex(0x2A2C30);
const TRGB kPointerColor = Hex(0xFFA033);
const TRGB kNotchColor = Hex(0xF2F3F4);

// The knurled skirt: narrow bright ridges around the knob, brightest where
// the skirt turns down from the chamfer and darkening into the rim at the
// outer edge, so that the anti-aliased outline fades into dark grey, not
// into a light fringe, when black is keyed out.
TRGB Skirt(double radius, double angle) {
  const double wave = 0.5 + 0.5 * std::cos(angle * kKnurlRidges);
  const double ridge = wave * wave * wave;
  const double down = SmoothStep(kSkirtTop, kKnobRadius, radius);
  TRGB color = Mix(kSkirtColor, kRidgeColor, ridge * (0.85 - 0.45 * down));
  color = Scaled(color, 1.15 - 0.35 * down);
  return Mix(color, kRimColor, SmoothStep(kKnobRadius - 7.0, kKnobRadius - 2.0, radius));
}

// The chamfer: a rounded bevel where the ring light reflects, brightest a
// little inside its inner edge, with a dark seam where it meets the skirt.
TRGB Chamfer(double radius) {
  const double across = (radius - kChamferTop) / (kSkirtTop - kChamferTop);
  const double fromPeak = across - 0.35;
  TRGB color = Mix(kChamferLight, kChamferDark, std::clamp(fromPeak * fromPeak * 1.8, 0.0, 1.0));
  return Mix(color, kSeamColor, SmoothStep(kSkirtTop - 1.6, kSkirtTop - 0.2, radius));
}

// The top face: fine concentric brushing and a gentle dish, slightly
// darker towards the chamfer.
TRGB TopFace(double radius) {
  const double brushing = 0.6 * ValueNoise(radius * 2.7, 0x51A7u) + 0.4 * ValueNoise(radius * 0.9, 0x0C3Eu);
  const double dish = 1.0 - 0.08 * SmoothStep(18.0, kChamferTop, radius) + 0.04 * (1.0 - SmoothStep(0.0, 18.0, radius));
  return Scaled(kTopColor, dish * (0.93 + 0.09 * brushing));
}

TRGB KnobColor(double radius, double angle) {
  // Neighbouring rings meet over one pixel so their boundaries are smooth.
  const double intoChamfer = SmoothStep(kChamferTop - 0.5, kChamferTop + 0.5, radius);
  const double intoSkirt = SmoothStep(kSkirtTop - 0.5, kSkirtTop + 0.5, radius);
  const TRGB inner = Mix(TopFace(radius), Chamfer(radius), intoChamfer);
  return Mix(inner, Skirt(radius, angle), intoSkirt);
}

void PaintPointer(TArtCanvas& canvas, TVector center) {
  const TVector up = Direction(0.0);
  const auto at = [&](double radius) { return TVector{center.X + up.X * radius, center.Y + up.Y * radius}; };
  TMask groove(canvas.Width(), canvas.Height());
  groove.Stroke(at(13.0), at(46.0), 6.5);
  canvas.Paint(groove, kGrooveColor, 0.85);
  TMask line(canvas.Width(), canvas.Height());
  line.Stroke(at(14.0), at(45.0), 3.6);
  canvas.Paint(line, kPointerColor);
  TMask notch(canvas.Width(), canvas.Height());
  notch.Stroke(at(kSkirtTop + 2.5), at(kKnobRadius - 5.0), 3.0);
  canvas.Paint(notch, kNotchColor, 0.95);
}

// Over black outside the knob; inside, no channel darker than kDarkest.
void CutOutline(TArtCanvas& canvas, TVector center) {
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const double radius = std::hypot(x + 0.5 - center.X, y + 0.5 - center.Y);
      const double coverage = std::clamp(kKnobRadius - radius + 0.5, 0.0, 1.0);
      TRGB color = canvas.At(x, y);
      if (coverage >= 1.0) {
        color = {std::max(color.Red, kDarkest), std::max(color.Green, kDarkest), std::max(color.Blue, kDarkest)};
      }
      canvas.Set(x, y, Scaled(color, coverage));
    }
  }
}

}  // namespace

TLoadedPicture PaintKnobCap() {
  const TVector center{kCapWidth / 2.0, kCapHeight / 2.0};
  TArtCanvas canvas(kCapWidth, kCapHeight, TRGB{});
  for (int y = 0; y < kCapHeight; ++y) {
    for (int x = 0; x < kCapWidth; ++x) {
      const double dx = x + 0.5 - center.X;
      const double dy = y + 0.5 - center.Y;
      canvas.Set(x, y, KnobColor(std::hypot(dx, dy), std::atan2(dx, -dy)));
    }
  }
  PaintPointer(canvas, center);
  CutOutline(canvas, center);
  return canvas.ToPicture();
}

}  // namespace zelk::artwork
