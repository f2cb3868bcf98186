#include "framework/ScratchBuffers.h"

#include <algorithm>

namespace zelk {

void TScratchBuffers::Reserve(int32_t channels, int32_t frames) {
  channels = std::max(channels, int32_t{0});
  frames = std::max(frames, int32_t{0});
  if (channels == channels_ && frames == frames_) return;
  samples_.assign(static_cast<size_t>(channels) * static_cast<size_t>(frames), 0.0f);
  pointers_.resize(static_cast<size_t>(channels));
  for (int32_t channel = 0; channel < channels; ++channel) {
    pointers_[static_cast<size_t>(channel)] = samples_.data() + static_cast<size_t>(channel) * static_cast<size_t>(frames);
  }
  channels_ = channels;
  frames_ = frames;
}

float** TScratchBuffers::Acquire(int32_t channels, int32_t frames) {
  frames = std::max(frames, int32_t{0});
  if (channels > channels_ || frames > frames_) Reserve(std::max(channels, channels_), std::max(frames, frames_));
  for (int32_t channel = 0; channel < channels; ++channel) {
    std::fill_n(pointers_[static_cast<size_t>(channel)], frames, 0.0f);
  }
  return pointers_.data();
}

}  // namespace zelk
