#include "controls/DIBDial.h"

#include <algorithm>
#include <cmath>

#include "controls/DIBContainer.h"
#include "controls/DIBTimer.h"
#include "dib/AbstractSuperDIB.h"
#include "dib/DIBAngles.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/DIBRounding.h"
#include "platform/KeyCodes.h"
#include "dib/WinDIB.h"
#include "runtime/ClassRegistry.h"
#include "toolkit/HintWindow.h"
#include "toolkit/MessageViews.h"
#include "toolkit/Publish.h"

namespace zelk {

// How far below the dial's centre a drag shows its value.
constexpr int32_t kValueHintDrop = 24;

// --- TAbstractDIBDial ---

const TClassInfo& TAbstractDIBDial::StaticClass() {
  static const TClassInfo info = TClassBuilder<TAbstractDIBDial>("TAbstractDIBDial").Build();
  return info;
}

TAbstractDIBDial::TAbstractDIBDial(TComponent* owner) : TCustomDIBControl(owner) {
  CreateImageLink(indexMain_);
  CreateImageLink(indexPointer_);
  SetAutoSize(true);
  SetRepeatEnabled(true);
  SetRepeatInterval(50);
  SetControlStyle(ControlStyle() | csDoubleClicks);  // a double click resets
}

TAbstractDIBDial::~TAbstractDIBDial() = default;

void TAbstractDIBDial::AdoptSettings() {
  pointerAngles_.reset(CreatePointerAngles());
  pointerAngles_->OnChange = TNotifyEvent::Bind<&TAbstractDIBDial::SettingsChanged>(this);
  pointerOpacities_.reset(CreatePointerOpacities());
  pointerOpacities_->OnChange = TNotifyEvent::Bind<&TAbstractDIBDial::SettingsChanged>(this);
}

// --- settings ---

int32_t TAbstractDIBDial::Clamped(int32_t value) const {
  if (value > max_) return max_;
  if (value < min_) return min_;
  return value;
}

void TAbstractDIBDial::StorePosition(int32_t value) {
  position_ = Clamped(value);
  exactPosition_ = position_;
  PositionChanged();
}

void TAbstractDIBDial::SetExactPosition(double value) {
  if (std::isnan(value)) return;
  const double clamped = std::clamp(value, static_cast<double>(min_), static_cast<double>(max_));
  position_ = Clamped(static_cast<int32_t>(RoundHalfEven(clamped)));
  exactPosition_ = clamped;
  PositionChanged();
  if (!HasState(csLoading) && OnChange) OnChange(this);
  InvalidatePointer();
}

void TAbstractDIBDial::SetPosition(int32_t value) {
  StorePosition(value);
  if (!HasState(csLoading) && OnChange) OnChange(this);
  InvalidatePointer();
}

void TAbstractDIBDial::SetPositionWithoutChange(int32_t value) {
  StorePosition(value);
  InvalidatePointer();
}

void TAbstractDIBDial::SetMax(int32_t value) {
  if (!HasState(csLoading) && value <= min_) throw EDIBDialError("Max must be greater than min");
  max_ = value;
  if (position_ > max_) SetPosition(max_);
  Invalidate();
}

void TAbstractDIBDial::SetMin(int32_t value) {
  if (!HasState(csLoading) && value >= max_) throw EDIBDialError("Min must be less than max");
  min_ = value;
  if (position_ < min_) SetPosition(min_);
  Invalidate();
}

void TAbstractDIBDial::SetPageSize(int32_t value) {
  if (!HasState(csLoading) && value < 0) throw EDIBDialError("PageSize cannot be less than 0");
  pageSize_ = value;
}

void TAbstractDIBDial::SetSmallChange(int32_t value) {
  if (!HasState(csLoading) && value < 0) throw EDIBDialError("SmallChange cannot be less than 0");
  smallChange_ = value;
}

void TAbstractDIBDial::SetIndexMain(TDIBImageLink* link) { indexMain_->Assign(link); }

void TAbstractDIBDial::SetIndexPointer(TDIBImageLink* link) { indexPointer_->Assign(link); }

void TAbstractDIBDial::SetPointerAngles(TCustomDIBDialPointerAngles* angles) { pointerAngles_->Assign(angles); }

void TAbstractDIBDial::SetPointerOpacities(TCustomDIBDialPointerOpacities* opacities) {
  pointerOpacities_->Assign(opacities);
}

void TAbstractDIBDial::SetPointerNumGlyphs(int32_t value) {
  if (value < 1) throw EDIBDialError("PointerNumGlyphs must be at least 1");
  pointerNumGlyphs_ = value;
  Invalidate();
}

void TAbstractDIBDial::SetPointerRotate(bool value) {
  pointerRotate_ = value;
  Invalidate();
}

void TAbstractDIBDial::SetPointerRadius(int32_t value) {
  pointerRadius_ = value;
  Invalidate();
}

void TAbstractDIBDial::SetHorizontalPixelsPerPosition(long double value) {
  // The negated test also refuses NaN.
  if (!(value > 0)) throw EDIBDialError("HorizontalPixelsPerPosition must be greater than zero");
  horizontalPixelsPerPosition_ = value;
}

void TAbstractDIBDial::SetVerticalPixelsPerPosition(long double value) {
  if (!(value > 0)) throw EDIBDialError("VerticalPixelsPerPosition must be greater than zero");
  verticalPixelsPerPosition_ = value;
}

void TAbstractDIBDial::PositionChanged() {
  InvalidatePointer();
  if (!OnValueHint) return;
  std::string text;
  OnValueHint(this, text);
  SetHint(std::move(text));
  if (valueHintShown_) ShowValueHint(true);
}

// The value hint of a drag stands in the toolkit's hint window, centred
// below the dial's centre, and follows every change until the drag ends.
void TAbstractDIBDial::ShowValueHint(bool visible) {
  const bool wasShown = valueHintShown_;
  valueHintShown_ = visible;
  if (visible && !Hint().empty()) {
    const TPoint size = THintWindow::HintSize(Hint());
    ApplicationHintWindow().ActivateHint(*this, {Width() / 2 - size.X / 2, Height() / 2 + kValueHintDrop}, Hint());
  } else if (wasShown) {
    ApplicationHintWindow().ReleaseHint();
  }
}

void TAbstractDIBDial::SettingsChanged(TObject*) { Invalidate(); }

// --- geometry ---

TDIBDialScale TAbstractDIBDial::Scale() const {
  return {min_, max_, pointerAngles_->Start(), pointerAngles_->Range()};
}

int32_t TAbstractDIBDial::PositionFromPoint(int32_t x, int32_t y) {
  if (mouseControlStyle_ == TDIBDialMouseControlStyle::mcsLinear) {
    return DialLinearPosition(dragStartPosition_, x - dragStartPoint_.X, dragStartPoint_.Y - y,
                              mouseLinearSensitivity_, horizontalPixelsPerPosition_, verticalPixelsPerPosition_);
  }
  return DialCircularPosition(Scale(), AngleBetween(Width() / 2, Height() / 2, x, y));
}

TDIBDialHitZone TAbstractDIBDial::GetHitZone(int32_t x, int32_t y) {
  if (mouseControlStyle_ == TDIBDialMouseControlStyle::mcsLinear) return TDIBDialHitZone::hzDrag;
  return DialHitZone(PointerRect(), x, y, Scale(), position_, PositionFromPoint(x, y));
}

TRect TAbstractDIBDial::PointerRect() {
  TAbstractSuperDIB* pointer = nullptr;
  if (!indexPointer_->GetImage(pointer) || pointer == nullptr) return {};
  return PointerRectFor(*pointer);
}

TRect TAbstractDIBDial::PointerRectFor(const TAbstractSuperDIB& pointer) {
  const TDIBDialPointerGeometry geometry{Width(),         Height(),        pointer.Width(), pointer.Height(),
                                         pointerNumGlyphs_, pointerRadius_, pointerRotate_};
  return DialPointerRect(geometry, GetPointerAngle());
}

TRect TAbstractDIBDial::PointerArea() {
  TAbstractSuperDIB* pointer = nullptr;
  if (!indexPointer_->GetImage(pointer) || pointer == nullptr) return {};
  return PointerPlaceFor(*pointer).Area;
}

// Mirrors DrawPointer: the frame drawn at the pointer rectangle's corner,
// turned by the pointer angle or by the picture's own, sized to the turn.
// A step asks for it up to three times (two repaint requests and the
// drawing), so the last answer is kept.
const TAbstractDIBDial::TPointerPlace& TAbstractDIBDial::PointerPlaceFor(const TAbstractSuperDIB& pointer) {
  const int32_t angle = GetPointerAngle();
  TPointerPlace wanted{Width(),
                       Height(),
                       pointer.Width(),
                       pointer.Height(),
                       pointerNumGlyphs_,
                       pointerRadius_,
                       pointerRotate_,
                       angle,
                       pointer.Angle(),
                       pointer.ScaleX(),
                       pointer.ScaleY(),
                       VisiblePointerPixels(pointer),
                       {},
                       {}};
  if (pointerPlace_ && pointerPlace_->SameInputs(wanted)) return *pointerPlace_;
  wanted.Rect = PointerRectFor(pointer);
  const int32_t frameWidth = pointer.Width() / pointerNumGlyphs_;
  if (frameWidth >= 1) {
    const TFrameDraw draw{wanted.Rect.Left,
                          wanted.Rect.Top,
                          static_cast<uint16_t>(frameWidth),
                          pointer.Height(),
                          pointerRotate_ ? static_cast<TAngle>(angle % 360) : pointer.Angle(),
                          pointer.ScaleX(),
                          pointer.ScaleY(),
                          true};
    wanted.Area = IntersectRect(DrawnArea(draw, wanted.Visible), ClientRect());
  }
  pointerPlace_ = wanted;
  return *pointerPlace_;
}

const TVisiblePixels& TAbstractDIBDial::VisiblePointerPixels(const TAbstractSuperDIB& pointer) {
  TPointerPixels wanted{pointer.Bits(),  pointer.Width(),       pointer.Height(),
                        pointerNumGlyphs_, pointer.Masked(), pointer.Transparent(),
                        pointer.TransparentColorValue(), {}};
  if (!pointerPixels_ || !pointerPixels_->SamePicture(wanted)) {
    wanted.Pixels = VisibleFramePixels(pointer, pointerNumGlyphs_);
    pointerPixels_ = wanted;
  }
  return pointerPixels_->Pixels;
}

void TAbstractDIBDial::InvalidatePointer() {
  // Before the first drawing nothing says where the pointer stands.
  if (!pointerArea_) {
    Invalidate();
    return;
  }
  const TRect now = PointerArea();
  InvalidateArea(*pointerArea_);
  InvalidateArea(now);
  pointerArea_ = now;
}

bool TAbstractDIBDial::CanAutoSize(int32_t& newWidth, int32_t& newHeight) {
  // The list hands out one view at a time: take the main picture's size
  // before asking for the pointer.
  TAbstractSuperDIB* main = nullptr;
  if (!indexMain_->GetImage(main) || main == nullptr) return false;
  const int32_t mainWidth = main->Width();
  const int32_t mainHeight = main->Height();
  TAbstractSuperDIB* pointer = nullptr;
  const bool hasPointer = indexPointer_->GetImage(pointer) && pointer != nullptr;
  const TDIBDialSize size = DialPreferredSize(mainWidth, mainHeight, hasPointer, hasPointer ? pointer->Width() : 0,
                                              hasPointer ? pointer->Height() : 0, pointerRadius_);
  newWidth = size.Width;
  newHeight = size.Height;
  return true;
}

void TAbstractDIBDial::DIBImageChanged(int32_t, TDIBImageOperation) {
  if (painting_) return;
  pointerPixels_.reset();
  if (AutoSize()) AdjustSize();
  Invalidate();
}

// --- gestures ---

void TAbstractDIBDial::BeginGesture() {
  if (gestureOpen_) return;
  gestureOpen_ = true;
  if (OnBeginGesture) OnBeginGesture(this);
}

// A dial being destroyed tells nobody: whoever listened is going too and
// ends what it began itself.
void TAbstractDIBDial::EndGesture() {
  if (!gestureOpen_) return;
  gestureOpen_ = false;
  if (OnEndGesture && !HasState(csDestroying)) OnEndGesture(this);
}

void TAbstractDIBDial::ChangeInOneGesture(double exact) {
  const bool partOfOpen = gestureOpen_;
  BeginGesture();
  SetExactPosition(exact);
  if (!partOfOpen) EndGesture();
}

void TAbstractDIBDial::CancelMouseGesture() {
  if (IsRepeating()) StopRepeat();
  RepeatTimer()->SetEnabled(false);
  if (dragging_) {
    dragging_ = false;
    ShowValueHint(false);
    InvalidatePointer();
  }
  EndGesture();
}

void TAbstractDIBDial::WndProc(TMessage& message) {
  if (message.Msg == wmCaptureChanged) CancelMouseGesture();
  TCustomDIBControl::WndProc(message);
}

// --- mouse ---

void TAbstractDIBDial::AnchorDrag(int32_t x, int32_t y, bool fine) {
  dragStartPosition_ = position_;
  dragStartPoint_ = {x, y};
  lastDragPoint_ = {x, y};
  fineDrag_ = fine;
  fineDragStart_ = exactPosition_;
  fineDragAngle_ = AngleBetween(Width() / 2, Height() / 2, x, y);
}

// A quarter of the linear movement, or a quarter of the turn around the
// centre since the last move (in positions of the swept range).
double TAbstractDIBDial::FineDragPosition(int32_t x, int32_t y) {
  if (mouseControlStyle_ == TDIBDialMouseControlStyle::mcsLinear) {
    const long double steps = DialLinearSteps(x - dragStartPoint_.X, dragStartPoint_.Y - y, mouseLinearSensitivity_,
                                              horizontalPixelsPerPosition_, verticalPixelsPerPosition_);
    return fineDragStart_ + static_cast<double>(steps) * kDialFineDragFactor;
  }
  const int32_t angle = AngleBetween(Width() / 2, Height() / 2, x, y);
  const double positionsPerDegree =
      static_cast<double>(static_cast<int64_t>(max_) - min_ + 1) / std::max(1, pointerAngles_->Range());
  fineDragStart_ = std::clamp(fineDragStart_ + DialAngleStep(fineDragAngle_, angle) * kDialFineDragFactor *
                                                   positionsPerDegree,
                              static_cast<double>(min_), static_cast<double>(max_));
  fineDragAngle_ = angle;
  return fineDragStart_;
}

void TAbstractDIBDial::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomDIBControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  if (shift.Contains(TShiftFlag::ssDouble)) {
    CancelMouseGesture();
    ChangeInOneGesture(defaultPosition_);
    return;
  }
  BeginGesture();
  AnchorDrag(x, y, shift.Contains(TShiftFlag::ssShift));
  const int32_t target = PositionFromPoint(x, y);
  const TDIBDialHitZone zone = GetHitZone(x, y);
  if (zone == TDIBDialHitZone::hzDrag) {
    if (IsRepeating()) StopRepeat();
    dragging_ = true;
    ShowValueHint(true);
    InvalidatePointer();
    return;
  }
  SetPosition(DialStep(zone, position_, target, smallChange_, pageSize_));
}

void TAbstractDIBDial::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  TCustomDIBControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  const bool fine = shift.Contains(TShiftFlag::ssShift);
  // The measure starts again where the pointer was when Shift changed.
  if (fine != fineDrag_) AnchorDrag(lastDragPoint_.X, lastDragPoint_.Y, fine);
  lastDragPoint_ = {x, y};
  if (fine) {
    SetExactPosition(FineDragPosition(x, y));
  } else {
    SetPosition(PositionFromPoint(x, y));
  }
}

void TAbstractDIBDial::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomDIBControl::MouseUp(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  if (dragging_) {
    dragging_ = false;
    ShowValueHint(false);
    InvalidatePointer();
  }
  EndGesture();
}

// Away from the user turns clockwise, toward higher positions.
bool TAbstractDIBDial::MouseWheel(TShiftState shift, int32_t wheelDelta, int32_t x, int32_t y) {
  if (wheelDelta == 0) return false;
  const double step = shift.Contains(TShiftFlag::ssShift) ? kDialFineWheelStep : 1.0;
  ChangeInOneGesture(exactPosition_ + step * wheelDelta / kWheelDelta);
  return true;
}

// --- keys ---

bool TAbstractDIBDial::KeyTarget(uint16_t key, double& target) const {
  switch (key) {
    case vkRight:
    case vkUp:
      target = exactPosition_ + 1;
      return true;
    case vkLeft:
    case vkDown:
      target = exactPosition_ - 1;
      return true;
    case vkPrior:
      target = exactPosition_ + kDialKeyPage;
      return true;
    case vkNext:
      target = exactPosition_ - kDialKeyPage;
      return true;
    case vkHome:
      target = min_;
      return true;
    case vkEnd:
      target = max_;
      return true;
    default:
      return false;
  }
}

bool TAbstractDIBDial::DoDIBKeyDown(TMessage& message) {
  if (TCustomDIBControl::DoDIBKeyDown(message)) return true;
  double target = 0;
  if (!KeyTarget(KeyOf(message).Key, target)) return false;
  ChangeInOneGesture(target);
  return true;
}

// --- painting ---

void TAbstractDIBDial::PaintDIB() {
  TCustomDIBControl::PaintDIB();
  TWinDIB* target = ControlDIB();
  if (target == nullptr) return;
  // Only the part of the frame being composed reaches the screen: draw
  // nothing outside it, then give the scratch image its whole area back.
  const TRect whole = target->ClipRect();
  target->SetClipRect(ComposedArea(whole));
  try {
    DrawPictures(*target);
  } catch (...) {
    target->SetClipRect(whole);
    throw;
  }
  target->SetClipRect(whole);
}

TRect TAbstractDIBDial::ComposedArea(const TRect& whole) const {
  // Outside a composition (a feature taking the dial's shape) all of it.
  const TCustomDIBContainer* container = Container();
  if (container == nullptr || !container->Composing()) return whole;
  const TRect update = container->UpdateRect();  // container coordinates, right and bottom exclusive
  const TRect area{std::max(whole.Left, update.Left - Left()), std::max(whole.Top, update.Top - Top()),
                   std::min(whole.Right, update.Right - 1 - Left()), std::min(whole.Bottom, update.Bottom - 1 - Top())};
  return area.Left <= area.Right && area.Top <= area.Bottom ? area : whole;
}

void TAbstractDIBDial::DrawPictures(TAbstractSuperDIB& target) {
  TAbstractSuperDIB* main = nullptr;
  if (!indexMain_->GetImage(main) || main == nullptr) return;
  main->Draw(Width() / 2 - main->Width() / 2, Height() / 2 - main->Height() / 2, main->Width(), main->Height(),
             target, 0, 0);
  TAbstractSuperDIB* pointer = nullptr;
  if (!indexPointer_->GetImage(pointer) || pointer == nullptr) return;
  DrawPointer(*pointer, target);
}

void TAbstractDIBDial::DrawPointer(TAbstractSuperDIB& pointer, TAbstractSuperDIB& target) {
  const TPointerPlace& place = PointerPlaceFor(pointer);
  const TRect rect = place.Rect;
  const int32_t angle = GetPointerAngle();
  pointerArea_ = place.Area;
  // Setting the picture's angle, size mode and opacity reports a change of
  // the picture, which is this paint's own doing.
  painting_ = true;
  try {
    if (pointerRotate_) pointer.SetAngle(static_cast<TAngle>(angle));
    pointer.SetAutoSize(true);
    pointer.SetOpacity(dragging_ ? pointerOpacities_->Active() : pointerOpacities_->Normal());
  } catch (...) {
    painting_ = false;
    throw;
  }
  painting_ = false;
  pointer.DrawGlyph(rect.Left, rect.Top, pointerNumGlyphs_, target, 0, 359, angle, true);
}

// --- TCustomDIBDial ---

const TClassInfo& TCustomDIBDial::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomDIBDial>("TCustomDIBDial").Build();
  return info;
}

TCustomDIBDial::TCustomDIBDial(TComponent* owner) : TAbstractDIBDial(owner) { AdoptSettings(); }

int32_t TCustomDIBDial::GetPointerAngle() { return DialPointerAngle(Scale(), Position()); }

TCustomDIBDialPointerAngles* TCustomDIBDial::CreatePointerAngles() { return New<TDIBDialPointerAngles>(); }

TCustomDIBDialPointerOpacities* TCustomDIBDial::CreatePointerOpacities() { return New<TDIBDialPointerOpacities>(); }

// --- TDIBDial ---

const TClassInfo& TDIBDial::StaticClass() {
  using T = TDIBDial;
  // In the dial's published order; Left, Top, Width, Height, Cursor, Hint
  // and Tag keep the places their base classes give them.
  static const TClassInfo info = TClassBuilder<T>("TDIBDial")
          .Property("Accelerator", &T::Accelerator, &T::SetAccelerator)
          .Default('\0')
          .Property("Align", &T::Align, &T::SetAlign)
          .Default(TAlign::alNone)
          .Property("Anchors", &T::Anchors, &T::SetAnchors)
          .Default(kDefaultAnchors)
          // A dial sizes itself to its picture unless told otherwise; the
          // default makes a dial stored with AutoSize off keep it.
          .Property("AutoSize", &T::AutoSize, &T::SetAutoSize)
          .Default(true)
          .Property("DIBFeatures", &T::DIBFeatures, &T::SetDIBFeatures)
          .Property("DIBImageList", &T::DIBImageList, &T::SetDIBImageList)
          .Property("DragCursor", &T::DragCursor, &T::SetDragCursor)
          .Idents(CursorIdents())
          .Default(crDrag)
          .Property("DragKind", &T::DragKind, &T::SetDragKind)
          .Default(TDragKind::dkDrag)
          .Property("DragMode", &T::DragMode, &T::SetDragMode)
          .Default(TDragMode::dmManual)
          .Property("Enabled", &T::Enabled, &T::SetEnabled)
          .Default(true)
          .Property("HorizontalPixelsPerPosition", &T::HorizontalPixelsPerPosition,
                    &T::SetHorizontalPixelsPerPosition)
          .Property("IndexMain", &T::IndexMain, &T::SetIndexMain)
          .Property("IndexPointer", &T::IndexPointer, &T::SetIndexPointer)
          .Property("Max", &T::Max, &T::SetMax)
          .Default(100)
          .Property("Min", &T::Min, &T::SetMin)
          .Default(0)
          .Property("MouseControlStyle", &T::MouseControlStyle, &T::SetMouseControlStyle)
          .Default(TDIBDialMouseControlStyle::mcsCircular)
          .Property("MouseLinearSensitivity", &T::MouseLinearSensitivity, &T::SetMouseLinearSensitivity)
          .Default(TDIBDialMouseLinearSensitivity::mlsBoth)
          .Property("Opacity", &T::Opacity, &T::SetOpacity)
          .Default(255)
          .Property("PageSize", &T::PageSize, &T::SetPageSize)
          .Default(1)
          .Property("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint)
          .Default(true)
          .Property("PointerAngles", &T::PointerAngles, &T::SetPointerAngles)
          .Property("PointerOpacities", &T::PointerOpacities, &T::SetPointerOpacities)
          .Property("PointerNumGlyphs", &T::PointerNumGlyphs, &T::SetPointerNumGlyphs)
          .Default(1)
          .Property("PointerRadius", &T::PointerRadius, &T::SetPointerRadius)
          .Default(-1)
          .Property("PointerRotate", &T::PointerRotate, &T::SetPointerRotate)
          .Default(false)
          .Property("PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
          .Property("Position", &T::Position, &T::SetPosition)
          .Default(0)
          .Property("ShowHint", &T::ShowHint, &T::SetShowHint)
          .Stored(&T::IsShowHintStored)
          .Property("SmallChange", &T::SmallChange, &T::SetSmallChange)
          .Default(1)
          .Property("DIBTabOrder", &T::DIBTabOrder, &T::SetDIBTabOrder)
          .Default(-1)
          .Property("VerticalPixelsPerPosition", &T::VerticalPixelsPerPosition, &T::SetVerticalPixelsPerPosition)
          .Property("Visible", &T::Visible, &T::SetVisible)
          .Default(true)
          .Property("OnEnter", &T::OnEnter)
          .Property("OnExit", &T::OnExit)
          .Property("OnKeyDown", &T::OnKeyDown)
          .Property("OnKeyPress", &T::OnKeyPress)
          .Property("OnKeyUp", &T::OnKeyUp)
          .Property("OnChange", &T::OnChange)
          .Property("OnContextPopup", &T::OnContextPopup)
          .Property("OnDragDrop", &T::OnDragDrop)
          .Property("OnDragOver", &T::OnDragOver)
          .Property("OnEndDock", &T::OnEndDock)
          .Property("OnEndDrag", &T::OnEndDrag)
          .Property("OnMouseDown", &T::OnMouseDown)
          .Property("OnMouseEnter", &T::OnMouseEnter)
          .Property("OnMouseLeave", &T::OnMouseLeave)
          .Property("OnMouseMove", &T::OnMouseMove)
          .Property("OnMouseUp", &T::OnMouseUp)
          .Property("OnStartDock", &T::OnStartDock)
          .Property("OnstartDrag", &T::OnStartDrag)
          // The colour and font every control carries, and its click.
          .Property("Color", &T::Color, &T::SetColor)
          .Idents(ColorIdents())
          .Stored(&T::IsColorStored)
          .Property("Font", &T::Font, &T::SetFont)
          .Stored(&T::IsFontStored)
          .Property("ParentColor", &T::ParentColor, &T::SetParentColor)
          .Default(true)
          .Property("ParentFont", &T::ParentFont, &T::SetParentFont)
          .Default(true)
          .Property("OnClick", &T::OnClick)
          .Build();
  return info;
}

TDIBDial::TDIBDial(TComponent* owner) : TCustomDIBDial(owner) {
  for (const char* name :
       {"AutoSize", "Max", "Min", "Opacity", "PageSize", "PointerAngles", "PointerOpacities", "PointerNumGlyphs",
        "PointerRadius", "PointerRotate", "Position", "SmallChange", "HorizontalPixelsPerPosition",
        "VerticalPixelsPerPosition", "MouseControlStyle", "MouseLinearSensitivity"}) {
    AddTemplateProperty(name);
  }
}

void RegisterDIBDialClass() { RegisterClasses({&TDIBDial::StaticClass()}); }

}  // namespace zelk
