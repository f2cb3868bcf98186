// The built-in features, registered at library start in this order:
//
// - TMoveableDIB: arrow keys move the control by SnapSize; a press of one of
//   MouseButtons at least BorderSize pixels inside the control's edges starts
//   a drag that moves the control in whole multiples of SnapSize, keeping the
//   pressed point under the pointer, until that button is released.
// - THighlightDIB: the control shows HighlightOpacity while it is hovered or
//   holds the DIB focus, and its own opacity again afterwards.
// - TShapeableDIB: only the control's painted shape takes the mouse. The
//   shape is the region of the pixels PaintDIB paints that are not the empty
//   colour (TransparentColor with tmFixed, the bottom-left pixel with tmAuto)
//   or, with MaskLevel above 0, whose alpha is above MaskLevel. It is
//   rebuilt only when the control's LastChangeTime moves; points outside it
//   go to whatever lies under the control. A control that paints only empty
//   space has no shape and takes every point.
//
// None of them marks a message handled except TShapeableDIB's answer to the
// hit test, so the control still sees everything.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "controls/DIBFeature.h"
#include "dib/DIBTypes.h"
#include "runtime/Set.h"

namespace zelk {

namespace platform {
class TRegion;
ZELK_ENUM_NAMES(TMouseButton, "mbLeft", "mbRight", "mbMiddle")
}  // namespace platform

class TCustomDIBControl;

class TMoveableDIB : public TDIBFeature {
  ZELK_CLASS(TMoveableDIB, TDIBFeature)

  explicit TMoveableDIB(TComponent* owner) : TDIBFeature(owner) {}

  std::string GetFeatureName() const override { return "Moveable DIB"; }
  void FeatureMessage(TMessage& message, bool& handled) override;

  // Published.
  bool AllowVertical = true;
  bool AllowHorizontal = true;
  uint8_t BorderSize = 0;
  uint8_t SnapSize = 1;
  TSet<TMouseButton> MouseButtons{TMouseButton::mbLeft};

  bool Moving() const { return moving_; }

 private:
  void KeyMove(uint16_t key);
  void Drag(TPoint point);
  void Press(TMouseButton button, TPoint point);
  bool InsideBorder(TPoint point) const;

  bool moving_ = false;
  TPoint startPosition_;
  TPoint pressPoint_;
  TMouseButton moveButton_ = TMouseButton::mbLeft;
};

class THighlightDIB : public TDIBFeature {
  ZELK_CLASS(THighlightDIB, TDIBFeature)

  explicit THighlightDIB(TComponent* owner) : TDIBFeature(owner) {}

  bool CanApplyTo(TControl* control) const override;
  std::string GetFeatureName() const override { return "Highlight dib"; }
  void FeatureMessage(TMessage& message, bool& handled) override;

  // Published, default 255.
  uint8_t HighlightOpacity = 255;

 private:
  void Highlight(TCustomDIBControl& control);
  void Restore(TCustomDIBControl& control);

  uint8_t savedOpacity_ = 255;
  bool highlighted_ = false;
};

class TShapeableDIB : public TDIBFeature {
  ZELK_CLASS(TShapeableDIB, TDIBFeature)

  explicit TShapeableDIB(TComponent* owner);
  ~TShapeableDIB() override;

  bool CanApplyTo(TControl* control) const override;
  std::string GetFeatureName() const override { return "Shapeable DIB"; }
  void FeatureMessage(TMessage& message, bool& handled) override;

  // Published.
  TColor TransparentColor = 0;
  TTransparentMode TransparentMode = TTransparentMode::tmAuto;
  uint8_t MaskLevel = 0;

  // The current shape; null before the first hit test and when the control
  // painted nothing but empty space.
  const platform::TRegion* Region() const { return region_.get(); }
  // Whether the point (control coordinates) belongs to the control: every
  // point while it has no region; rebuilds the shape first when the
  // control changed.
  bool HitTest(TPoint point);

 private:
  void RebuildRegion(TCustomDIBControl& control);

  std::unique_ptr<platform::TRegion> region_;
  // The control's change time when the shape was built; none before.
  std::optional<uint32_t> builtAt_;
};

// Registers the three built-in features.
void RegisterStandardDIBFeatures();

}  // namespace zelk
