// The knob: a brushed aluminium top with a chamfered edge over a knurled
// dark skirt, and its indicator (an amber line in an engraved groove, and a
// white notch on the skirt).
//
// The dial draws its pointer picture turned to the angle on a circle of
// kPointerRadius pixels around its centre, so whatever the pointer picture
// holds moves along that circle. The knob's body therefore belongs to the
// background, where it stands still, and the pointer picture holds only the
// indicator, placed so that it lands on the body's radius at every angle.
// The body's shading depends on the distance from the centre alone (the
// knurl's ridges repeat evenly all round), so a still body looks the same
// however the knob is turned.
#include <algorithm>
#include <cmath>

#include "tools/artwork/ArtCanvas.h"
#include "tools/artwork/Artwork.h"

namespace zelk::artwork {

namespace {

// Radii of the rings at scale 1, from the outside in.
constexpr double kSkirtTop = 56.0;    // where the skirt meets the chamfer
constexpr double kChamferTop = 49.0;  // where the chamfer meets the top face
constexpr int kKnurlRidges = 60;

// Darkest colour of the indicator: the key is pure black, and an indicator
// pixel that happened to be black would show the background through it.
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
const TRGB kShadowColor = Hex(0x050506);

// The knurled skirt: narrow bright ridges around the knob, brightest where
// the skirt turns down from the chamfer and darkening into the rim at the
// outer edge. Radii in scale-1 pixels.
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

// The body's colour at a distance (scale-1 pixels) and direction (radians
// clockwise from twelve o'clock) from its centre.
TRGB BodyColor(double radius, double angle) {
  // Neighbouring rings meet over one pixel so their boundaries are smooth.
  const double intoChamfer = SmoothStep(kChamferTop - 0.5, kChamferTop + 0.5, radius);
  const double intoSkirt = SmoothStep(kSkirtTop - 0.5, kSkirtTop + 0.5, radius);
  const TRGB inner = Mix(TopFace(radius), Chamfer(radius), intoChamfer);
  return Mix(inner, Skirt(radius, angle), intoSkirt);
}

// Where a pixel's centre lies seen from the knob's centre, in scale-1 pixels.
struct TPolar {
  double Radius;
  double Angle;
};
TPolar FromCenter(int x, int y, TVector center, double scale) {
  const double dx = (x + 0.5 - center.X) / scale;
  const double dy = (y + 0.5 - center.Y) / scale;
  return {std::hypot(dx, dy), std::atan2(dx, -dy)};
}

// The indicator pointing to twelve o'clock from center: its groove, its
// line and its notch, each laid over the canvas.
void PaintIndicator(TArtCanvas& canvas, TVector center, double scale, TMask& covered) {
  const auto at = [&](double radius) { return TVector{center.X, center.Y - radius * scale}; };
  const struct {
    double From, To, Width;
    TRGB Color;
    double Opacity;
  } strokes[] = {{13.0, 46.0, 6.5, kGrooveColor, 0.85},
                 {14.0, 45.0, 3.6, kPointerColor, 1.0},
                 {kSkirtTop + 2.5, kKnobRadius - 5.0, 3.0, kNotchColor, 0.95}};
  for (const auto& stroke : strokes) {
    TMask mask(canvas.Width(), canvas.Height());
    mask.Stroke(at(stroke.From), at(stroke.To), stroke.Width * scale);
    canvas.Paint(mask, stroke.Color, stroke.Opacity);
    covered.Stroke(at(stroke.From), at(stroke.To), stroke.Width * scale);
  }
}

}  // namespace

void PaintKnobBody(TArtCanvas& canvas, TVector center, double scale) {
  // A soft shadow below the knob (the light comes from above), then the
  // body with an anti-aliased outline over whatever lies beneath.
  const double outline = kKnobRadius * scale;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const double below = std::hypot(x + 0.5 - center.X, y + 0.5 - center.Y - 2.5 * scale);
      const double shadow = 1.0 - SmoothStep(outline - 2.0 * scale, outline + 4.0 * scale, below);
      if (shadow > 0.0) canvas.Blend(x, y, kShadowColor, 0.6 * shadow);
      const TPolar polar = FromCenter(x, y, center, scale);
      const double coverage = std::clamp(outline - polar.Radius * scale + 0.5, 0.0, 1.0);
      if (coverage > 0.0) canvas.Blend(x, y, BodyColor(polar.Radius, polar.Angle), coverage);
    }
  }
}

TLoadedPicture PaintKnobCap(int scale) {
  // The editor turns this picture about its pivot pixel and puts that pixel
  // kPointerRadius pixels from the knob's centre towards the angle; seen
  // from the pivot, the knob's centre lies that far straight down.
  const TCapGeometry geometry(scale);
  const TVector knobCenter{geometry.Pivot.X, geometry.Pivot.Y + kPointerRadius * scale};
  TArtCanvas body(geometry.Width, geometry.Height, TRGB{});
  PaintKnobBody(body, knobCenter, scale);
  TMask covered(geometry.Width, geometry.Height);
  PaintIndicator(body, knobCenter, scale, covered);
  // Only the indicator stays; everything else is the key colour. Its
  // anti-aliased edge keeps the body's colour beneath it.
  TArtCanvas cap(geometry.Width, geometry.Height, TRGB{});
  for (int y = 0; y < geometry.Height; ++y) {
    for (int x = 0; x < geometry.Width; ++x) {
      if (covered.At(x, y) <= 0.0) continue;
      const TRGB& color = body.At(x, y);
      cap.Set(x, y, {std::max(color.Red, kDarkest), std::max(color.Green, kDarkest), std::max(color.Blue, kDarkest)});
    }
  }
  return cap.ToPicture();
}

}  // namespace zelk::artwork
