#include "controls/DIBControl.h"

#include <algorithm>

#include "controls/ControlList.h"
#include "controls/DIBContainer.h"
#include "controls/DIBFeature.h"
#include "controls/DIBTemplate.h"
#include "controls/DIBTimer.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/WinDIB.h"
#include "platform/KeyCodes.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/Toolkit.h"

namespace zelk {

namespace {

TCustomDIBContainer* FirstOwnedContainer(TComponent* owner) {
  for (TComponent* component : owner->Components()) {
    if (component->Is<TCustomDIBContainer>()) return static_cast<TCustomDIBContainer*>(component);
  }
  return nullptr;
}

// The context menu offered by controls without a popup menu of their own;
// lives as long as the library.
TPopupMenu& SharedContextMenu() {
  static std::unique_ptr<TPopupMenu, TFreeObject> menu(New<TPopupMenu>(nullptr));
  return *menu;
}

}  // namespace

const TMessageTable& TCustomDIBControl::StaticMessages() {
  static const TMessageTable table = TMessageTableBuilder<TCustomDIBControl>()
                                         .On<&TCustomDIBControl::WMPaint>(wmPaint)
                                         .On<&TCustomDIBControl::WMSetFocus>(wmSetFocus)
                                         .On<&TCustomDIBControl::WMKillFocus>(wmKillFocus)
                                         .On<&TCustomDIBControl::WMKeyDown>(wmKeyDown)
                                         .On<&TCustomDIBControl::WMKeyUp>(wmKeyUp)
                                         .On<&TCustomDIBControl::WMChar>(wmChar)
                                         .On<&TCustomDIBControl::WMGetDlgCode>(wmGetDlgCode)
                                         .On<&TCustomDIBControl::CMDialogChar>(cmDialogChar)
                                         .On<&TCustomDIBControl::CMEnabledChanged>(cmEnabledChanged)
                                         .Build();
  return table;
}

TCustomDIBControl::TCustomDIBControl(TComponent* owner) : TControl(owner) {
  if (owner == nullptr) throw Exception("Owner cannot be nil");
  if (!owner->Is<TCustomDIBContainer>() && FirstOwnedContainer(owner) == nullptr) {
    throw Exception("Parent must be a TDIBContainer");
  }
  canvas_.reset(New<platform::TCanvas>());
  attachedControls_.reset(New<TControlList>(this));
  SetBounds(0, 0, 32, 32);
  dibFeatures_.reset(New<TDIBFeatures>(this));
  opacity_ = 255;
  repeatTimer_.reset(New<TDIBTimer>(nullptr));
  repeatTimer_->SetOnTimer(TNotifyEvent::Bind<&TCustomDIBControl::RepeatTick>(this));
  repeatTimer_->SetEnabled(false);
  // Published by every descendant; the base class itself publishes nothing
  // to check them against yet.
  templateProperties_ = {"Width", "Height"};
}

TCustomDIBControl::~TCustomDIBControl() {
  dibFeatures_.reset();
  templateProperties_.clear();
  repeatTimer_.reset();
  attachedControls_.reset();
  canvas_.reset();
  for (TDIBImageLink* link : imageLinks_) link->OnImageChanged = {};
  imageLinks_.clear();
}

TCustomDIBContainer* TCustomDIBControl::Container() const {
  TWinControl* parent = Parent();
  return parent != nullptr && parent->Is<TCustomDIBContainer>() ? static_cast<TCustomDIBContainer*>(parent) : nullptr;
}

// --- settings ---

void TCustomDIBControl::SetDIBImageList(TCustomDIBImageList* list) {
  if (dibImageList_ != nullptr) dibImageList_->RemoveFreeNotification(this);
  dibImageList_ = list;
  for (TDIBImageLink* link : imageLinks_) link->SetDIBImageList(list);
  if (list != nullptr) list->FreeNotification(this);
}

TTabOrder TCustomDIBControl::DIBTabOrder() const {
  const TCustomDIBContainer* container = Container();
  return container != nullptr ? static_cast<TTabOrder>(container->DIBTabIndex(this)) : TTabOrder{-1};
}

void TCustomDIBControl::SetDIBTabOrder(TTabOrder order) {
  TCustomDIBContainer* container = Container();
  if (container == nullptr || HasState(csLoading)) {
    dibTabOrder_ = order;
    return;
  }
  container->PlaceInTabList(this, order);
  dibTabOrder_ = static_cast<TTabOrder>(container->DIBTabIndex(this));
}

void TCustomDIBControl::ApplyStoredTabOrder() {
  if (Container() != nullptr) SetDIBTabOrder(dibTabOrder_);
}

void TCustomDIBControl::SetOpacity(uint8_t opacity) {
  if (opacity == opacity_) return;
  opacity_ = opacity;
  Invalidate();
}

bool TCustomDIBControl::IsRepeating() const { return repeatTimer_->Enabled(); }

void TCustomDIBControl::AddTemplateProperty(const std::string& name) {
  CheckTemplateProperty(*this, name);
  if (std::find(templateProperties_.begin(), templateProperties_.end(), name) == templateProperties_.end()) {
    templateProperties_.push_back(name);
  }
}

void TCustomDIBControl::CreateImageLink(TDIBImageLink*& link) {
  link = New<TDIBImageLink>(this);
  imageLinks_.push_back(link);
  link->OnImageChanged = TDIBImageChangedEvent::Bind<&TCustomDIBControl::ImageLinkChanged>(this);
  if (dibImageList_ != nullptr) link->SetDIBImageList(dibImageList_);
}

void TCustomDIBControl::ReleaseImageLink(TDIBImageLink* link) {
  std::erase(imageLinks_, link);
}

void TCustomDIBControl::ImageLinkChanged(TObject* sender, int32_t index, TDIBImageOperation operation) {
  if (HasState(csDestroying)) return;
  DIBImageChanged(index, operation);
}

// --- toolkit overrides ---

void TCustomDIBControl::SetParent(TWinControl* parent) {
  if (parent != nullptr && !parent->Is<TCustomDIBContainer>()) {
    TCustomDIBContainer* container = FirstOwnedContainer(parent);
    if (container == nullptr) throw Exception("Parent must be a TDIBContainer");
    parent = container;
  }
  TControl::SetParent(parent);
  ApplyStoredTabOrder();
}

void TCustomDIBControl::SetDIBFeatures(TDIBFeatures* source) { dibFeatures_->Assign(source); }

void TCustomDIBControl::LoadingFinished() {
  TControl::LoadingFinished();
  dibFeatures_->BuildFeatures();
  ApplyStoredTabOrder();
}

void TCustomDIBControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (inBoundsChange_) return;
  pureMove_ = width == Width() && height == Height();
  inBoundsChange_ = true;
  const int32_t oldLeft = Left();
  const int32_t oldTop = Top();
  try {
    const TRect before = BoundsRect();
    TControl::SetBounds(left, top, width, height);
    // Through Invalidate, so that a change of size stamps the change time.
    if (BoundsRect() != before) Invalidate();
    if (Left() != oldLeft || Top() != oldTop) MoveAttachedControls(Left() - oldLeft, Top() - oldTop);
  } catch (...) {
    inBoundsChange_ = false;
    pureMove_ = false;
    throw;
  }
  inBoundsChange_ = false;
  pureMove_ = false;
}

void TCustomDIBControl::MoveAttachedControls(int32_t deltaX, int32_t deltaY) {
  if (!attachedControls_) return;
  for (int index = 0; index < attachedControls_->Count(); ++index) {
    TControl* control = attachedControls_->Item(index)->Control();
    if (control == nullptr) continue;
    control->SetBounds(control->Left() + deltaX, control->Top() + deltaY, control->Width(), control->Height());
  }
}

void TCustomDIBControl::Invalidate() {
  TControl::Invalidate();
  if (!pureMove_) lastChangeTime_ = TickCount();
}

void TCustomDIBControl::Notification(TComponent* component, TOperation operation) {
  TControl::Notification(component, operation);
  if (operation != TOperation::opRemove || component == this || HasState(csDestroying)) return;
  if (component == dibImageList_) SetDIBImageList(nullptr);
  if (attachedControls_) attachedControls_->RemoveControl(component);
}

TPopupMenu* TCustomDIBControl::GetPopupMenu() {
  if (PopupMenu() != nullptr) return PopupMenu();
  TPopupMenu& shared = SharedContextMenu();
  ClearContextItems(shared);
  AddContextItems(shared);
  return shared.Items()->Count() > 0 ? &shared : nullptr;
}

void TCustomDIBControl::ClearContextItems(TPopupMenu& menu) { menu.Items()->Clear(); }

void TCustomDIBControl::Click() {
  TControl::Click();
  if (focusOnClick_ && DIBTabOrder() >= 0 && !dibFocused_) Perform(wmSetFocus);
}

// --- painting ---

void TCustomDIBControl::WMPaint(TMessage& message) {
  TCustomDIBContainer* container = Container();
  if (container == nullptr || controlDIB_ == nullptr || container->Buffer() == nullptr) return;
  PaintInto(*container);
}

void TCustomDIBControl::PaintInto(TCustomDIBContainer& container) {
  TWinDIB& buffer = *container.Buffer();
  TWinDIB& scratch = *controlDIB_;
  canvas_->Lock();
  try {
    // The composed background under the control; a control partly left of
    // or above the buffer gets it shifted into place.
    buffer.Draw(Left() < 0 ? -Left() : 0, Top() < 0 ? -Top() : 0, Width(), Height(), scratch,
                static_cast<uint16_t>(std::max(Left(), 0)), static_cast<uint16_t>(std::max(Top(), 0)));
    canvas_->SetHandle(scratch.Handle());
    DoBeforePaintDIB();
    PaintDIB();
    DoAfterPaintDIB();
    if (HasState(csDesigning)) {
      canvas_->Pen().Style = platform::TPenStyle::psDash;
      canvas_->Pen().Color = 0;
      canvas_->Brush().Style = platform::TBrushStyle::bsClear;
      canvas_->Rectangle(0, 0, Width(), Height());
    }
    scratch.SetOpacity(opacity_);
    scratch.Draw(Left(), Top(), Width(), Height(), buffer, 0, 0);
  } catch (...) {
    canvas_->SetHandle(0);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(0);
  canvas_->Unlock();
}

void TCustomDIBControl::PaintDIB() {
  if (OnPaintDIB) OnPaintDIB(this);
}

void TCustomDIBControl::DoBeforePaintDIB() {
  if (OnBeforePaintDIB) OnBeforePaintDIB(this);
}

void TCustomDIBControl::DoAfterPaintDIB() {
  if (OnAfterPaintDIB) OnAfterPaintDIB(this);
}

// --- mouse ---

void TCustomDIBControl::WndProc(TMessage& message) {
  if (HasState(csDesigning)) {
    TControl::WndProc(message);
    return;
  }
  const bool handledByFeature = dibFeatures_->RouteMessage(message);
  switch (message.Msg) {
    case wmLButtonDown:
      storedPress_ = message;
      if (repeatEnabled_ && !repeatTimer_->Enabled()) {
        repeatTimer_->SetInterval(repeatInterval_);
        repeatTimer_->SetEnabled(true);
      }
      break;
    case wmMouseMove:
      storedPress_.WParam = message.WParam;
      storedPress_.LParam = message.LParam;
      lastMousePosition_ = LParamToPoint(message.LParam);
      if (mouseOver_ && !mouseInside_) Perform(cmMouseEnter, 0, reinterpret_cast<intptr_t>(this));
      break;
    case wmLButtonUp:
      repeatTimer_->SetEnabled(false);
      if (mouseInside_ && !mouseOver_) Perform(cmMouseLeave, 0, reinterpret_cast<intptr_t>(this));
      break;
    case cmMouseEnter:
      DoMouseEnter();
      if (MouseCapture()) {
        if (repeatEnabled_) repeatTimer_->SetEnabled(true);
        return;
      }
      break;
    case cmMouseLeave:
      repeatTimer_->SetEnabled(false);
      DoMouseLeave();
      break;
    default:
      break;
  }
  // A feature that handled the message keeps it from the toolkit's handling.
  if (!handledByFeature) TControl::WndProc(message);
}

void TCustomDIBControl::DoMouseEnter() {
  mouseOver_ = true;
  // Back over a capturing control that never reported its leave.
  if (mouseInside_) return;
  const bool wasIdle = !dibFocused_;
  mouseInside_ = true;
  if (wasIdle) DoActivate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCustomDIBControl::DoMouseLeave() {
  mouseOver_ = false;
  // A capturing control completes its leave at the release.
  if (MouseCapture()) return;
  if (!mouseInside_) return;
  mouseInside_ = false;
  if (OnMouseLeave) OnMouseLeave(this);
  if (!dibFocused_ && !mouseInside_) DoDeactivate();
}

void TCustomDIBControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  shiftState_ = shift;
  buttonsDown_.Include(button);
  if (focusOnClick_ && DIBTabOrder() >= 0) Perform(wmSetFocus);
  TControl::MouseDown(button, shift, x, y);
}

void TCustomDIBControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  buttonsDown_.Exclude(button);
  TControl::MouseUp(button, shift, x, y);
  if (button == TMouseButton::mbLeft && mouseInside_ && !mouseOver_) DoMouseLeave();
}

void TCustomDIBControl::RepeatTick(TObject* sender) {
  if (stopRepeat_) {
    stopRepeat_ = false;
    repeatTimer_->SetEnabled(false);
    return;
  }
  TMessage press = storedPress_;
  Perform(press);
}

// --- DIB focus ---

void TCustomDIBControl::WMSetFocus(TMessage& message) {
  if (Enabled() && !dibFocused_) DoDIBEnter();
}

void TCustomDIBControl::WMKillFocus(TMessage& message) { DoDIBExit(); }

void TCustomDIBControl::DoDIBEnter() {
  const bool wasIdle = !dibFocused_ && !mouseInside_;
  dibFocused_ = true;
  if (TCustomDIBContainer* container = Container()) {
    container->SetActiveControl(this);
    if (container->CanFocus() && !container->Focused()) container->SetFocus();
  }
  if (wasIdle) DoActivate();
  if (OnEnter) OnEnter(this);
}

void TCustomDIBControl::DoDIBExit() {
  dibFocused_ = false;
  if (OnExit) OnExit(this);
  if (!dibFocused_ && !mouseInside_) DoDeactivate();
}

void TCustomDIBControl::CMEnabledChanged(TMessage& message) {
  TControl::CMEnabledChanged(message);
  if (!Enabled() && dibFocused_) DoDIBExit();
}

// --- keys ---

namespace {

bool FormPreviews(TControl& control, bool (TWinControl::*handler)(TMessage&), TMessage& message) {
  TCustomForm* form = GetParentForm(&control);
  return form != nullptr && form->KeyPreview() && (form->*handler)(message);
}

}  // namespace

bool TCustomDIBControl::DoDIBKeyDown(TMessage& message) {
  if (FormPreviews(*this, &TWinControl::DoKeyDown, message)) return true;
  shiftState_ = KeyDataToShiftState(message.LParam);
  if (HasControlStyle(csNoStdEvents)) return false;
  auto key = static_cast<uint16_t>(message.WParam);
  if (OnKeyDown) OnKeyDown(this, key, shiftState_);
  message.WParam = key;
  return key == 0;
}

bool TCustomDIBControl::DoDIBKeyUp(TMessage& message) {
  if (FormPreviews(*this, &TWinControl::DoKeyUp, message)) return true;
  shiftState_ = KeyDataToShiftState(message.LParam);
  if (HasControlStyle(csNoStdEvents)) return false;
  auto key = static_cast<uint16_t>(message.WParam);
  if (OnKeyUp) OnKeyUp(this, key, shiftState_);
  message.WParam = key;
  return key == 0;
}

bool TCustomDIBControl::DoDIBKeyPress(TMessage& message) {
  if (FormPreviews(*this, &TWinControl::DoKeyPress, message)) return true;
  if (HasControlStyle(csNoStdEvents)) return false;
  auto key = static_cast<char>(message.WParam);
  if (OnKeyPress) OnKeyPress(this, key);
  message.WParam = static_cast<uint8_t>(key);
  return key == '\0';
}

void TCustomDIBControl::WMKeyDown(TMessage& message) {
  if (!DoDIBKeyDown(message)) DefaultHandler(message);
}

void TCustomDIBControl::WMKeyUp(TMessage& message) {
  if (!DoDIBKeyUp(message)) DefaultHandler(message);
}

void TCustomDIBControl::WMChar(TMessage& message) {
  if (!DoDIBKeyPress(message)) DefaultHandler(message);
}

void TCustomDIBControl::WMGetDlgCode(TMessage& message) {
  if (wantKeys_.Contains(TWantKey::wkAll)) {
    message.Result = dlgcWantAllKeys;
    return;
  }
  intptr_t code = 0;
  if (wantKeys_.Contains(TWantKey::wkTab)) code |= dlgcWantTab;
  if (wantKeys_.Contains(TWantKey::wkArrows)) code |= dlgcWantArrows;
  message.Result = code;
}

bool TCustomDIBControl::IsDIBShortCut(TMessage& message) {
  if (HasState(csDesigning)) return false;
  for (TControl* control = this; control != nullptr; control = control->Parent()) {
    TPopupMenu* menu = control->GetPopupMenu();
    if (menu != nullptr && menu->IsShortCut(message)) return true;
  }
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form->IsShortCut(message)) return true;
  return IsApplicationShortCut(message);
}

void TCustomDIBControl::CMDialogChar(TMessage& message) {
  shiftState_ = KeyDataToShiftState(message.LParam);
  const auto character = static_cast<char>(message.WParam);
  const bool altHeld = (static_cast<uint32_t>(message.LParam) & kdAltDown) != 0;
  if (accelerator_ != '\0' && character == accelerator_ && Enabled() && Visible() && altHeld &&
      Parent() != nullptr && Parent()->CanFocus()) {
    Click();
    message.Result = 1;  // taken: the character goes no further
    return;
  }
  DefaultHandler(message);
}

void TCustomDIBControl::LoadTemplate(TStream& stream) { LoadControlTemplate(*this, stream); }

void TCustomDIBControl::SaveTemplate(TStream& stream) { SaveControlTemplate(*this, stream); }

}  // namespace zelk
