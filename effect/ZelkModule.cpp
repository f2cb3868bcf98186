#include "effect/ZelkModule.h"

#include "effect/FmZelk.h"
#include "effect/StereoRotation.h"
#include "framework/AudioRoutines.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

namespace {
constexpr int32_t kStereoChannels = 2;
constexpr int32_t kLeft = 0;
constexpr int32_t kRight = 1;
}  // namespace

const TClassInfo& TZelkVSTModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TZelkVSTModule>("TZelkVSTModule")
                                     .Method<&TZelkVSTModule::VST_EditOpen>("VST_EditOpen")
                                     .Method<&TZelkVSTModule::VST2ModuleParameterChange>("VST2ModuleParameterChange")
                                     .Method<&TZelkVSTModule::VST2ModuleProcess>("VST2ModuleProcess")
                                     .Build();
  return info;
}

TZelkVSTModule::TZelkVSTModule(TComponent* owner) : TVST2Module(owner) {}

void TZelkVSTModule::InitializeComponent() {
  TVST2Module::InitializeComponent();
  VST2ModuleParameterChange(this, 0, GetParameter(0));
}

// The knob starts where the parameter stands, so that the first drag goes
// on from there instead of jumping the sound to the knob's zero.
void TZelkVSTModule::VST_EditOpen(TObject*, TComponent*& GUI) {
  TFmZelk* form = NewEditorForScale(EditorScale());
  form->Module = this;
  form->ConnectKnob();
  form->ShowAngle(GetParameter(0));
  GUI = form;
}

// The value is read once, so that the two coefficients always describe the
// same angle even when another thread sets the parameter meanwhile.
void TZelkVSTModule::VST2ModuleParameterChange(TObject*, int32_t, float) {
  const TRotationCoefficients coefficients = ComputeRotationCoefficients(GetParameter(0));
  CosAngle.store(coefficients.CosAngle, std::memory_order_relaxed);
  SinAngle.store(coefficients.SinAngle, std::memory_order_relaxed);
}

// Audio thread. With fewer than two channels on either side (module code
// changed the counts) there is nothing to rotate: the outputs go silent.
void TZelkVSTModule::VST2ModuleProcess(float** Inputs, float** Outputs, int32_t SampleFrames) {
  if (NumInputs() < kStereoChannels || NumOutputs() < kStereoChannels) {
    MuteChannels(Outputs, NumOutputs(), SampleFrames);
    return;
  }
  const TRotationCoefficients coefficients{CosAngle.load(std::memory_order_relaxed),
                                           SinAngle.load(std::memory_order_relaxed)};
  RotateStereo(Inputs[kLeft], Inputs[kRight], Outputs[kLeft], Outputs[kRight], SampleFrames, coefficients);
}

}  // namespace zelk
