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

// Where things lie on the background of one scale. Lengths of the design
// are in scale-1 pixels; round things are placed about the knob's centre of
// this scale and straight ones along the shown part of this scale, the two
// points the dial lines up. At scale 1 every conversion multiplies or
// divides by exactly 1, so the pixels stay those of the committed picture.
struct TLayout {
  explicit TLayout(int pictureScale)
      : Scale(pictureScale),
        Width(kBackgroundWidth * pictureScale),
        Height(kBackgroundHeight * pictureScale),
        Center(KnobCenterOnBackground(pictureScale)),
        VisibleLeft(Width / 2 - kEditorWidth * pictureScale / 2),
        VisibleTop(Height / 2 - kEditorHeight * pictureScale / 2),
        VisibleRight(VisibleLeft + kEditorWidth * pictureScale - 1),
        VisibleBottom(VisibleTop + kEditorHeight * pictureScale - 1) {}
  double Scale;
  int Width;
  int Height;
  TVector Center;
  int VisibleLeft;
  int VisibleTop;
  int VisibleRight;
  int VisibleBottom;

  // Distance of a pixel's centre from the knob's centre, in scale-1 pixels.
  double Distance(int x, int y) const { return std::hypot(x + 0.5 - Center.X, y + 0.5 - Center.Y) / Scale; }
  // A pixel's row or column in scale-1 pixels, measured from the shown part.
  double DesignRow(int y) const { return (y - VisibleTop + 0.5) / Scale - 0.5 + kVisibleTop; }
  double DesignColumn(int x) const { return (x - VisibleLeft + 0.5) / Scale - 0.5 + kVisibleLeft; }
  // How much of a pixel lies inside an edge that is inside scale-1 pixels in.
  double Coverage(double inside) const { return std::clamp(inside * Scale + 0.5, 0.0, 1.0); }
  TVector OnCircle(double radius, double degrees) const {
    const TVector direction = Direction(degrees);
    return {Center.X + direction.X * (radius * Scale), Center.Y + direction.Y * (radius * Scale)};
  }
  TTextStyle Text(TTextStyle style) const {
    style.Unit *= Scale;
    style.StrokeWidth *= Scale;
    return style;
  }
  // The engraving's shadow offset: one scale-1 pixel down.
  int Down() const { return static_cast<int>(Scale); }
};

// Brushed along the rows: each row has its own grain that changes slowly
// from left to right. Larger pictures keep the rows of scale 1.
double Grain(const TLayout& layout, int x, int y) {
  const auto row = static_cast<uint32_t>(std::floor(layout.DesignRow(y) + 0.5));
  const double rowOffset = 1000.0 * HashUnit(row * 0x2545F491u);
  return 0.65 * ValueNoise(layout.DesignColumn(x) / 23.0 + rowOffset, 0x7A11u) + 0.35 * HashUnit(row ^ 0xB5297A4Du);
}

TRGB Panel(const TLayout& layout, int x, int y) {
  const double down = std::clamp((layout.DesignRow(y) - kVisibleTop) / double(kEditorHeight), 0.0, 1.0);
  TRGB color = Mix(kPanelTop, kPanelBottom, SmoothStep(0.0, 1.0, down));
  color = Scaled(color, 0.96 + 0.07 * Grain(layout, x, y));
  // A soft pool of light around the knob, falling off towards the corners.
  const double fromCenter = layout.Distance(x, y) / 180.0;
  return Scaled(color, 1.06 - 0.14 * fromCenter * fromCenter);
}

// Inside the well: a dark floor, shaded under the upper rim (the light
// comes from above) and a little deeper where the knob stands.
TRGB Well(const TLayout& layout, int y, double distance) {
  const double below = (y + 0.5 - layout.Center.Y) / layout.Scale;
  const double upward = distance > 0.0 ? -below / distance : 0.0;
  const double nearRim = SmoothStep(kWellRadius - 18.0, kWellRadius, distance);
  double light = 1.0 - 0.45 * nearRim * std::max(0.0, upward) + 0.12 * nearRim * std::max(0.0, -upward);
  light *= 0.9 + 0.1 * SmoothStep(kKnobRadius - 14.0, kWellRadius, distance);
  return Scaled(kWellFloor, light);
}

// The lip of the well: its upper half faces away from the light, its lower
// half towards it.
TRGB Lip(const TLayout& layout, int y, double distance) {
  const double downward = (y + 0.5 - layout.Center.Y) / layout.Scale / distance;
  const TRGB lit = Mix(kLipShadow, kLipLight, SmoothStep(-0.6, 0.9, downward));
  const double across = (distance - (kWellRadius - kLipWidth)) / kLipWidth;
  return Mix(lit, kLipShadow, 0.35 * (1.0 - across));
}

void PaintPanelAndWell(const TLayout& layout, TArtCanvas& canvas) {
  for (int y = 0; y < layout.Height; ++y) {
    for (int x = 0; x < layout.Width; ++x) {
      const double distance = layout.Distance(x, y);
      const double inWell = layout.Coverage(kWellRadius - distance);
      const double inFloor = layout.Coverage(kWellRadius - kLipWidth - distance);
      TRGB color = Panel(layout, x, y);
      if (inFloor >= 1.0) {
        color = Well(layout, y, distance);
      } else {
        // Only here, away from the centre, is the lip's direction defined.
        if (inWell > 0.0) color = Mix(color, Lip(layout, y, distance), inWell);
        if (inFloor > 0.0) color = Mix(color, Well(layout, y, distance), inFloor);
      }
      canvas.Set(x, y, color);
    }
  }
}

// A bevel along the edges of the part the editor shows: the panel's top
// and left edges catch the light, its bottom and right edges fall away.
// Each of its two scale-1 pixels is Scale pixels wide.
void PaintEditorEdge(const TLayout& layout, TArtCanvas& canvas) {
  const int scale = layout.Down();
  for (int i = 0; i < 2 * scale; ++i) {
    const double strength = i / scale == 0 ? 0.22 : 0.09;
    for (int x = layout.VisibleLeft; x <= layout.VisibleRight; ++x) {
      canvas.Blend(x, layout.VisibleTop + i, Hex(0xFFFFFF), strength);
      canvas.Blend(x, layout.VisibleBottom - i, Hex(0x000000), strength * 1.6);
    }
    for (int y = layout.VisibleTop; y <= layout.VisibleBottom; ++y) {
      canvas.Blend(layout.VisibleLeft + i, y, Hex(0xFFFFFF), strength * 0.7);
      canvas.Blend(layout.VisibleRight - i, y, Hex(0x000000), strength * 1.4);
    }
  }
}

// Ticks every 5 degrees, longer every 15, longest and labelled every 45;
// the tick at 0 in the accent colour.
void PaintScale(const TLayout& layout, TArtCanvas& canvas) {
  TMask minor(layout.Width, layout.Height);
  TMask medium(layout.Width, layout.Height);
  TMask major(layout.Width, layout.Height);
  TMask zero(layout.Width, layout.Height);
  const auto tick = [&](TMask& mask, double from, double to, int degrees, double width) {
    mask.Stroke(layout.OnCircle(from, degrees), layout.OnCircle(to, degrees), width * layout.Scale);
  };
  for (int degrees = 0; degrees < 360; degrees += 5) {
    if (degrees == 0) {
      tick(zero, kScaleRadius - 1.0, kScaleRadius + 11.0, 0, 2.2);
    } else if (degrees % 45 == 0) {
      tick(major, kScaleRadius, kScaleRadius + 10.0, degrees, 1.8);
    } else if (degrees % 15 == 0) {
      tick(medium, kScaleRadius, kScaleRadius + 7.0, degrees, 1.3);
    } else {
      tick(minor, kScaleRadius, kScaleRadius + 4.0, degrees, 1.0);
    }
  }
  for (TMask* mask : {&minor, &medium, &major, &zero}) canvas.Paint(*mask, kEngraving, 0.7, 0, layout.Down());
  canvas.Paint(minor, kMinorTick, 0.9);
  canvas.Paint(medium, kTick);
  canvas.Paint(major, kMajorTick);
  canvas.Paint(zero, kAccent);

  const TTextStyle labelStyle = layout.Text({1.0, 1.05, 1.6});
  TMask labels(layout.Width, layout.Height);
  for (int degrees = 0; degrees < 360; degrees += 45) {
    AddCenteredText(labels, std::to_string(degrees), layout.OnCircle(kLabelRadius, degrees), labelStyle);
  }
  canvas.Paint(labels, kEngraving, 0.8, 0, layout.Down());
  canvas.Paint(labels, kLabel);
}

void PaintNames(const TLayout& layout, TArtCanvas& canvas) {
  const TTextStyle nameStyle = layout.Text({1.0, 1.15, 2.2});
  const double margin = layout.Scale;
  TMask product(layout.Width, layout.Height);
  AddText(product, "ZELK VORLAN", {layout.VisibleLeft + 9.0 * margin, layout.VisibleTop + 9.0 * margin}, nameStyle);
  canvas.Paint(product, kEngraving, 0.8, 0, layout.Down());
  canvas.Paint(product, kMajorTick);

  TMask vendor(layout.Width, layout.Height);
  const double vendorWidth = TextWidth("KELMORA", nameStyle);
  AddText(vendor, "KELMORA",
          {layout.VisibleRight - 8.0 * margin - vendorWidth, layout.VisibleBottom - 8.0 * margin - 7.15 * margin}, nameStyle);
  canvas.Paint(vendor, kEngraving, 0.8, 0, layout.Down());
  canvas.Paint(vendor, kAccent);
}

}  // namespace

TLoadedPicture PaintBackground(int scale) {
  const TLayout layout(scale);
  TArtCanvas canvas(layout.Width, layout.Height, TRGB{});
  PaintPanelAndWell(layout, canvas);
  PaintKnobBody(canvas, layout.Center, layout.Scale);
  PaintScale(layout, canvas);
  PaintNames(layout, canvas);
  PaintEditorEdge(layout, canvas);
  return canvas.ToPicture();
}

}  // namespace zelk::artwork
