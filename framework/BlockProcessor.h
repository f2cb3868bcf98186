// Fixed-size block processing: the host's blocks of any length are gathered
// into blocks of Size samples for a user event, whose outputs come back
// delayed by Size − Overlap samples. After each block the newest Overlap
// input samples stay at the front of the input block, so successive blocks
// overlap by that many samples.
//
// Configuration (sizes, Prepare, Release) happens while the host is not
// processing; Process runs on the audio thread and neither allocates nor
// locks. Process is correct when the host passes the same buffers as inputs
// and outputs: each stretch of input is taken before the same stretch of
// output is written.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/ProcessTypes.h"

namespace zelk {

class TBlockProcessor {
 public:
  static constexpr int32_t kDefaultSize = 1024;

  int32_t Size() const { return size_; }
  int32_t Overlap() const { return overlap_; }
  int32_t Position() const { return position_; }
  // Samples between an input sample and the output sample it becomes.
  int32_t Latency() const { return size_ - overlap_; }

  // A size must exceed the overlap (so that every block advances) and an
  // overlap must lie in 0..Size − 1; other values are refused (false). A new
  // size leaves the blocks unprepared until Prepare runs again.
  bool SetSize(int32_t size);
  bool SetOverlap(int32_t overlap);
  // Filling resumes at position Overlap.
  void Rewind() { position_ = overlap_; }

  // Sizes the blocks for these channel counts to Size samples each; samples
  // already held are kept, new room is 0.0. Rewinds.
  void Prepare(int32_t inputChannels, int32_t outputChannels);
  void Release();
  bool IsPrepared() const { return prepared_; }

  int32_t InputChannels() const { return static_cast<int32_t>(inputs_.size()); }
  int32_t OutputChannels() const { return static_cast<int32_t>(outputs_.size()); }
  float** BlockInputs() { return inputPointers_.data(); }
  float** BlockOutputs() { return outputPointers_.data(); }

  // Passes frames samples of the host's buffers through handler in blocks of
  // Size. Without prepared blocks the outputs are made silent.
  void Process(const TProcessAudioEvent& handler, float** inputs, float** outputs, int32_t frames);

 private:
  void RunBlock(const TProcessAudioEvent& handler);
  void KeepOverlap();

  int32_t size_ = kDefaultSize;
  int32_t overlap_ = 0;
  int32_t position_ = 0;
  bool prepared_ = false;
  std::vector<std::vector<float>> inputs_;
  std::vector<std::vector<float>> outputs_;
  std::vector<float*> inputPointers_;
  std::vector<float*> outputPointers_;
};

}  // namespace zelk
