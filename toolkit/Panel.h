// TCustomPanel: the windowed container of other controls, filled with its
// colour and framed by an outer and an inner bevel with a border between
// them; its children are aligned inside the frame. TPanel publishes it.
#pragma once

#include "toolkit/GraphicControl.h"

namespace zelk {

enum class TPanelBevel : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
ZELK_ENUM_NAMES(TPanelBevel, "bvNone", "bvLowered", "bvRaised", "bvSpace")

class TCustomPanel : public TCustomControl {
  ZELK_CLASS(TCustomPanel, TCustomControl)

  explicit TCustomPanel(TComponent* owner);

  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel bevel);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel bevel);
  int32_t BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int32_t width);
  // Space between the bevels.
  int32_t BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int32_t width);

 protected:
  TRect AdjustClientRect(TRect rect) const override;
  void Paint() override;

 private:
  void FrameChanged();

  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  int32_t bevelWidth_ = 1;
  int32_t borderWidth_ = 0;
};

class TPanel : public TCustomPanel {
  ZELK_CLASS(TPanel, TCustomPanel)

  using TCustomPanel::TCustomPanel;
};

}  // namespace zelk
