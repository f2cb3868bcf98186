#include "toolkit/Form.h"

#include "platform/Backend.h"
#include "platform/KeyCodes.h"
#include "resources/ComponentResources.h"
#include "runtime/Application.h"
#include "runtime/Filer.h"
#include "runtime/Messages.h"
#include "toolkit/MessageViews.h"
#include "toolkit/Publish.h"

namespace zelk {

namespace {

constexpr char kCannotFocus[] = "Cannot focus a disabled or invisible window";
constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);

}  // namespace

const TClassInfo& TCustomForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomForm>("TCustomForm").Build();
  return info;
}

const TMessageTable& TCustomForm::StaticMessages() {
  static const TMessageTable table = TMessageTableBuilder<TCustomForm>()
                                         .On<&TCustomForm::WMSetFocus>(wmSetFocus)
                                         .On<&TCustomForm::CMDialogKey>(cmDialogKey)
                                         .Build();
  return table;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TForm> builder("TForm");
    PublishControl(builder);
    PublishWinControl(builder);
    return builder.Property("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl)
        .Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle)
        .Default(TFormBorderStyle::bsSizeable)
        .Property("Caption", &TForm::Caption, &TForm::SetCaption)
        .Property("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight)
        .Property("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth)
        .Property("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview)
        .Default(false)
        .Property("OldCreateOrder", &TForm::OldCreateOrder)
        .Property("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
        .Property("OnCreate", &TForm::OnCreate)
        .Property("OnDestroy", &TForm::OnDestroy)
        .Property("OnShortCut", &TForm::OnShortCut)
        .Build();
  }();
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  AddRoot(this);
}

TCustomForm::TCustomForm(TComponent* owner, TCreateNew) : TCustomForm(owner) { createNew_ = true; }

TCustomForm::~TCustomForm() { RemoveRoot(this); }

void TCustomForm::AfterConstruction() {
  // A plain TForm has no resource of its own.
  if (!createNew_ && &ClassType() != &TForm::StaticClass()) {
    ReadRootResources(*this, TForm::StaticClass(), messages::kFormResourceNotFound);
  }
  DoCreate();
}

void TCustomForm::BeforeDestruction() {
  if (HasState(csDestroying)) return;
  Destroying();
  DoDestroy();
  RemoveRoot(this);
  ReleaseControl();
  FinishDestruction();
}

void TCustomForm::DoCreate() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (...) {
    Application().HandleException();
  }
}

void TCustomForm::DoDestroy() {
  if (!OnDestroy) return;
  try {
    OnDestroy(this);
  } catch (...) {
    Application().HandleException();
  }
}

void TCustomForm::DefineProperties(TFiler& filer) {
  TWinControl::DefineProperties(filer);
  filer.DefineProperty(
      "TextHeight", [this](TValueReader& reader) { textHeight_ = static_cast<int32_t>(reader.ReadInteger()); },
      [this](TValueWriter& writer) { writer.WriteInteger(textHeight_); }, textHeight_ != 0);
}

std::vector<TComponent*> TCustomForm::GetChildren(TComponent* root) const {
  // Components without a place among the controls come first.
  std::vector<TComponent*> children;
  for (TComponent* component : Components()) {
    if (!component->HasParent()) children.push_back(component);
  }
  const std::vector<TComponent*> controls = TWinControl::GetChildren(root);
  children.insert(children.end(), controls.begin(), controls.end());
  return children;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (activeControl_ == control) return;
  const bool loading = HasState(csLoading);
  if (control != nullptr &&
      (control == this || GetParentForm(control) != this || (!loading && !control->CanFocus()))) {
    throw EInvalidOperation(kCannotFocus);
  }
  activeControl_ = control;
  if (!loading && control != nullptr && FocusedWinControl() != nullptr && GetParentForm(FocusedWinControl()) == this) {
    platform::Backend().Windows->SetFocus(control->Handle());
  }
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (!control->CanFocus()) throw EInvalidOperation(kCannotFocus);
  activeControl_ = control;
  platform::Backend().Windows->SetFocus(control->Handle());
}

bool TCustomForm::IsShortCut(TMessage& keyMessage) {
  bool handled = false;
  if (OnShortCut) OnShortCut(keyMessage, handled);
  return handled;
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (focusedControl_ == control) return;
  TWinControl* previous = focusedControl_;
  focusedControl_ = control;
  if (control != this) activeControl_ = control;
  // The controls the focus leaves hear cmExit, innermost first; those it
  // enters hear cmEnter, outermost first.
  for (TControl* leaving = previous; leaving != nullptr && leaving != this; leaving = leaving->Parent()) {
    if (control != nullptr && static_cast<TWinControl*>(leaving)->ContainsControl(control)) break;
    leaving->Perform(cmExit);
    if (focusedControl_ != control) return;  // a handler moved the focus on
  }
  std::vector<TControl*> entering;
  for (TControl* entered = control; entered != nullptr && entered != this; entered = entered->Parent()) {
    if (previous != nullptr && static_cast<TWinControl*>(entered)->ContainsControl(previous)) break;
    entering.insert(entering.begin(), entered);
  }
  for (TControl* entered : entering) {
    entered->Perform(cmEnter);
    if (focusedControl_ != control) return;
  }
  Send(*this, ControlMessage(cmFocusChanged, control));
}

void TCustomForm::ForgetControl(TControl* control) {
  if (activeControl_ == control) activeControl_ = nullptr;
  if (focusedControl_ == control) focusedControl_ = nullptr;
}

void TCustomForm::WMSetFocus(TMessage& message) {
  // Focusing the form focuses its active control.
  if (activeControl_ != nullptr && activeControl_->CanFocus()) {
    platform::Backend().Windows->SetFocus(activeControl_->Handle());
    return;
  }
  TWinControl::WMSetFocus(message);
}

void TCustomForm::CMDialogKey(TMessage& message) {
  const platform::TWindowSystem& windows = *platform::Backend().Windows;
  if (!windows.IsKeyDown(vkMenu) && !windows.IsKeyDown(vkControl)) {
    const uint16_t key = KeyOf(message).Key;
    if (key == vkTab) {
      SelectNext(activeControl_, !windows.IsKeyDown(vkShift), true);
      message.Result = 1;
      return;
    }
    if (key == vkLeft || key == vkRight || key == vkUp || key == vkDown) {
      if (activeControl_ != nullptr && activeControl_->Parent() != nullptr) {
        activeControl_->Parent()->SelectNext(activeControl_, key == vkRight || key == vkDown, false);
        message.Result = 1;
      }
      return;
    }
  }
  Broadcast(message);
}

}  // namespace zelk
