// Host-style sample buffers for tests and benchmarks: channels of float
// samples and the array of channel pointers a host passes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <random>
#include <stdexcept>
#include <vector>

namespace zelk::tests {

class TAudioBuffers {
 public:
  // Each channel starts on a 64-byte boundary, as hosts and the vector
  // routines prefer it.
  static constexpr size_t kAlignment = 64;

  TAudioBuffers(int32_t channels, int32_t frames, float fill = 0.0f) : frames_(frames) {
    for (int32_t channel = 0; channel < channels; ++channel) {
      channels_.emplace_back(static_cast<float*>(::operator new[](Bytes(), std::align_val_t{kAlignment})));
      std::fill_n(channels_.back().get(), frames, fill);
      pointers_.push_back(channels_.back().get());
    }
  }

  float** Pointers() { return pointers_.data(); }
  float* Data(int32_t channel) { return pointers_.at(static_cast<size_t>(channel)); }
  int32_t Frames() const { return frames_; }
  // A copy of the channel's samples.
  std::vector<float> Channel(int32_t channel) const {
    const float* samples = pointers_.at(static_cast<size_t>(channel));
    return {samples, samples + frames_};
  }
  float& At(int32_t channel, int32_t frame) {
    if (frame < 0 || frame >= frames_) throw std::out_of_range("TAudioBuffers::At");
    return Data(channel)[frame];
  }
  // Channel c, frame f holds (c + 1) * 1000 + f + start.
  void FillRamp(int32_t start = 0) {
    for (size_t channel = 0; channel < pointers_.size(); ++channel) {
      for (int32_t frame = 0; frame < frames_; ++frame) {
        pointers_[channel][frame] = static_cast<float>((channel + 1) * 1000 + frame) + static_cast<float>(start);
      }
    }
  }
  // Uniform noise from -1 to 1, the same for the same seed.
  void FillNoise(uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> audio(-1.0f, 1.0f);
    for (int32_t frame = 0; frame < frames_; ++frame) {
      for (float* channel : pointers_) channel[frame] = audio(random);
    }
  }

 private:
  struct TAlignedDelete {
    void operator()(float* samples) const { ::operator delete[](samples, std::align_val_t{kAlignment}); }
  };

  size_t Bytes() const { return std::max<size_t>(1, static_cast<size_t>(frames_)) * sizeof(float); }

  int32_t frames_;
  std::vector<std::unique_ptr<float, TAlignedDelete>> channels_;
  std::vector<float*> pointers_;
};

}  // namespace zelk::tests
