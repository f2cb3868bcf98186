#include "controls/DIBStandardFeatures.h"

#include <algorithm>

#include "controls/DIBControl.h"
#include "dib/WinDIB.h"
#include "platform/KeyCodes.h"
#include "platform/Region.h"
#include "runtime/ClassBuilder.h"
#include "toolkit/MessageViews.h"

namespace zelk {

namespace {

std::optional<TMouseButton> PressedButton(uint32_t msg) {
  switch (msg) {
    case wmLButtonDown: return TMouseButton::mbLeft;
    case wmRButtonDown: return TMouseButton::mbRight;
    case wmMButtonDown: return TMouseButton::mbMiddle;
    default: return std::nullopt;
  }
}

std::optional<TMouseButton> ReleasedButton(uint32_t msg) {
  switch (msg) {
    case wmLButtonUp: return TMouseButton::mbLeft;
    case wmRButtonUp: return TMouseButton::mbRight;
    case wmMButtonUp: return TMouseButton::mbMiddle;
    default: return std::nullopt;
  }
}

// Cut to a whole multiple of snap, toward zero.
int32_t Snapped(int32_t delta, uint8_t snap) { return snap > 1 ? delta / snap * snap : delta; }

}  // namespace

// --- TMoveableDIB ---

const TClassInfo& TMoveableDIB::StaticClass() {
  using T = TMoveableDIB;
  static const TClassInfo info = TClassBuilder<T>("TMoveableDIB")
                                     .Property("AllowHorizontal", &T::AllowHorizontal)
                                     .Default(true)
                                     .Property("AllowVertical", &T::AllowVertical)
                                     .Default(true)
                                     .Property("BorderSize", &T::BorderSize)
                                     .Default(0)
                                     .Property("MouseButtons", &T::MouseButtons)
                                     .Default(TSet<TMouseButton>{TMouseButton::mbLeft}.Mask())
                                     .Property("SnapSize", &T::SnapSize)
                                     .Default(1)
                                     .Build();
  return info;
}

void TMoveableDIB::FeatureMessage(TMessage& message, bool& handled) {
  if (Control() == nullptr) return;
  if (message.Msg == wmKeyDown) {
    KeyMove(KeyOf(message).Key);
  } else if (moving_) {
    if (message.Msg == wmMouseMove) Drag(MouseOf(message).Point);
    if (ReleasedButton(message.Msg) == moveButton_) moving_ = false;
  } else if (const std::optional<TMouseButton> button = PressedButton(message.Msg)) {
    Press(*button, MouseOf(message).Point);
  }
}

void TMoveableDIB::KeyMove(uint16_t key) {
  TControl& control = *Control();
  int32_t dx = 0;
  int32_t dy = 0;
  if (AllowHorizontal && key == vkLeft) dx = -SnapSize;
  if (AllowHorizontal && key == vkRight) dx = SnapSize;
  if (AllowVertical && key == vkUp) dy = -SnapSize;
  if (AllowVertical && key == vkDown) dy = SnapSize;
  if (dx != 0 || dy != 0) control.SetBounds(control.Left() + dx, control.Top() + dy, control.Width(), control.Height());
}

void TMoveableDIB::Drag(TPoint point) {
  TControl& control = *Control();
  const int32_t dx = AllowHorizontal ? Snapped(point.X - pressPoint_.X, SnapSize) : 0;
  const int32_t dy = AllowVertical ? Snapped(point.Y - pressPoint_.Y, SnapSize) : 0;
  if (dx != 0 || dy != 0) control.SetBounds(control.Left() + dx, control.Top() + dy, control.Width(), control.Height());
}

void TMoveableDIB::Press(TMouseButton button, TPoint point) {
  moveButton_ = button;
  if (!MouseButtons.Contains(button) || !InsideBorder(point)) return;
  moving_ = true;
  pressPoint_ = point;
  startPosition_ = {Control()->Left(), Control()->Top()};
}

// A margin of BorderSize pixels on every side does not start a move.
bool TMoveableDIB::InsideBorder(TPoint point) const {
  const TControl& control = *Control();
  return point.X >= BorderSize && point.Y >= BorderSize && point.X < control.Width() - BorderSize &&
         point.Y < control.Height() - BorderSize;
}

// --- THighlightDIB ---

const TClassInfo& THighlightDIB::StaticClass() {
  using T = THighlightDIB;
  static const TClassInfo info = TClassBuilder<T>("THighlightDIB")
                                     .Property("HighlightOpacity", &T::HighlightOpacity)
                                     .Default(255)
                                     .Build();
  return info;
}

bool THighlightDIB::CanApplyTo(TControl* control) const { return AsDIBControl(control) != nullptr; }

void THighlightDIB::Highlight(TCustomDIBControl& control) {
  // Entering twice without leaving must not take the highlight for the
  // control's own opacity.
  if (!highlighted_) savedOpacity_ = control.Opacity();
  highlighted_ = true;
  control.SetOpacity(HighlightOpacity);
}

void THighlightDIB::Restore(TCustomDIBControl& control) {
  if (!highlighted_) return;
  highlighted_ = false;
  control.SetOpacity(savedOpacity_);
}

// Runs before the control's own handling: its flags are still the old ones.
void THighlightDIB::FeatureMessage(TMessage& message, bool& handled) {
  TCustomDIBControl* control = AsDIBControl(Control());
  if (control == nullptr) return;
  switch (message.Msg) {
    case wmSetFocus:
      if (!control->DIBFocused() && !control->MouseInside()) Highlight(*control);
      break;
    case wmKillFocus:
      if (control->DIBFocused() && !control->MouseInside()) Restore(*control);
      break;
    case wmLButtonUp:
      control->SetMouseCapture(false);
      break;
    case cmMouseEnter:
      if (!control->DIBFocused() && !control->MouseCapture()) Highlight(*control);
      break;
    case cmMouseLeave:
      if (!control->DIBFocused() && !control->MouseCapture()) Restore(*control);
      break;
    default:
      break;
  }
}

// --- TShapeableDIB ---

const TClassInfo& TShapeableDIB::StaticClass() {
  using T = TShapeableDIB;
  static const TClassInfo info = TClassBuilder<T>("TShapeableDIB")
                                     .Property("MaskLevel", &T::MaskLevel)
                                     .Default(0)
                                     .Property("TransparentColor", &T::TransparentColor)
                                     .Default(0)
                                     .Property("TransparentMode", &T::TransparentMode)
                                     .Default(TTransparentMode::tmAuto)
                                     .Build();
  return info;
}

TShapeableDIB::TShapeableDIB(TComponent* owner) : TDIBFeature(owner) {}

TShapeableDIB::~TShapeableDIB() = default;

bool TShapeableDIB::CanApplyTo(TControl* control) const { return AsDIBControl(control) != nullptr; }

void TShapeableDIB::FeatureMessage(TMessage& message, bool& handled) {
  if (message.Msg != cmHitTest || AsDIBControl(Control()) == nullptr) return;
  message.Result = HitTest(MouseOf(message).Point) ? htClient : htNowhere;
  handled = true;
}

bool TShapeableDIB::HitTest(TPoint point) {
  TCustomDIBControl* control = AsDIBControl(Control());
  if (control == nullptr) return true;
  if (builtAt_ != control->LastChangeTime()) RebuildRegion(*control);
  // No region (the control painted nothing but empty space): no shape to
  // keep presses out, so every point belongs to the control.
  return region_ == nullptr || region_->Contains(point.X, point.Y);
}

// Paints the control alone on transparent black and takes its shape.
void TShapeableDIB::RebuildRegion(TCustomDIBControl& control) {
  const int32_t width = std::clamp(control.Width(), 1, 65535);
  const int32_t height = std::clamp(control.Height(), 1, 65535);
  std::unique_ptr<TWinDIB, TFreeObject> dib(
      TAbstractSuperDIB::CreateSize<TWinDIB>(static_cast<uint16_t>(width), static_cast<uint16_t>(height)));
  dib->Fill(0);
  TWinDIB* lent = control.ControlDIB();
  struct TGiveBack {
    TCustomDIBControl& control;
    TWinDIB* lent;
    ~TGiveBack() { control.SetControlDIB(lent); }
  } giveBack{control, lent};
  control.SetControlDIB(dib.get());
  control.PaintDIB();
  const TColor empty = TransparentMode == TTransparentMode::tmFixed ? TransparentColor
                                                                    : PixelToColor(dib->Pixel(0, height - 1));
  region_ = MaskLevel > 0 ? dib->AlphaRegion(MaskLevel) : dib->ColorRegion(empty);
  builtAt_ = control.LastChangeTime();
}

void RegisterStandardDIBFeatures() {
  RegisterDIBFeature(TMoveableDIB::StaticClass());
  RegisterDIBFeature(THighlightDIB::StaticClass());
  RegisterDIBFeature(TShapeableDIB::StaticClass());
}

}  // namespace zelk
