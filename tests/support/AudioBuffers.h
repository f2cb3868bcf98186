// Process handlers for tests whose behaviour a test supplies, with the
// host-style sample buffers they run on (SampleBuffers.h).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/ProcessTypes.h"
#include "runtime/Object.h"
#include "tests/support/SampleBuffers.h"

namespace zelk::tests {

// A process event whose behaviour a test supplies.
class TProcessProbe : public TObject {
 public:
  using TBody = std::function<void(float** inputs, float** outputs, int32_t frames)>;

  explicit TProcessProbe(TBody body = {}) : body_(std::move(body)) {}

  TProcessAudioEvent Event() { return TProcessAudioEvent::Bind<&TProcessProbe::Process>(this); }
  int Calls = 0;
  // Filled up to its reserved capacity only, so that recording never
  // allocates while processing.
  std::vector<int32_t> FrameCounts;
  float** LastInputs = nullptr;
  float** LastOutputs = nullptr;

 private:
  void Process(float** inputs, float** outputs, int32_t frames) {
    ++Calls;
    if (FrameCounts.size() < FrameCounts.capacity()) FrameCounts.push_back(frames);
    LastInputs = inputs;
    LastOutputs = outputs;
    if (body_) body_(inputs, outputs, frames);
  }

  TBody body_;
};

// Bodies used by several tests.
inline TProcessProbe::TBody WriteConstant(int32_t channels, float value) {
  return [channels, value](float**, float** outputs, int32_t frames) {
    for (int32_t channel = 0; channel < channels; ++channel) {
      for (int32_t frame = 0; frame < frames; ++frame) outputs[channel][frame] = value;
    }
  };
}

inline TProcessProbe::TBody PassThrough(int32_t channels) {
  return [channels](float** inputs, float** outputs, int32_t frames) {
    for (int32_t channel = 0; channel < channels; ++channel) {
      for (int32_t frame = 0; frame < frames; ++frame) outputs[channel][frame] = inputs[channel][frame];
    }
  };
}

}  // namespace zelk::tests
