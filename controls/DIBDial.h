// TDIBDial: a rotary knob drawn from two pictures of an image list, the
// main picture centred and the pointer (a strip of PointerNumGlyphs frames)
// at the angle of Position within Min..Max. The mouse turns it by grabbing
// the pointer and circling the centre (mcsCircular) or by dragging anywhere
// (mcsLinear); a press away from the pointer steps toward the pressed point
// and repeats every 50 ms while held. Every Position write outside loading
// fires OnChange, even an unchanged one.
//
// Beyond that, the gestures users of knobs expect: the wheel turns it one
// position per notch (a tenth with Shift); Shift slows a drag to a quarter;
// a double click resets it to DefaultPosition; with the DIB focus the
// arrows step by one, Page Up/Down by kDialKeyPage, Home and End go to the
// ends. Shift's finer steps move ExactPosition, of which Position is the
// nearest whole value. Every gesture that can change the position is
// bracketed by OnBeginGesture and OnEndGesture (a press until its release
// or lost capture; a wheel notch, a key or a reset by itself), each fired
// once per gesture.
//
// Window thread only. OnChange runs inside the Position write and sees the
// clamped value.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "controls/DIBControl.h"
#include "controls/DIBDialGeometry.h"
#include "controls/DIBDialSettings.h"
#include "dib/DIBDrawnArea.h"
#include "runtime/Event.h"

namespace zelk {

class TAbstractSuperDIB;
class TDIBImageLink;

// Positions per Page Up or Page Down.
inline constexpr int32_t kDialKeyPage = 15;
// The wheel's and the drag's finer steps with Shift.
inline constexpr double kDialFineWheelStep = 0.1;
inline constexpr double kDialFineDragFactor = 0.25;

// Asks for the text that shows the dial's value (the value as its user
// reads it, "90.0 °").
using TDIBDialHintEvent = TEvent<void(TObject* Sender, std::string& Text)>;

class TAbstractDIBDial : public TCustomDIBControl {
  ZELK_CLASS(TAbstractDIBDial, TCustomDIBControl)

  // AutoSize on, press repeat on every 50 ms. The settings objects come from
  // the descendant's CreatePointerAngles/CreatePointerOpacities, called by
  // AdoptSettings in its constructor (a base constructor cannot reach them).
  explicit TAbstractDIBDial(TComponent* owner);
  ~TAbstractDIBDial() override;

  // --- settings ---

  // Clamped to Min..Max; fires PositionChanged, then OnChange outside loading.
  int32_t Position() const { return position_; }
  void SetPosition(int32_t value);
  // Moves the knob like SetPosition (clamped, repainted) without OnChange:
  // for showing a value that came from elsewhere.
  void SetPositionWithoutChange(int32_t value);
  // Position with the fraction that Shift's finer steps leave; equal to
  // Position after every whole write.
  double ExactPosition() const { return exactPosition_; }
  // Clamped to Min..Max; Position becomes its nearest whole value (halves
  // to even); fires like SetPosition.
  void SetExactPosition(double value);
  // Where a double click sets the knob.
  int32_t DefaultPosition() const { return defaultPosition_; }
  void SetDefaultPosition(int32_t value) { defaultPosition_ = value; }
  int32_t Min() const { return min_; }
  // Outside loading raises "Min must be less than max" unless value < Max.
  void SetMin(int32_t value);
  int32_t Max() const { return max_; }
  // Outside loading raises "Max must be greater than min" unless value > Min.
  void SetMax(int32_t value);
  int32_t PageSize() const { return pageSize_; }
  void SetPageSize(int32_t value);
  int32_t SmallChange() const { return smallChange_; }
  void SetSmallChange(int32_t value);

  TDIBImageLink* IndexMain() const { return indexMain_; }
  void SetIndexMain(TDIBImageLink* link);
  TDIBImageLink* IndexPointer() const { return indexPointer_; }
  void SetIndexPointer(TDIBImageLink* link);

  // The owned settings objects; writing copies the given object's values.
  TCustomDIBDialPointerAngles* PointerAngles() const { return pointerAngles_.get(); }
  void SetPointerAngles(TCustomDIBDialPointerAngles* angles);
  TCustomDIBDialPointerOpacities* PointerOpacities() const { return pointerOpacities_.get(); }
  void SetPointerOpacities(TCustomDIBDialPointerOpacities* opacities);

  int32_t PointerNumGlyphs() const { return pointerNumGlyphs_; }
  void SetPointerNumGlyphs(int32_t value);
  bool PointerRotate() const { return pointerRotate_; }
  void SetPointerRotate(bool value);
  // Distance of the pointer's centre from the dial's; 0 or less derives it
  // from the control size (see DialPointerRect).
  int32_t PointerRadius() const { return pointerRadius_; }
  void SetPointerRadius(int32_t value);

  long double HorizontalPixelsPerPosition() const { return horizontalPixelsPerPosition_; }
  void SetHorizontalPixelsPerPosition(long double value);
  long double VerticalPixelsPerPosition() const { return verticalPixelsPerPosition_; }
  void SetVerticalPixelsPerPosition(long double value);
  TDIBDialMouseControlStyle MouseControlStyle() const { return mouseControlStyle_; }
  void SetMouseControlStyle(TDIBDialMouseControlStyle style) { mouseControlStyle_ = style; }
  TDIBDialMouseLinearSensitivity MouseLinearSensitivity() const { return mouseLinearSensitivity_; }
  void SetMouseLinearSensitivity(TDIBDialMouseLinearSensitivity sensitivity) {
    mouseLinearSensitivity_ = sensitivity;
  }

  TNotifyEvent OnChange;
  // A gesture of the user begins before its first change and ends after
  // its last.
  TNotifyEvent OnBeginGesture;
  TNotifyEvent OnEndGesture;
  // Supplies the value's text, which the dial keeps as its Hint (shown
  // after a hover) and shows while it is dragged.
  TDIBDialHintEvent OnValueHint;

  // --- state and geometry ---

  // The pointer is held by the mouse.
  bool Dragging() const { return dragging_; }
  // Between OnBeginGesture and OnEndGesture.
  bool InGesture() const { return gestureOpen_; }
  // The value's hint is shown because the dial is dragged.
  bool ValueHintShown() const { return valueHintShown_; }
  // The pointer angle in degrees 0..359.
  virtual int32_t GetPointerAngle() = 0;
  // What a left press at (x, y) does.
  virtual TDIBDialHitZone GetHitZone(int32_t x, int32_t y);
  // The position for a mouse point in the current style.
  virtual int32_t PositionFromPoint(int32_t x, int32_t y);
  // Where the pointer frame is drawn (right and bottom inclusive); empty
  // without a pointer picture.
  TRect PointerRect();
  // The part of the dial (right and bottom exclusive) that drawing the
  // pointer changes at the current position: the pointer picture's visible
  // pixels, rotated and placed. A change of position repaints this part
  // before and after it, nothing else.
  TRect PointerArea();

  // --- control overrides ---

  void PaintDIB() override;
  // The main picture's size, grown for a pointer at a positive radius;
  // refused without a main picture.
  bool CanAutoSize(int32_t& newWidth, int32_t& newHeight) override;
  void DIBImageChanged(int32_t index, TDIBImageOperation operation) override;
  // Arrows, Page Up/Down, Home and End after the key events.
  bool DoDIBKeyDown(TMessage& message) override;
  // A lost capture ends the drag or the held step, and its gesture.
  void WndProc(TMessage& message) override;

 protected:
  virtual TCustomDIBDialPointerAngles* CreatePointerAngles() = 0;
  virtual TCustomDIBDialPointerOpacities* CreatePointerOpacities() = 0;
  // Called by every Position write before OnChange; invalidates and
  // brings the value's hint up to date.
  virtual void PositionChanged();
  // Shows or hides the value's hint near the dial while it is dragged: the
  // one place where the dial meets the toolkit's hint window.
  virtual void ShowValueHint(bool visible);
  // The settings objects' change notification; invalidates.
  virtual void SettingsChanged(TObject* sender);
  // Creates the settings objects through the two factories above.
  void AdoptSettings();
  // Min, Max and the pointer angles' Start and Range.
  TDIBDialScale Scale() const;

  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  bool MouseWheel(TShiftState shift, int32_t wheelDelta, int32_t x, int32_t y) override;

 private:
  // The pointer rectangle and PointerArea for the inputs they were found
  // for.
  struct TPointerPlace {
    int32_t Width = 0;
    int32_t Height = 0;
    uint16_t PictureWidth = 0;
    uint16_t PictureHeight = 0;
    int32_t Frames = 0;
    int32_t Radius = 0;
    bool Rotate = false;
    int32_t Angle = 0;
    TAngle PictureAngle = 0;
    long double ScaleX = 0;
    long double ScaleY = 0;
    TVisiblePixels Visible;
    TRect Rect;
    TRect Area;

    bool SameInputs(const TPointerPlace& other) const {
      return Width == other.Width && Height == other.Height && PictureWidth == other.PictureWidth &&
             PictureHeight == other.PictureHeight && Frames == other.Frames && Radius == other.Radius &&
             Rotate == other.Rotate && Angle == other.Angle && PictureAngle == other.PictureAngle &&
             ScaleX == other.ScaleX && ScaleY == other.ScaleY && Visible == other.Visible;
    }
  };

  void BeginGesture();
  void EndGesture();
  // A change that is a whole gesture by itself, or part of an open one.
  void ChangeInOneGesture(double exact);
  // Stops dragging and repeating; the gesture ends.
  void CancelMouseGesture();
  // Starts the drag's measure again from (x, y): when Shift changes.
  void AnchorDrag(int32_t x, int32_t y, bool fine);
  double FineDragPosition(int32_t x, int32_t y);
  // The position a key asks for; false for keys the dial does not use.
  bool KeyTarget(uint16_t key, double& target) const;
  int32_t Clamped(int32_t value) const;
  void StorePosition(int32_t value);
  TRect PointerRectFor(const TAbstractSuperDIB& pointer);
  const TPointerPlace& PointerPlaceFor(const TAbstractSuperDIB& pointer);
  // The pointer picture's visible pixels, found once per picture.
  const TVisiblePixels& VisiblePointerPixels(const TAbstractSuperDIB& pointer);
  // Repaints where the pointer was and where it is now.
  void InvalidatePointer();
  // While the container composes, its update rectangle in control
  // coordinates (inclusive) within whole; otherwise whole.
  TRect ComposedArea(const TRect& whole) const;
  void DrawPictures(TAbstractSuperDIB& target);
  void DrawPointer(TAbstractSuperDIB& pointer, TAbstractSuperDIB& target);

  std::unique_ptr<TCustomDIBDialPointerAngles, TFreeObject> pointerAngles_;
  std::unique_ptr<TCustomDIBDialPointerOpacities, TFreeObject> pointerOpacities_;
  int32_t position_ = 0;
  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t pageSize_ = 1;
  int32_t smallChange_ = 1;
  // Made by CreateImageLink: the control base owns them.
  TDIBImageLink* indexPointer_ = nullptr;
  TDIBImageLink* indexMain_ = nullptr;
  int32_t pointerNumGlyphs_ = 1;
  bool pointerRotate_ = false;
  int32_t pointerRadius_ = -1;
  bool dragging_ = false;
  // Set while PaintDIB adjusts the pointer picture, whose change reports
  // must not ask for another frame.
  bool painting_ = false;
  // VisiblePointerPixels' answer and the picture it was found for.
  struct TPointerPixels {
    const uint8_t* Bits = nullptr;
    uint16_t Width = 0;
    uint16_t Height = 0;
    int32_t Frames = 0;
    bool Masked = false;
    bool Transparent = false;
    TPixel Key = 0;
    TVisiblePixels Pixels;

    bool SamePicture(const TPointerPixels& other) const {
      return Bits == other.Bits && Width == other.Width && Height == other.Height && Frames == other.Frames &&
             Masked == other.Masked && Transparent == other.Transparent && Key == other.Key;
    }
  };
  std::optional<TPointerPixels> pointerPixels_;
  std::optional<TPointerPlace> pointerPlace_;
  // PointerArea when the pointer was last drawn or repainted; none before
  // the first drawing.
  std::optional<TRect> pointerArea_;
  long double horizontalPixelsPerPosition_ = 1.0L;
  long double verticalPixelsPerPosition_ = 1.0L;
  TDIBDialMouseControlStyle mouseControlStyle_ = TDIBDialMouseControlStyle::mcsCircular;
  TDIBDialMouseLinearSensitivity mouseLinearSensitivity_ = TDIBDialMouseLinearSensitivity::mlsBoth;
  int32_t dragStartPosition_ = 0;
  TPoint dragStartPoint_;
  TPoint lastDragPoint_;
  double exactPosition_ = 0;
  int32_t defaultPosition_ = 0;
  bool gestureOpen_ = false;
  bool valueHintShown_ = false;
  // Shift's slow drag: its anchor value and the last direction angle seen.
  bool fineDrag_ = false;
  double fineDragStart_ = 0;
  int32_t fineDragAngle_ = 0;
};

class TCustomDIBDial : public TAbstractDIBDial {
  ZELK_CLASS(TCustomDIBDial, TAbstractDIBDial)

  explicit TCustomDIBDial(TComponent* owner);

  // NormalizeAngle(Start + (Position - Min) * 360 div (Max - Min) * Range
  // div 360); Start when Max equals Min.
  int32_t GetPointerAngle() override;

 protected:
  TCustomDIBDialPointerAngles* CreatePointerAngles() override;
  TCustomDIBDialPointerOpacities* CreatePointerOpacities() override;
};

// The published dial; registers its template properties.
class TDIBDial : public TCustomDIBDial {
  ZELK_CLASS(TDIBDial, TCustomDIBDial)

  explicit TDIBDial(TComponent* owner);
};

// Registers TDIBDial for streaming.
void RegisterDIBDialClass();

}  // namespace zelk
