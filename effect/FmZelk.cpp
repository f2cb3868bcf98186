#include "effect/FmZelk.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "controls/DIBContainer.h"
#include "controls/DIBDial.h"
#include "dib/AbstractSuperDIB.h"
#include "dib/DIBImageList.h"
#include "dib/DIBImages.h"
#include "dib/DIBImagesItem.h"
#include "dib/DIBSettings.h"
#include "effect/KnobPosition.h"
#include "runtime/ClassBuilder.h"
#include "runtime/ClassRegistry.h"

namespace zelk {

const TClassInfo& TFmZelk::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFmZelk>("TFmZelk")
                                     .Field("Background", &TFmZelk::Background)
                                     .Field("Zelk", &TFmZelk::Zelk)
                                     .Field("DIBImageList", &TFmZelk::DIBImageList)
                                     .Field("DIBSettings", &TFmZelk::DIBSettings)
                                     .Method<&TFmZelk::ZelkChange>("ZelkChange")
                                     .Build();
  return info;
}

const TClassInfo& TFmZelk2x::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFmZelk2x>("TFmZelk2x").Build();
  return info;
}

TFmZelk* NewEditorForScale(double scale) {
  if (scale <= 1.0) return New<TFmZelk>(nullptr);
  auto* form = New<TFmZelk2x>(nullptr);
  if (scale < 2.0) form->ReduceToScale(scale);
  return form;
}

namespace {

constexpr int32_t kUsualWidth = 245;
constexpr int32_t kUsualHeight = 269;
constexpr int32_t kUsualPointerRadius = 10;
constexpr int32_t kPointerIndex = 0;
constexpr int32_t kBackgroundIndex = 1;

struct TPoint2 {
  double X, Y;
};

// The knob's centre in the dial's conventions, continuous coordinates: half
// a pixel right of and above the middle pixel of the control; in the
// background's coordinates when the dial draws it centred.
TPoint2 KnobCentreOnBackground(int32_t width, int32_t height, int32_t backWidth, int32_t backHeight) {
  return {width / 2 + 0.5 - (width / 2 - backWidth / 2), height / 2 - 0.5 - (height / 2 - backHeight / 2)};
}

// The pointer picture's pivot (column width div 2 of memory row height div
// 2, rows counted from the bottom), continuous coordinates from the top.
TPoint2 PointerPivot(int32_t width, int32_t height) { return {width / 2 + 0.5, height - 1 - height / 2 + 0.5}; }

// How much of [low, high) lies in source pixel index.
double Overlap(int32_t index, double low, double high) {
  return std::max(0.0, std::min(high, index + 1.0) - std::max(low, static_cast<double>(index)));
}

// picture becomes width x height, each pixel the area average of what it
// covers of the old picture reduced by factor, the old picture's point from
// lying at the new one's point to. A keyed picture averages only pixels
// that are not the key and shows the key where they cover less than half,
// so that no dark fringe of the key shows around what it holds.
void ReduceAbout(TAbstractSuperDIB& picture, int32_t width, int32_t height, double factor, TPoint2 from, TPoint2 to,
                 bool keyed) {
  const int32_t sourceWidth = picture.Width();
  const int32_t sourceHeight = picture.Height();
  std::vector<TPixel> source(static_cast<size_t>(sourceWidth) * sourceHeight);
  for (int32_t y = 0; y < sourceHeight; ++y) {
    for (int32_t x = 0; x < sourceWidth; ++x) source[static_cast<size_t>(y) * sourceWidth + x] = picture.Pixel(x, y);
  }
  const TPixel key = picture.TransparentColorValue();
  const double half = 0.5 / factor;
  picture.SetSize(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    const double centreY = from.Y + (y + 0.5 - to.Y) / factor;
    for (int32_t x = 0; x < width; ++x) {
      const double centreX = from.X + (x + 0.5 - to.X) / factor;
      double sums[3] = {};
      double covered = 0.0;
      double total = 0.0;
      for (auto sy = static_cast<int32_t>(std::floor(centreY - half)); sy < centreY + half; ++sy) {
        const double weightY = Overlap(sy, centreY - half, centreY + half);
        const int32_t row = std::clamp(sy, 0, sourceHeight - 1);
        for (auto sx = static_cast<int32_t>(std::floor(centreX - half)); sx < centreX + half; ++sx) {
          const double weight = weightY * Overlap(sx, centreX - half, centreX + half);
          const TPixel pixel = source[static_cast<size_t>(row) * sourceWidth + std::clamp(sx, 0, sourceWidth - 1)];
          total += weight;
          if (keyed && (pixel & 0xFFFFFFu) == (key & 0xFFFFFFu)) continue;
          covered += weight;
          for (int channel = 0; channel < 3; ++channel) sums[channel] += weight * ((pixel >> (8 * channel)) & 0xFF);
        }
      }
      TPixel result = key;
      if (covered > 0.0 && covered >= 0.5 * total) {
        result = 0;
        for (int channel = 0; channel < 3; ++channel) {
          result |= static_cast<TPixel>(std::lround(sums[channel] / covered)) << (8 * channel);
        }
        if (keyed && (result & 0xFFFFFFu) == (key & 0xFFFFFFu)) result ^= 1;  // next to the key, never it
      }
      picture.SetPixel(x, y, result);
    }
  }
  picture.Changed();
}

}  // namespace

void TFmZelk2x::ReduceToScale(double scale) {
  if (Zelk == nullptr || DIBImageList == nullptr) return;
  const double factor = scale / 2.0;
  const int32_t width = static_cast<int32_t>(std::lround(kUsualWidth * scale));
  const int32_t height = static_cast<int32_t>(std::lround(kUsualHeight * scale));
  const int32_t oldRadius = Zelk->PointerRadius();
  const int32_t radius = static_cast<int32_t>(std::lround(kUsualPointerRadius * scale));
  TDIBImages& images = *DIBImageList->DIBImages();
  if (images.Count() <= kBackgroundIndex) return;

  TAbstractSuperDIB& back = *images.Item(kBackgroundIndex)->DIB();
  const int32_t backWidth = static_cast<int32_t>(std::lround(back.Width() * factor));
  const int32_t backHeight = static_cast<int32_t>(std::lround(back.Height() * factor));
  ReduceAbout(back, backWidth, backHeight, factor, KnobCentreOnBackground(ClientWidth(), ClientHeight(), back.Width(), back.Height()),
              KnobCentreOnBackground(width, height, backWidth, backHeight), false);

  // The pointer turns about its pivot, which the dial puts PointerRadius
  // from the knob's centre: the knob's centre on the picture (the radius
  // below the pivot) is the point that must land true.
  TAbstractSuperDIB& pointer = *images.Item(kPointerIndex)->DIB();
  const int32_t side = 2 * static_cast<int32_t>(std::ceil(pointer.Width() * factor / 2.0));
  const TPoint2 oldPivot = PointerPivot(pointer.Width(), pointer.Height());
  const TPoint2 newPivot = PointerPivot(side, side);
  ReduceAbout(pointer, side, side, factor, {oldPivot.X, oldPivot.Y + oldRadius}, {newPivot.X, newPivot.Y + radius}, true);

  SetClientWidth(width);
  SetClientHeight(height);
  Zelk->SetPointerRadius(radius);
  Zelk->SetHorizontalPixelsPerPosition(scale);
  Zelk->SetVerticalPixelsPerPosition(scale);
}

namespace {
constexpr int32_t kAngleParameter = 0;
}  // namespace

void TFmZelk::ZelkChange(TObject*) {
  if (Module == nullptr || Zelk == nullptr) return;
  Module->SetParameterFromEditor(kAngleParameter, static_cast<float>(Zelk->ExactPosition()));
}

void TFmZelk::ParametersChanged(const TParameterSet& changed) {
  if (Module != nullptr && changed.Contains(kAngleParameter)) ShowAngle(Module->ParameterValue(kAngleParameter));
}

void TFmZelk::ZelkBeginGesture(TObject*) {
  if (Module != nullptr) Module->BeginParameterEdit(kAngleParameter);
}

void TFmZelk::ZelkEndGesture(TObject*) {
  if (Module != nullptr) Module->EndParameterEdit(kAngleParameter);
}

void TFmZelk::ZelkValueHint(TObject*, std::string& Text) {
  if (Zelk == nullptr) return;
  char number[32];
  std::snprintf(number, sizeof number, "%.1f", Zelk->ExactPosition());
  Text = std::string(number) + " \u00B0";
}

void TFmZelk::ShowAngle(float degrees) {
  if (Zelk == nullptr || static_cast<float>(Zelk->ExactPosition()) == degrees) return;
  Zelk->SetPositionWithoutChange(KnobPositionForAngle(degrees));
}

void TFmZelk::ConnectKnob() {
  if (Zelk == nullptr) return;
  Zelk->OnBeginGesture = TNotifyEvent::Bind<&TFmZelk::ZelkBeginGesture>(this);
  Zelk->OnEndGesture = TNotifyEvent::Bind<&TFmZelk::ZelkEndGesture>(this);
  Zelk->OnValueHint = TDIBDialHintEvent::Bind<&TFmZelk::ZelkValueHint>(this);
  // The angle shows after a short hover, and all through a drag.
  Zelk->SetShowHint(true);
  // Tab reaches the knob's keys; a click leaves the keys with the host.
  Zelk->SetFocusOnClick(false);
  if (Zelk->DIBTabOrder() < 0) Zelk->SetDIBTabOrder(0);
}

void RegisterEditorClasses() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterClasses({&TFmZelk::StaticClass(), &TFmZelk2x::StaticClass()});
    return true;
  }();
}

}  // namespace zelk
