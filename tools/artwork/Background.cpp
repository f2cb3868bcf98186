// The background: a dark brushed panel lit from above, a recessed well
// with the knob's body standing in it, the scale of degrees around it,
// clockwise from twelve o'clock, and the product's names in the corners of
// the part the editor shows. Everything round is centred on the knob's
// centre, the point the dial turns its indicator about.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/artwork/ArtCanvas.h"
#include "tools/artwork/Artwork.h"
#include "tools/artwork/StrokeFont.h"

namespace zelk::artwork {

namespace {

// The knob's centre on the background.
const TVector kCenter = KnobCenterOnBackground(1);
constexpr int kVisibleRight = kVisibleLeft + kEditorWidth - 1;
constexpr int kVisibleBottom = kVisibleTop + kEditorHeight - 1;

// The well leaves a few pixels of its floor around the knob.
constexpr double kWellRadius = kKnobRadius + 8.0;
constexpr double kLipWidth = 3.0;
constexpr double kScaleRadius = kWellRadius + 5.5;  // inner end of the ticks
constexpr double kLabelRadius = kScaleRadius + 23.5;

const TRGB kPanelTop = Hex(0x3B3E44);
const TRGB kPanelBottom = Hex(0x25272B);
const TRGB kWellFloor = Hex(0x1C1D20);
const TRGB kLipShadow = Hex(0x0E0F10);
const TRGB kLipLight = Hex(0x6B7078);
const TRGB kMinorTick = Hex(0x7D838B);
const TRGB kTick = Hex(0xB9BEC4);
const TRGB kMajorTick = Hex(0xE8EAEC);
const TRGB kAccent = Hex(0xFFA033);
const TRGB kLabel = Hex(0xC4C8CD);
const TRGB kEngraving = Hex(0x121315);

double Distance(int x, int y) { return std::hypot(x + 0.5 - kCenter.X, y + 0.5 - kCenter.Y); }

// Brushed along the rows: each row has its own grain that changes slowly
// from left to right.
double Grain(int x, int y) {
  const double rowOffset = 1000.0 * HashUnit(static_cast<uint32_t>(y) * 0x2545F491u);
  return 0.65 * ValueNoise(x / 23.0 + rowOffset, 0x7A11u) + 0.35 * HashUnit(static_cast<uint32_t>(y) ^ 0xB5297A4Du);
}

TRGB Panel(int x, int y) {
  const double down = std::clamp((y - kVisibleTop) / double(kEditorHeight), 0.0, 1.0);
  TRGB color = Mix(kPanelTop, kPanelBottom, SmoothStep(0.0, 1.0, down));
  color = Scaled(color, 0.96 + 0.07 * Grain(x, y));
  // A soft pool of light around the knob, falling off towards the corners.
  const double fromCenter = Distance(x, y) / 180.0;
  return Scaled(color, 1.06 - 0.14 * fromCenter * fromCenter);
}

// Inside the well: a dark floor, shaded under the upper rim (the light
// comes from above) and a little deeper where the knob stands.
TRGB Well(int y, double distance) {
  const double upward = distance > 0.0 ? -(y + 0.5 - kCenter.Y) / distance : 0.0;
  const double nearRim = SmoothStep(kWellRadius - 18.0, kWellRadius, distance);
  double light = 1.0 - 0.45 * nearRim * std::max(0.0, upward) + 0.12 * nearRim * std::max(0.0, -upward);
  light *= 0.9 + 0.1 * SmoothStep(kKnobRadius - 14.0, kWellRadius, distance);
  return Scaled(kWellFloor, light);
}

// The lip of the well: its upper half faces away from the light, its lower
// half towards it.
TRGB Lip(int y, double distance) {
  const double downward = (y + 0.5 - kCenter.Y) / distance;
  const TRGB lit = Mix(kLipShadow, kLipLight, SmoothStep(-0.6, 0.9, downward));
  const double across = (distance - (kWellRadius - kLipWidth)) / kLipWidth;
  return Mix(lit, kLipShadow, 0.35 * (1.0 - across));
}

void PaintPanelAndWell(TArtCanvas& canvas) {
  for (int y = 0; y < kBackgroundHeight; ++y) {
    for (int x = 0; x < kBackgroundWidth; ++x) {
      const double distance = Distance(x, y);
      const double inWell = std::clamp(kWellRadius - distance + 0.5, 0.0, 1.0);
      const double inFloor = std::clamp(kWellRadius - kLipWidth - distance + 0.5, 0.0, 1.0);
      TRGB color = Panel(x, y);
      if (inFloor >= 1.0) {
        color = Well(y, distance);
      } else {
        // Only here, away from the centre, is the lip's direction defined.
        if (inWell > 0.0) color = Mix(color, Lip(y, distance), inWell);
        if (inFloor > 0.0) color = Mix(color, Well(y, distance), inFloor);
      }
      canvas.Set(x, y, color);
    }
  }
}

// A bevel along the edges of the part the editor shows: the panel's top
// and left edges catch the light, its bottom and right edges fall away.
void PaintEditorEdge(TArtCanvas& canvas) {
  for (int i = 0; i < 2; ++i) {
    const double strength = i == 0 ? 0.22 : 0.09;
    for (int x = kVisibleLeft; x <= kVisibleRight; ++x) {
      canvas.Blend(x, kVisibleTop + i, Hex(0xFFFFFF), strength);
      canvas.Blend(x, kVisibleBottom - i, Hex(0x000000), strength * 1.6);
    }
    for (int y = kVisibleTop; y <= kVisibleBottom; ++y) {
      canvas.Blend(kVisibleLeft + i, y, Hex(0xFFFFFF), strength * 0.7);
      canvas.Blend(kVisibleRight - i, y, Hex(0x000000), strength * 1.4);
    }
  }
}

TVector OnCircle(double radius, double degrees) {
  const TVector direction = Direction(degrees);
  return {kCenter.X + direction.X * radius, kCenter.Y + direction.Y * radius};
}

// Ticks every 5 degrees, longer every 15, longest and labelled every 45;
// the tick at 0 in the accent colour.
void PaintScale(TArtCanvas& canvas) {
  TMask minor(kBackgroundWidth, kBackgroundHeight);
  TMask medium(kBackgroundWidth, kBackgroundHeight);
  TMask major(kBackgroundWidth, kBackgroundHeight);
  TMask zero(kBackgroundWidth, kBackgroundHeight);
  for (int degrees = 0; degrees < 360; degrees += 5) {
    if (degrees == 0) {
      zero.Stroke(OnCircle(kScaleRadius - 1.0, 0), OnCircle(kScaleRadius + 11.0, 0), 2.2);
    } else if (degrees % 45 == 0) {
      major.Stroke(OnCircle(kScaleRadius, degrees), OnCircle(kScaleRadius + 10.0, degrees), 1.8);
    } else if (degrees % 15 == 0) {
      medium.Stroke(OnCircle(kScaleRadius, degrees), OnCircle(kScaleRadius + 7.0, degrees), 1.3);
    } else {
      minor.Stroke(OnCircle(kScaleRadius, degrees), OnCircle(kScaleRadius + 4.0, degrees), 1.0);
    }
  }
  for (TMask* mask : {&minor, &medium, &major, &zero}) canvas.Paint(*mask, kEngraving, 0.7, 0, 1);
  canvas.Paint(minor, kMinorTick, 0.9);
  canvas.Paint(medium, kTick);
  canvas.Paint(major, kMajorTick);
  canvas.Paint(zero, kAccent);

  const TTextStyle labelStyle{1.0, 1.05, 1.6};
  TMask labels(kBackgroundWidth, kBackgroundHeight);
  for (int degrees = 0; degrees < 360; degrees += 45) {
    AddCenteredText(labels, std::to_string(degrees), OnCircle(kLabelRadius, degrees), labelStyle);
  }
  canvas.Paint(labels, kEngraving, 0.8, 0, 1);
  canvas.Paint(labels, kLabel);
}

void PaintNames(TArtCanvas& canvas) {
  const TTextStyle nameStyle{1.0, 1.15, 2.2};
  TMask product(kBackgroundWidth, kBackgroundHeight);
  AddText(product, "ZELK VORLAN", {kVisibleLeft + 9.0, kVisibleTop + 9.0}, nameStyle);
  canvas.Paint(product, kEngraving, 0.8, 0, 1);
  canvas.Paint(product, kMajorTick);

  TMask vendor(kBackgroundWidth, kBackgroundHeight);
  const double vendorWidth = TextWidth("KELMORA", nameStyle);
  AddText(vendor, "KELMORA", {kVisibleRight - 8.0 - vendorWidth, kVisibleBottom - 8.0 - 7.15}, nameStyle);
  canvas.Paint(vendor, kEngraving, 0.8, 0, 1);
  canvas.Paint(vendor, kAccent);
}

}  // namespace

TLoadedPicture PaintBackground() {
  TArtCanvas canvas(kBackgroundWidth, kBackgroundHeight, TRGB{});
  PaintPanelAndWell(canvas);
  PaintKnobBody(canvas, kCenter, 1.0);
  PaintScale(canvas);
  PaintNames(canvas);
  PaintEditorEdge(canvas);
  return canvas.ToPicture();
}

}  // namespace zelk::artwork
