#include "toolkit/Control.h"

#include <algorithm>

#include "platform/Backend.h"
#include "runtime/ClassBuilder.h"
#include "toolkit/Font.h"
#include "toolkit/Form.h"
#include "toolkit/HintWindow.h"
#include "toolkit/InputState.h"
#include "toolkit/MessageViews.h"
#include "toolkit/PointerState.h"
#include "toolkit/Menus.h"
#include "toolkit/WinControl.h"

namespace zelk {

namespace {

constexpr char kParentSetToSelf[] = "A control cannot have itself as its parent";

constexpr TIdentMapEntry kCursors[] = {
    {crDefault, "crDefault"},   {crNone, "crNone"},       {crArrow, "crArrow"},       {crCross, "crCross"},
    {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"},   {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},     {crUpArrow, "crUpArrow"}, {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"}, {crNoDrop, "crNoDrop"}, {crNo, "crNo"},
    {crAppStart, "crAppStart"}, {crHelp, "crHelp"},       {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"},
};

TMouseButton ButtonOf(uint32_t code) {
  switch (code) {
    case wmRButtonDown:
    case wmRButtonUp:
      return TMouseButton::mbRight;
    case wmMButtonDown:
    case wmMButtonUp:
      return TMouseButton::mbMiddle;
    default:
      return TMouseButton::mbLeft;
  }
}

}  // namespace

const TIdentMap& CursorIdents() {
  static const TIdentMap map{kCursors};
  return map;
}

TInputState& InputState() {
  static TInputState state;
  return state;
}

TControl* CaptureControl() { return PointerState().Capture(); }

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TControl>("TControl")
                                     .Property("Left", &TControl::Left, &TControl::SetLeft)
                                     .Property("Top", &TControl::Top, &TControl::SetTop)
                                     .Property("Width", &TControl::Width, &TControl::SetWidth)
                                     .Property("Height", &TControl::Height, &TControl::SetHeight)
                                     .Property("Cursor", &TControl::Cursor, &TControl::SetCursor)
                                     .Idents(CursorIdents())
                                     .Default(crDefault)
                                     .Property("Hint", &TControl::Hint, &TControl::SetHint)
                                     .Build();
  return info;
}

const TMessageTable& TControl::StaticMessages() {
  static const TMessageTable table = TMessageTableBuilder<TControl>()
                                         .On<&TControl::WMMouseMove>(wmMouseMove)
                                         .On<&TControl::WMButtonDown>(wmLButtonDown)
                                         .On<&TControl::WMButtonDown>(wmLButtonDblClk)
                                         .On<&TControl::WMButtonDown>(wmRButtonDown)
                                         .On<&TControl::WMButtonDown>(wmMButtonDown)
                                         .On<&TControl::WMButtonUp>(wmLButtonUp)
                                         .On<&TControl::WMButtonUp>(wmRButtonUp)
                                         .On<&TControl::WMButtonUp>(wmMButtonUp)
                                         .On<&TControl::WMMouseWheel>(wmMouseWheel)
                                         .On<&TControl::CMHitTest>(cmHitTest)
                                         .On<&TControl::CMEnabledChanged>(cmEnabledChanged)
                                         .On<&TControl::CMColorChanged>(cmColorChanged)
                                         .On<&TControl::CMVisibleChanged>(cmVisibleChanged)
                                         .On<&TControl::CMParentColorChanged>(cmParentColorChanged)
                                         .On<&TControl::CMParentFontChanged>(cmParentFontChanged)
                                         .BuildRoot();
  return table;
}

TControl::TControl(TComponent* owner)
    : TComponent(owner), font_(New<TFont>()), constraints_(New<TSizeConstraints>()) {
  WindowProc = TWndMethod::Bind<&TControl::WndProc>(this);
  font_->OnChange = TNotifyEvent::Bind<&TControl::FontChanged>(this);
  constraints_->OnChange = TNotifyEvent::Bind<&TControl::ConstraintsChanged>(this);
}

TControl::~TControl() {
  if (!HasState(csDestroying)) TControl::ReleaseControl();
  TObject::Free(constraints_);
  TObject::Free(font_);
}

void TControl::BeforeDestruction() {
  if (HasState(csDestroying)) return;
  Destroying();
  ReleaseControl();
  FinishDestruction();
}

void TControl::ReleaseControl() {
  PointerState().Forget(*this);
  ForgetHintControl(this);
  ForgetDragControl(this);
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) form->ForgetControl(this);
  SetParent(nullptr);
}

intptr_t TControl::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  TMessage message{msg, wParam, lParam, 0};
  WindowProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& message) {
  if (message.Msg == wmLButtonDown) controlState_ |= csLButtonDown;
  if (message.Msg == wmLButtonUp) controlState_ &= ~csLButtonDown;
  Dispatch(message);
}

void TControl::Dispatch(TMessage& message) { DispatchFrom(Messages(), message); }

void TControl::DispatchFrom(const TMessageTable& table, TMessage& message) {
  if (const TMessageTable::THandler handler = table.Find(message.Msg)) {
    handler(*this, message);
  } else {
    DefaultHandler(message);
  }
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (!ConstrainSize(width, height)) {
    width = width_;
    height = height_;
  }
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  const TRect before = BoundsRect();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (parent_ != nullptr && visible_) {
    parent_->InvalidateRect(before);
    parent_->InvalidateRect(BoundsRect());
  }
  RequestAlign();
  // A parent sized by its children follows them.
  if (parent_ != nullptr && parent_->AutoSize()) parent_->AdjustSize();
  if (resized && OnResize) OnResize(this);
}

bool TControl::ConstrainSize(int32_t& width, int32_t& height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  int32_t minWidth = constraints_->MinWidth();
  int32_t minHeight = constraints_->MinHeight();
  int32_t maxWidth = constraints_->MaxWidth();
  int32_t maxHeight = constraints_->MaxHeight();
  if (OnConstrainedResize) OnConstrainedResize(this, minWidth, minHeight, maxWidth, maxHeight);
  if (minWidth > 0) width = std::max(width, minWidth);
  if (maxWidth > 0) width = std::min(width, maxWidth);
  if (minHeight > 0) height = std::max(height, minHeight);
  if (maxHeight > 0) height = std::min(height, maxHeight);
  bool resize = true;
  if (OnCanResize && (width != width_ || height != height_)) OnCanResize(this, width, height, resize);
  width = std::max(width, 0);
  height = std::max(height, 0);
  return resize;
}

void TControl::SetConstraints(TSizeConstraints* constraints) {
  if (constraints != nullptr) constraints_->Assign(constraints);
}

void TControl::ConstraintsChanged(TObject*) {
  if (HasState(csLoading)) return;
  SetBounds(left_, top_, constraints_->ConstrainWidth(width_), constraints_->ConstrainHeight(height_));
}

void TControl::ApplyAnchors(int32_t deltaWidth, int32_t deltaHeight) {
  if (align_ != TAlign::alNone || (deltaWidth == 0 && deltaHeight == 0)) return;
  int32_t left = left_;
  int32_t top = top_;
  int32_t width = width_;
  int32_t height = height_;
  const auto along = [](int32_t& start, int32_t& size, int32_t delta, bool nearSide, bool farSide) {
    if (nearSide && farSide) {
      size += delta;
    } else if (farSide) {
      start += delta;
    } else if (!nearSide) {
      start += delta / 2;
    }
  };
  along(left, width, deltaWidth, anchors_.Contains(TAnchorKind::akLeft), anchors_.Contains(TAnchorKind::akRight));
  along(top, height, deltaHeight, anchors_.Contains(TAnchorKind::akTop), anchors_.Contains(TAnchorKind::akBottom));
  SetBounds(left, top, width, height);
}

bool TControl::ShowHint() const {
  if (parentShowHint_ && parent_ != nullptr) return parent_->ShowHint();
  return showHint_;
}

void TControl::SetShowHint(bool showHint) {
  showHint_ = showHint;
  parentShowHint_ = false;
}

TBiDiMode TControl::BiDiMode() const {
  if (parentBiDiMode_ && parent_ != nullptr) return parent_->BiDiMode();
  return biDiMode_;
}

void TControl::SetBiDiMode(TBiDiMode mode) {
  biDiMode_ = mode;
  parentBiDiMode_ = false;
}

void TControl::SetAlign(TAlign align) {
  if (align_ == align) return;
  align_ = align;
  RequestAlign();
}

void TControl::SetAutoSize(bool autoSize) {
  if (autoSize_ == autoSize) return;
  autoSize_ = autoSize;
  AdjustSize();
}

void TControl::AdjustSize() {
  if (!autoSize_ || adjustingSize_ || HasState(csLoading)) return;
  // Children that follow the new size (anchors) do not size it again.
  adjustingSize_ = true;
  struct TDone {
    bool& flag;
    ~TDone() { flag = false; }
  } done{adjustingSize_};
  int32_t width = width_;
  int32_t height = height_;
  if (!CanAutoSize(width, height)) return;
  // The align pass owns the dimensions it sets.
  switch (align_) {
    case TAlign::alClient:
      return;
    case TAlign::alTop:
    case TAlign::alBottom:
      width = width_;
      break;
    case TAlign::alLeft:
    case TAlign::alRight:
      height = height_;
      break;
    default:
      break;
  }
  SetBounds(left_, top_, width, height);
}

void TControl::RequestAlign() {
  if (parent_ != nullptr && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent == this) throw EInvalidOperation(kParentSetToSelf);
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (parent != nullptr) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  if (parent != nullptr && parent->Is<TWinControl>()) SetParent(static_cast<TWinControl*>(parent));
}

bool TControl::Showing() const {
  for (const TControl* control = this; control != nullptr; control = control->parent_) {
    if (!control->visible_) return false;
  }
  return true;
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Perform(cmVisibleChanged, visible ? 1 : 0);
  RequestAlign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Perform(cmEnabledChanged);
}

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color_ == color) return;
  color_ = color;
  Perform(cmColorChanged);
}

void TControl::SetParentColor(bool parentColor) {
  if (parentColor_ == parentColor) return;
  parentColor_ = parentColor;
  if (parentColor_ && parent_ != nullptr) Perform(cmParentColorChanged);
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!parentColor_ || parent_ == nullptr) return;
  SetColor(parent_->Color());
  parentColor_ = true;
}

void TControl::SetFont(TFont* font) {
  if (font != nullptr) font_->Assign(font);
}

void TControl::FontChanged(TObject*) {
  parentFont_ = false;
  Perform(cmFontChanged);
}

void TControl::SetParentFont(bool parentFont) {
  if (parentFont_ == parentFont) return;
  parentFont_ = parentFont;
  if (parentFont_ && parent_ != nullptr) Perform(cmParentFontChanged);
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!parentFont_ || parent_ == nullptr) return;
  SetFont(parent_->Font());
  parentFont_ = true;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_ == menu) return;
  if (popupMenu_ != nullptr) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (popupMenu_ != nullptr) popupMenu_->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::CMVisibleChanged(TMessage&) {
  if (parent_ != nullptr) parent_->InvalidateRect(BoundsRect());
}

void TControl::Invalidate() {
  if (parent_ != nullptr && Showing()) parent_->InvalidateRect(BoundsRect());
}

bool TControl::MouseCapture() const { return PointerState().Captures(*this); }

void TControl::SetMouseCapture(bool capture) {
  if (!capture) {
    PointerState().Release(*this);
    return;
  }
  auto* window = Is<TWinControl>() ? static_cast<TWinControl*>(this) : parent_;
  if (window != nullptr) PointerState().SetCapture(*this, *window);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::LoadingFinished() {
  TComponent::LoadingFinished();
  if (parentColor_ && parent_ != nullptr) Perform(cmParentColorChanged);
  AdjustSize();
  RequestAlign();
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseDown && !HasControlStyle(csNoStdEvents)) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseMove && !HasControlStyle(csNoStdEvents)) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseUp && !HasControlStyle(csNoStdEvents)) OnMouseUp(this, button, shift, x, y);
}

void TControl::WMMouseMove(TMessage& message) {
  const TMouseMessageView mouse = MouseOf(message);
  MouseMove(mouse.Shift(), mouse.Point.X, mouse.Point.Y);
}

void TControl::WMButtonDown(TMessage& message) {
  const TMouseButton button = ButtonOf(message.Msg);
  if (button == TMouseButton::mbLeft && dragMode_ == TDragMode::dmAutomatic && !HasState(csDesigning)) {
    BeginDrag();
    return;
  }
  if (button == TMouseButton::mbLeft) {
    if (HasControlStyle(csCaptureMouse)) SetMouseCapture(true);
    if (HasControlStyle(csClickEvents)) controlState_ |= csClicked;
  }
  const TMouseMessageView mouse = MouseOf(message);
  TShiftState shift = mouse.Shift();
  if (message.Msg == wmLButtonDblClk) shift.Include(TShiftFlag::ssDouble);
  MouseDown(button, shift, mouse.Point.X, mouse.Point.Y);
}

void TControl::WMMouseWheel(TMessage& message) {
  const TMouseMessageView mouse = MouseOf(message);
  message.Result = MouseWheel(mouse.Shift(), mouse.WheelDelta, mouse.Point.X, mouse.Point.Y) ? 1 : 0;
}

void TControl::WMButtonUp(TMessage& message) {
  const TMouseButton button = ButtonOf(message.Msg);
  const TMouseMessageView mouse = MouseOf(message);
  if (button == TMouseButton::mbLeft) {
    if (HasControlStyle(csCaptureMouse)) SetMouseCapture(false);
    if (InControlState(csClicked)) {
      controlState_ &= ~csClicked;
      if (ClientRect().Contains(mouse.Point)) Click();
    }
  }
  MouseUp(button, mouse.Shift(), mouse.Point.X, mouse.Point.Y);
}

}  // namespace zelk
