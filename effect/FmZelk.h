// TFmZelk: the product's editor, read from its resource TFMZELK: a
// borderless 245 x 269 form filled by an image container (Background) that
// holds one rotary knob (Zelk) drawn from the image list's knob cap and
// background. Turning the knob sets the "Angle" parameter; the knob shows
// the parameter when the editor opens and after changes of others
// (ParametersChanged, ShowAngle). It talks to the module through the
// parameter port only.
//
// Made by the module's VST_EditOpen, embedded and freed through the editor
// seam (editorhost/FormEditor.h). Host's user-interface thread only.
#pragma once

#include <string>

#include "editorhost/FormEditor.h"
#include "framework/ParameterPort.h"
#include "toolkit/Form.h"

namespace zelk {

class TDIBDial;
class TDIBImageContainer;
class TDIBImageList;
class TDIBSettings;

class TFmZelk : public TForm, public TParameterView {
  ZELK_CLASS(TFmZelk, TForm)

  using TForm::TForm;

  TDIBImageContainer* Background = nullptr;
  TDIBDial* Zelk = nullptr;
  TDIBImageList* DIBImageList = nullptr;
  TDIBSettings* DIBSettings = nullptr;
  // The port of the module that opened the form; not owned (the module owns
  // the form).
  TParameterPort* Module = nullptr;

  // The knob's OnChange: the knob's position, in degrees, becomes parameter
  // 0, stored, reported to the host and applied to the sound.
  void ZelkChange(TObject* Sender);
  // A change of the angle by others turns the knob to it.
  void ParametersChanged(const TParameterSet& changed) override;
  // Moves the knob to show degrees (rounded to a whole degree, 360 as 359)
  // without firing OnChange: nothing is written or reported. A knob already
  // at exactly that angle (a fine step's fraction) stays as it is.
  void ShowAngle(float degrees);
  // The knob's gestures become the module's edit gestures on the angle, so
  // that hosts record touch automation; Tab reaches the knob's keys.
  void ConnectKnob();
  void ZelkBeginGesture(TObject* Sender);
  void ZelkEndGesture(TObject* Sender);
  // The knob's hint: the angle as hosts print it, "90.0 °".
  void ZelkValueHint(TObject* Sender, std::string& Text);
};

// The same editor for screens of twice the usual density, read from the
// resource TFMZELK2X over TFMZELK: 490 x 538 pixels drawn from the pictures
// painted at twice the resolution, every length of the knob doubled, so
// that the knob's arithmetic stays that of the usual size.
class TFmZelk2x : public TFmZelk {
  ZELK_CLASS(TFmZelk2x, TFmZelk)

  using TFmZelk::TFmZelk;

  // Shows the editor at scale (between 1 and 2) of the usual size: both
  // pictures reduced by an area filter, every length of the knob scaled.
  // Before the form is shown.
  void ReduceToScale(double scale);
};

// The editor for a screen scale (device pixels per editor pixel): the usual
// one up to 1, the one of twice the size from 2, and in between the latter
// reduced to the scale.
TFmZelk* NewEditorForScale(double scale);

// Registers the classes the editor's resource names that the libraries
// below do not register themselves: the image container, the dial and the
// form. Called once by the library's start; further calls do nothing.
void RegisterEditorClasses();

}  // namespace zelk
