// TZelkVSTModule: the product. A stereo effect that turns the stereo image
// of a two-channel signal by the angle of its one parameter, "Angle", 0 to
// 360 degrees. Everything else it is comes from its resource TZELKVSTMODULE:
// identity, flags, the parameter item and the bindings of the three handlers
// below.
//
// Threads: the parameter-change handler runs on whichever thread sets the
// parameter; the process handler on the host's audio thread. The two
// coefficients are separate atomics written one after the other: a block
// processed between the two writes uses the new cosine with the old sine,
// which is inaudible for the step sizes a knob or automation makes.
#pragma once

#include <atomic>
#include <cstdint>

#include "framework/VSTModule.h"

namespace zelk {

class TZelkVSTModule : public TVST2Module {
  ZELK_CLASS(TZelkVSTModule, TVST2Module)

  explicit TZelkVSTModule(TComponent* owner);

  // Mixing coefficients, computed from parameter 0 once the settings are
  // read and again at every parameter change.
  std::atomic<float> CosAngle{0.0f};
  std::atomic<float> SinAngle{0.0f};

  // OnEditOpen: a new editor form (TFmZelk) with its knob at the angle.
  void VST_EditOpen(TObject* Sender, TComponent*& GUI);
  // OnParameterChange: recomputes both coefficients from parameter 0,
  // whatever Index and Value say.
  void VST2ModuleParameterChange(TObject* Sender, int32_t Index, float Value);
  // OnProcess and OnProcessReplacing: writes the rotated inputs to output
  // channels 0 and 1, never reading the outputs.
  void VST2ModuleProcess(float** Inputs, float** Outputs, int32_t SampleFrames);

 protected:
  // Reads the settings, then computes the coefficients from the parameter's
  // value: a host that plays without setting anything hears the angle the
  // parameter reports.
  void InitializeComponent() override;
};

}  // namespace zelk
