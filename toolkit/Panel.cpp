#include "toolkit/Panel.h"

#include <algorithm>

#include "toolkit/Publish.h"

namespace zelk {

namespace {

constexpr TColor clBtnShadow = static_cast<TColor>(0xFF000010);
constexpr TColor clBtnHighlight = static_cast<TColor>(0xFF000014);

// A raised bevel is light on its top and left edges and dark on the others;
// a lowered one the other way round. Answers the rectangle inside it.
TRect DrawBevel(platform::TCanvas& canvas, TRect rect, TPanelBevel bevel, int32_t width) {
  if (bevel == TPanelBevel::bvNone) return rect;
  for (int32_t step = 0; step < width && !rect.IsEmpty(); ++step) {
    if (bevel != TPanelBevel::bvSpace) {
      const bool raised = bevel == TPanelBevel::bvRaised;
      canvas.Brush().Color = raised ? clBtnHighlight : clBtnShadow;
      canvas.FillRect(rect.Left, rect.Top, rect.Right, rect.Top + 1);
      canvas.FillRect(rect.Left, rect.Top, rect.Left + 1, rect.Bottom);
      canvas.Brush().Color = raised ? clBtnShadow : clBtnHighlight;
      canvas.FillRect(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom);
      canvas.FillRect(rect.Right - 1, rect.Top, rect.Right, rect.Bottom);
    }
    rect = {rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
  }
  return rect;
}

}  // namespace

const TClassInfo& TCustomPanel::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomPanel>("TCustomPanel").Build();
  return info;
}

const TClassInfo& TPanel::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TPanel> builder("TPanel");
    PublishControl(builder);
    PublishWinControl(builder);
    return builder.Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner)
        .Default(TPanelBevel::bvNone)
        .Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter)
        .Default(TPanelBevel::bvRaised)
        .Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth)
        .Default(1)
        .Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth)
        .Default(0)
        .Build();
  }();
  return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csOpaque);
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TPanelBevel bevel) {
  if (bevelInner_ == bevel) return;
  bevelInner_ = bevel;
  FrameChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel bevel) {
  if (bevelOuter_ == bevel) return;
  bevelOuter_ = bevel;
  FrameChanged();
}

void TCustomPanel::SetBevelWidth(int32_t width) {
  width = std::max(width, 1);
  if (bevelWidth_ == width) return;
  bevelWidth_ = width;
  FrameChanged();
}

void TCustomPanel::SetBorderWidth(int32_t width) {
  width = std::max(width, 0);
  if (borderWidth_ == width) return;
  borderWidth_ = width;
  FrameChanged();
}

void TCustomPanel::FrameChanged() {
  Realign();
  Invalidate();
}

TRect TCustomPanel::AdjustClientRect(TRect rect) const {
  int32_t inset = borderWidth_;
  if (bevelOuter_ != TPanelBevel::bvNone) inset += bevelWidth_;
  if (bevelInner_ != TPanelBevel::bvNone) inset += bevelWidth_;
  return {rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset};
}

void TCustomPanel::Paint() {
  platform::TCanvas& canvas = *Canvas();
  canvas.Brush().Style = platform::TBrushStyle::bsSolid;
  TRect rect = DrawBevel(canvas, ClientRect(), bevelOuter_, bevelWidth_);
  rect = {rect.Left + borderWidth_, rect.Top + borderWidth_, rect.Right - borderWidth_, rect.Bottom - borderWidth_};
  DrawBevel(canvas, rect, bevelInner_, bevelWidth_);
}

}  // namespace zelk
