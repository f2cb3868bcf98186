// TControl: the base of everything placed on a form. A control has bounds in
// its parent's client area, an alignment, visibility, an enabled state,
// colours and a font, a hint, a popup menu and a cursor, and takes part in
// mouse input. A plain TControl has no window: its parent paints it (with
// wmPaint and a surface handle) and routes the mouse to it; TWinControl adds
// a window of the backend.
//
// Messages reach a control through Perform, which calls WindowProc (WndProc
// unless replaced); WndProc dispatches by code to the handlers registered for
// the class (MessageTable.h) and hands the rest to DefaultHandler.
//
// The toolkit tracks the control under the mouse for every window, in one
// owner (PointerState.h), and sends it cmMouseEnter and cmMouseLeave, also
// for controls without windows. While a control holds the mouse capture only
// it hears them: leaving it sends it cmMouseLeave, coming back cmMouseEnter,
// and others hear nothing meanwhile.
// Everything here runs on the window thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/WindowSystem.h"
#include "runtime/Component.h"
#include "runtime/Event.h"
#include "runtime/TypeInfo.h"
#include "runtime/Types.h"
#include "toolkit/Font.h"
#include "toolkit/MessageTable.h"
#include "toolkit/Messages.h"
#include "toolkit/SizeConstraints.h"

namespace zelk {

class TDragDockObject;
class TDragObject;
class TPopupMenu;
class TWinControl;

using TMouseButton = platform::TMouseButton;

enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
ZELK_ENUM_NAMES(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient")

// Cursors: crDefault takes the parent window's; the others name a shape.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                         crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                         crDrag = -12, crNoDrop = -13, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
const TIdentMap& CursorIdents();

// The sides of its parent a control keeps its distance to when the parent
// is resized. Left and right (top and bottom) together stretch it; neither
// keeps it centred in that direction.
enum class TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
ZELK_ENUM_NAMES(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
using TAnchors = TSet<TAnchorKind>;
inline constexpr TAnchors kDefaultAnchors{TAnchorKind::akLeft, TAnchorKind::akTop};

// Reading direction; kept and streamed, nothing here lays out text.
enum class TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
ZELK_ENUM_NAMES(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly")

// Drag and dock settings; kept and streamed with their events.
enum class TDragKind : uint8_t { dkDrag, dkDock };
ZELK_ENUM_NAMES(TDragKind, "dkDrag", "dkDock")
enum class TDragMode : uint8_t { dmManual, dmAutomatic };
ZELK_ENUM_NAMES(TDragMode, "dmManual", "dmAutomatic")
enum class TDragState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
ZELK_ENUM_NAMES(TDragState, "dsDragEnter", "dsDragLeave", "dsDragMove")

// What a control is doing right now.
enum TControlStateFlag : uint32_t {
  csLButtonDown = 1u << 0,
  csClicked = 1u << 1,           // pressed with the left button; a release inside clicks it
  csAlignmentNeeded = 1u << 2,   // an align pass was held back
  csFocusing = 1u << 3,
  csDestroyingHandle = 1u << 4,
};

// What kind of control a class is; set by its constructor.
enum TControlStyleFlag : uint32_t {
  csAcceptsControls = 1u << 0,  // may be the parent of controls read under it
  csCaptureMouse = 1u << 1,     // captures the mouse while the left button is held
  csClickEvents = 1u << 2,      // a left press and release inside clicks it
  csOpaque = 1u << 3,           // paints all its rectangle; its parent need not paint under it
  csNoDesignVisible = 1u << 4,  // hidden at design time
  csNoStdEvents = 1u << 5,      // mouse and key events (OnMouseDown, OnKeyDown...) do not fire
  csDoubleClicks = 1u << 6,     // hears a quick second left press as wmLButtonDblClk, else as a press
  csFramed = 1u << 7,           // a windowed control its parent frames when it is three-dimensional
};

using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int32_t X, int32_t Y)>;
using TWndMethod = TEvent<void(TMessage& Message)>;
using TContextPopupEvent = TEvent<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TDragOverEvent =
    TEvent<void(TObject* Sender, TObject* Source, int32_t X, int32_t Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, int32_t X, int32_t Y)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, int32_t X, int32_t Y)>;
using TStartDragEvent = TEvent<void(TObject* Sender, TDragObject*& DragObject)>;
using TStartDockEvent = TEvent<void(TObject* Sender, TDragDockObject*& DragObject)>;
using TCanResizeEvent = TEvent<void(TObject* Sender, int32_t& NewWidth, int32_t& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    TEvent<void(TObject* Sender, int32_t& MinWidth, int32_t& MinHeight, int32_t& MaxWidth, int32_t& MaxHeight)>;

class TControl : public TComponent {
  ZELK_CLASS(TControl, TComponent)

  explicit TControl(TComponent* owner);
  ~TControl() override;

  static const TMessageTable& StaticMessages();
  virtual const TMessageTable& Messages() const { return StaticMessages(); }
  intptr_t Perform(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);
  void Perform(TMessage& message) { WindowProc(message); }
  // The window procedure in use; replacing it subclasses the control.
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& message);
  // The class's handler for the code, else DefaultHandler.
  void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message) {}

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetLeft(int32_t left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int32_t top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int32_t width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int32_t height) { SetBounds(left_, top_, width_, height); }
  // In the parent's client coordinates.
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  void SetBoundsRect(const TRect& rect) { SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); }
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  TRect ClientRect() const { return {0, 0, width_, height_}; }
  int32_t ClientWidth() const { return width_; }
  int32_t ClientHeight() const { return height_; }
  void SetClientWidth(int32_t width) { SetWidth(width); }
  void SetClientHeight(int32_t height) { SetHeight(height); }

  // The parent's align pass places aligned controls; alClient takes the
  // whole client area left by the others. Alignment wins over AutoSize.
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  // Asks for a new size (AutoSize); false keeps the current one. The base
  // keeps it.
  virtual bool CanAutoSize(int32_t& newWidth, int32_t& newHeight) { return false; }
  // Applies CanAutoSize's answer in the dimensions alignment leaves free.
  void AdjustSize();

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent too.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  uint32_t ControlState() const { return controlState_; }
  bool InControlState(uint32_t flags) const { return (controlState_ & flags) != 0; }
  void SetControlState(uint32_t flags) { controlState_ = flags; }
  uint32_t ControlStyle() const { return controlStyle_; }
  bool HasControlStyle(uint32_t flags) const { return (controlStyle_ & flags) != 0; }
  void SetControlStyle(uint32_t flags) { controlStyle_ = flags; }

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // Takes the parent's colour, and follows it, while set.
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor);
  bool IsColorStored() const { return !parentColor_; }
  TFont* Font() const { return font_; }
  // Copies font's settings.
  void SetFont(TFont* font);
  // Takes the parent's font, and follows it, while set.
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);
  bool IsFontStored() const { return !parentFont_; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }
  // Whether the hint window shows Hint while the mouse rests on the
  // control. With ParentShowHint set (the default) the parent's answer
  // holds; setting ShowHint clears ParentShowHint.
  bool ShowHint() const;
  void SetShowHint(bool showHint);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool parentShowHint) { parentShowHint_ = parentShowHint; }
  bool IsShowHintStored() const { return !parentShowHint_; }
  // Reading direction, following the parent while ParentBiDiMode is set.
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode mode);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool parentBiDiMode) { parentBiDiMode_ = parentBiDiMode; }
  bool IsBiDiModeStored() const { return !parentBiDiMode_; }
  int32_t HelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t context) { helpContext_ = context; }

  // Sides kept at their distance when the parent resizes; {akLeft, akTop}
  // leaves the control where it is. Aligned controls ignore them.
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors anchors) { anchors_ = anchors; }
  // Moves or stretches the control for a parent whose client area grew by
  // (deltaWidth, deltaHeight), by its anchors.
  void ApplyAnchors(int32_t deltaWidth, int32_t deltaHeight);
  // Limits of every bounds change; changing them re-applies them.
  TSizeConstraints* Constraints() const { return constraints_; }
  void SetConstraints(TSizeConstraints* constraints);

  // Drag and drop between the controls of one form. While a drag runs the
  // mouse drives it: the control under the pointer hears OnDragOver
  // (entering, moving, leaving; it accepts by setting Accept), a release
  // over a control that accepted drops there (its OnDragDrop), and the
  // source hears OnEndDrag with the target, or none when the drop missed or
  // Escape cancelled. The cursor shows DragCursor where a drop is accepted
  // and crNoDrop elsewhere. DragMode dmAutomatic begins a drag at a left
  // press instead of the press's own handling.
  void BeginDrag();
  void EndDrag(bool drop);
  bool IsDragging() const;
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor cursor) { dragCursor_ = cursor; }
  TDragKind DragKind() const { return dragKind_; }
  void SetDragKind(TDragKind kind) { dragKind_ = kind; }
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode mode) { dragMode_ = mode; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  // The menu that offers this control's shortcuts and context items.
  virtual TPopupMenu* GetPopupMenu() { return popupMenu_; }

  // Marks the control's rectangle for painting: its own window, or the
  // rectangle in its parent's window.
  virtual void Invalidate();

  // While set, every mouse message goes to this control, wherever the mouse
  // is, through the window that holds the backend's capture.
  bool MouseCapture() const;
  void SetMouseCapture(bool capture);

  // Fires OnClick.
  virtual void Click();

  void LoadingFinished() override;
  void BeforeDestruction() override;

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  // Drag events (see BeginDrag); OnStartDrag may hand over a drag object,
  // which this toolkit does not use.
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;
  // Stored and read with their settings; the toolkit has no double clicks,
  // context menus on right clicks or docking, so they do not fire.
  TNotifyEvent OnDblClick;
  TContextPopupEvent OnContextPopup;
  TEndDragEvent OnEndDock;
  TStartDockEvent OnStartDock;
  // OnConstrainedResize may change the limits of one bounds change;
  // OnCanResize may refuse a new size; OnResize follows every size change.
  TConstrainedResizeEvent OnConstrainedResize;
  TCanResizeEvent OnCanResize;
  TNotifyEvent OnResize;

 protected:
  // The size a bounds change may take: the constraints (adjusted by
  // OnConstrainedResize), then OnCanResize; false keeps the old size.
  bool ConstrainSize(int32_t& width, int32_t& height);
  void ConstraintsChanged(TObject* sender);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // A turn of the wheel (kWheelDelta per notch, positive away from the
  // user) over the control; true when the control used it.
  virtual bool MouseWheel(TShiftState shift, int32_t wheelDelta, int32_t x, int32_t y) { return false; }
  void Notification(TComponent* component, TOperation operation) override;
  // Asks the parent to align its controls again when this one is aligned.
  void RequestAlign();
  // Passes message to the handler an ancestor of Class registered for its
  // code, else to DefaultHandler.
  template <class Class>
  void InheritedMessage(TMessage& message) {
    DispatchFrom(Class::Inherited::StaticMessages(), message);
  }
  void DispatchFrom(const TMessageTable& table, TMessage& message);
  // Leaves the parent and every toolkit record of this control; the first
  // half of destruction.
  virtual void ReleaseControl();

  void WMMouseMove(TMessage& message);
  void WMButtonDown(TMessage& message);
  void WMButtonUp(TMessage& message);
  void WMMouseWheel(TMessage& message);
  void CMHitTest(TMessage& message) { message.Result = htClient; }
  void CMEnabledChanged(TMessage& message) { Invalidate(); }
  void CMColorChanged(TMessage& message) { Invalidate(); }
  void CMVisibleChanged(TMessage& message);
  void CMParentColorChanged(TMessage& message);
  void CMParentFontChanged(TMessage& message);

 private:
  friend class TWinControl;
  void FontChanged(TObject* sender);

  TWinControl* parent_ = nullptr;
  int32_t left_ = 0;
  int32_t top_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool autoSize_ = false;
  bool adjustingSize_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentColor_ = true;
  bool parentFont_ = true;
  TColor color_ = static_cast<TColor>(0xFF00000F);  // clBtnFace
  TFont* font_ = nullptr;                            // owned
  TCursor cursor_ = crDefault;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
  bool parentBiDiMode_ = true;
  int32_t helpContext_ = 0;
  TAnchors anchors_ = kDefaultAnchors;
  TSizeConstraints* constraints_ = nullptr;  // owned
  TCursor dragCursor_ = crDrag;
  TDragKind dragKind_ = TDragKind::dkDrag;
  TDragMode dragMode_ = TDragMode::dmManual;
  TPopupMenu* popupMenu_ = nullptr;
  uint32_t controlState_ = 0;
  uint32_t controlStyle_ = csCaptureMouse | csClickEvents;
};

// The control holding the mouse capture, or none.
TControl* CaptureControl();

}  // namespace zelk
