// TCustomForm: a top-level windowed control that owns the controls read
// into it, keeps the keyboard focus among them (ActiveControl), moves it with
// Tab and Shift+Tab, previews keys (KeyPreview) and checks shortcuts.
//
// Every class derived from TForm is read at construction from the component
// resource named after it ("Ressource %s wurde nicht gefunden" when there is
// none); TForm itself, and forms made with TCreateNew, start empty. Like a
// data module, a form is a root: OnCreate fires once loading has finished,
// OnDestroy before its controls go (OldCreateOrder is kept for streams).
//
// A form is a window of its own, or, with SetParentWindow, a child of a
// foreign native window such as a host's editor window:
//
//   form->SetParentWindow(hostWindow);
//   form->SetBorderStyle(TFormBorderStyle::bsNone);
//   form->SetBounds(0, 0, form->Width(), form->Height());
//   form->Show();
//
// The form's bounds are its client area: the frame of a top-level window
// belongs to the window system. Window thread only.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/WinControl.h"

namespace zelk {

enum class TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
ZELK_ENUM_NAMES(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")

// Handled set to true takes the key as a shortcut.
using TShortCutEvent = TEvent<void(TMessage& Msg, bool& Handled)>;

class TCustomForm : public TWinControl {
  ZELK_CLASS(TCustomForm, TWinControl)
  ZELK_MESSAGES()

  explicit TCustomForm(TComponent* owner);
  struct TCreateNew {};
  TCustomForm(TComponent* owner, TCreateNew);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  int32_t PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int32_t pixelsPerInch) { pixelsPerInch_ = pixelsPerInch; }
  // The font's text height when the form was designed (streamed only).
  int32_t TextHeight() const { return textHeight_; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool keyPreview) { keyPreview_ = keyPreview; }
  bool OldCreateOrder = false;

  // The control that has, or gets when the form is focused, the focus.
  TWinControl* ActiveControl() const { return activeControl_; }
  // Raises EInvalidOperation for a control of another form or one that
  // cannot take the focus (outside loading).
  void SetActiveControl(TWinControl* control);
  // Makes control the active control and gives it the keyboard focus.
  void FocusControl(TWinControl* control);
  // The form's own shortcut check (OnShortCut).
  virtual bool IsShortCut(TMessage& keyMessage);

  void AfterConstruction() override;
  void BeforeDestruction() override;
  void DefineProperties(TFiler& filer) override;
  std::vector<TComponent*> GetChildren(TComponent* root) const override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TShortCutEvent OnShortCut;

 protected:
  void WMSetFocus(TMessage& message);
  void CMDialogKey(TMessage& message);

 private:
  friend class TControl;
  friend class TWinControl;
  // The focus moved to control (from its window's focus event).
  void SetFocusedControl(TWinControl* control);
  // control is going: the form keeps no reference to it.
  void ForgetControl(TControl* control);
  void DoCreate();
  void DoDestroy();

  bool createNew_ = false;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  std::string caption_;
  int32_t pixelsPerInch_ = 96;
  int32_t textHeight_ = 0;
  bool keyPreview_ = false;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
};

// Publishes the form's settings and events.
class TForm : public TCustomForm {
  ZELK_CLASS(TForm, TCustomForm)

  using TCustomForm::TCustomForm;
};

}  // namespace zelk
