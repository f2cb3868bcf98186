#include "framework/BlockProcessor.h"

#include <algorithm>
#include <cstring>

#include "framework/AudioRoutines.h"

namespace zelk {

namespace {

void SizeChannels(std::vector<std::vector<float>>& channels, std::vector<float*>& pointers, int32_t count,
                  int32_t samples) {
  channels.resize(static_cast<size_t>(std::max(count, int32_t{0})));
  pointers.clear();
  for (std::vector<float>& channel : channels) {
    channel.resize(static_cast<size_t>(samples), 0.0f);
    pointers.push_back(channel.data());
  }
}

}  // namespace

bool TBlockProcessor::SetSize(int32_t size) {
  if (size <= overlap_) return false;
  // Blocks of the old size no longer fit: they must be prepared again.
  if (size != size_) prepared_ = false;
  size_ = size;
  return true;
}

bool TBlockProcessor::SetOverlap(int32_t overlap) {
  if (overlap < 0 || overlap >= size_) return false;
  overlap_ = overlap;
  return true;
}

void TBlockProcessor::Prepare(int32_t inputChannels, int32_t outputChannels) {
  SizeChannels(inputs_, inputPointers_, inputChannels, size_);
  SizeChannels(outputs_, outputPointers_, outputChannels, size_);
  prepared_ = true;
  Rewind();
}

void TBlockProcessor::Release() {
  inputs_ = {};
  outputs_ = {};
  inputPointers_ = {};
  outputPointers_ = {};
  prepared_ = false;
  Rewind();
}

void TBlockProcessor::Process(const TProcessAudioEvent& handler, float** inputs, float** outputs, int32_t frames) {
  if (!prepared_) {
    MuteChannels(outputs, OutputChannels(), frames);
    return;
  }
  for (int32_t done = 0; done < frames;) {
    const int32_t take = std::min(frames - done, size_ - position_);
    // All inputs of this stretch are taken before any output is written,
    // which keeps in-place buffers intact.
    CopyChannelRange(inputs, done, BlockInputs(), position_, InputChannels(), take);
    CopyChannelRange(BlockOutputs(), position_, outputs, done, OutputChannels(), take);
    position_ += take;
    done += take;
    if (position_ == size_) RunBlock(handler);
  }
}

void TBlockProcessor::RunBlock(const TProcessAudioEvent& handler) {
  // Rewind first: should the handler fail, the next call starts a new block.
  Rewind();
  if (handler) handler(BlockInputs(), BlockOutputs(), size_);
  KeepOverlap();
}

// The newest Overlap input samples move to the front of the block, where the
// next block starts filling behind them.
void TBlockProcessor::KeepOverlap() {
  if (overlap_ == 0) return;
  for (std::vector<float>& channel : inputs_) {
    std::memmove(channel.data(), channel.data() + (size_ - overlap_), static_cast<size_t>(overlap_) * sizeof(float));
  }
}

}  // namespace zelk
