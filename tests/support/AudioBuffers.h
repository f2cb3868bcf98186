// Host-style sample buffers for tests: channels of float samples and the
// array of channel pointers a host passes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/ProcessTypes.h"
#include "runtime/Object.h"

namespace zelk::testing {

class TAudioBuffers {
 public:
  TAudioBuffers(int32_t channels, int32_t frames, float fill = 0.0f)
      : samples_(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames), fill)) {
    for (auto& channel : samples_) pointers_.push_back(channel.data());
  }

  float** Pointers() { return pointers_.data(); }
  std::vector<float>& Channel(int32_t channel) { return samples_.at(static_cast<size_t>(channel)); }
  float& At(int32_t channel, int32_t frame) { return Channel(channel).at(static_cast<size_t>(frame)); }
  // Channel c, frame f holds (c + 1) * 1000 + f + start.
  void FillRamp(int32_t start = 0) {
    for (size_t channel = 0; channel < samples_.size(); ++channel) {
      for (size_t frame = 0; frame < samples_[channel].size(); ++frame) {
        samples_[channel][frame] = static_cast<float>((channel + 1) * 1000 + frame) + static_cast<float>(start);
      }
    }
  }

 private:
  std::vector<std::vector<float>> samples_;
  std::vector<float*> pointers_;
};

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

}  // namespace zelk::testing
