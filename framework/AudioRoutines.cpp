#include "framework/AudioRoutines.h"

#include <algorithm>
#include <cstring>

namespace zelk {

namespace {

bool HasWork(const void* buffers, int32_t channels, int32_t frames) {
  return buffers != nullptr && channels > 0 && frames > 0;
}

// memmove rather than memcpy: an in-place host hands the same buffer as
// source and target.
void MoveSamples(const float* source, float* target, int32_t frames) {
  if (source == nullptr || target == nullptr || source == target) return;
  std::memmove(target, source, static_cast<size_t>(frames) * sizeof(float));
}

}  // namespace

void CopyChannels(float* const* inputs, float* const* outputs, int32_t channels, int32_t frames) {
  if (!HasWork(inputs, channels, frames) || outputs == nullptr) return;
  for (int32_t channel = 0; channel < channels; ++channel) MoveSamples(inputs[channel], outputs[channel], frames);
}

void MuteChannels(float* const* outputs, int32_t channels, int32_t frames) {
  if (!HasWork(outputs, channels, frames)) return;
  for (int32_t channel = 0; channel < channels; ++channel) {
    if (outputs[channel] != nullptr) std::fill_n(outputs[channel], frames, 0.0f);
  }
}

void AccumulateChannels(const float* const* additions, float* const* outputs, int32_t channels, int32_t frames) {
  if (!HasWork(additions, channels, frames) || outputs == nullptr) return;
  for (int32_t channel = 0; channel < channels; ++channel) {
    const float* addition = additions[channel];
    float* output = outputs[channel];
    if (addition == nullptr || output == nullptr) continue;
    for (int32_t frame = 0; frame < frames; ++frame) output[frame] += addition[frame];
  }
}

void CopyChannelRange(const float* const* sources, int32_t sourceAt, float* const* targets, int32_t targetAt,
                      int32_t channels, int32_t frames) {
  if (!HasWork(sources, channels, frames) || targets == nullptr) return;
  for (int32_t channel = 0; channel < channels; ++channel) {
    if (sources[channel] == nullptr || targets[channel] == nullptr) continue;
    MoveSamples(sources[channel] + sourceAt, targets[channel] + targetAt, frames);
  }
}

}  // namespace zelk
