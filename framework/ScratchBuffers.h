// Scratch output buffers of the accumulating process path: the user event
// writes into them and the framework adds them to the host's outputs. They
// are kept from call to call and sized ahead (Reserve) from the announced
// block size and channel count, so that steady processing never allocates.
// Only a host that sends a longer block, or more channels, than it announced
// makes Acquire grow them, which allocates once.
#pragma once

#include <cstdint>
#include <vector>

namespace zelk {

class TScratchBuffers {
 public:
  // Room for channels buffers of frames samples each. Not for the audio path.
  void Reserve(int32_t channels, int32_t frames);
  // channels buffers of at least frames samples, the first frames of each
  // set to 0.0; grows the room when it is too small.
  float** Acquire(int32_t channels, int32_t frames);

  int32_t Channels() const { return channels_; }
  int32_t Frames() const { return frames_; }

 private:
  std::vector<float> samples_;
  std::vector<float*> pointers_;
  int32_t channels_ = 0;
  int32_t frames_ = 0;
};

}  // namespace zelk
