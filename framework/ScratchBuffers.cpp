#include "framework/ScratchBuffers.h"

#include <algorithm>
#include <vector>

namespace zelk {

// One complete set of buffers, built whole before the audio thread sees it.
struct TScratchBuffers::TSet {
  TSet(TChannelCounts channels, int32_t frames)
      : Channels(channels),
        Frames(frames),
        Samples(static_cast<size_t>(channels.Outputs) * static_cast<size_t>(frames), 0.0f),
        Buffers(static_cast<size_t>(channels.Outputs)),
        ShiftedInputs(static_cast<size_t>(channels.Inputs)),
        ShiftedOutputs(static_cast<size_t>(channels.Outputs)) {
    for (size_t channel = 0; channel < Buffers.size(); ++channel) {
      Buffers[channel] = Samples.data() + channel * static_cast<size_t>(frames);
    }
  }

  bool Holds(TChannelCounts channels) const {
    return channels.Inputs <= Channels.Inputs && channels.Outputs <= Channels.Outputs;
  }

  const TChannelCounts Channels;
  const int32_t Frames;
  std::vector<float> Samples;
  std::vector<float*> Buffers;
  std::vector<float*> ShiftedInputs;
  std::vector<float*> ShiftedOutputs;
  TSet* NextRetired = nullptr;
};

TScratchBuffers::~TScratchBuffers() {
  // The host processes no more: nothing is in use.
  FreeRetired();
  delete pending_.exchange(nullptr);
  delete active_;
}

void TScratchBuffers::Reserve(TChannelCounts channels, int32_t blockSize) {
  channels.Inputs = std::max(channels.Inputs, int32_t{0});
  channels.Outputs = std::max(channels.Outputs, int32_t{0});
  const int32_t frames = std::clamp(blockSize, kMinimumFrames, kMaximumFrames);
  std::lock_guard lock(reserveLock_);
  FreeRetired();
  if (reservedFrames_ == frames && reservedChannels_.Inputs == channels.Inputs &&
      reservedChannels_.Outputs == channels.Outputs) {
    return;
  }
  auto* fresh = new TSet(channels, frames);
  // A set the audio thread never took over was never seen by it.
  delete pending_.exchange(fresh, std::memory_order_acq_rel);
  reservedChannels_ = channels;
  reservedFrames_ = frames;
}

TScratchView TScratchBuffers::Take(TChannelCounts channels) noexcept {
  if (pending_.load(std::memory_order_relaxed) != nullptr) {
    if (TSet* fresh = pending_.exchange(nullptr, std::memory_order_acquire)) {
      Retire(active_);
      active_ = fresh;
    }
  }
  if (active_ == nullptr || !active_->Holds(channels)) return {};
  return {active_->Buffers.data(), active_->ShiftedInputs.data(), active_->ShiftedOutputs.data(), active_->Frames};
}

// Audio thread: a lock-free push onto the retired list.
void TScratchBuffers::Retire(TSet* set) noexcept {
  if (set == nullptr) return;
  set->NextRetired = retired_.load(std::memory_order_relaxed);
  while (!retired_.compare_exchange_weak(set->NextRetired, set, std::memory_order_release,
                                         std::memory_order_relaxed)) {
  }
}

void TScratchBuffers::FreeRetired() noexcept {
  TSet* set = retired_.exchange(nullptr, std::memory_order_acquire);
  while (set != nullptr) {
    TSet* next = set->NextRetired;
    delete set;
    set = next;
  }
}

TChannelCounts TScratchBuffers::Channels() const {
  std::lock_guard lock(reserveLock_);
  return reservedChannels_;
}

int32_t TScratchBuffers::Frames() const {
  std::lock_guard lock(reserveLock_);
  return reservedFrames_;
}

}  // namespace zelk
