// Scratch output buffers of the accumulating process path: the user event
// writes into them and the framework adds them to the host's outputs.
//
// Threads: Reserve runs on whichever thread the host dispatches from (block
// size, resume, channel counts), also while the audio thread is inside a
// process call; hosts change the block size while running. Reserve never
// touches the buffers in use: it prepares a complete new set and publishes
// it. The audio thread takes the newest set over with one atomic exchange at
// the start of a call (Take) and hands the set it used before back as
// retired; the next Reserve frees it. The audio thread thus never allocates,
// frees or waits, and no buffer is freed while it may still be in use.
//
// Sizes: at least kMinimumFrames and at most kMaximumFrames per channel. A
// host that sends more frames in one call than the set holds (more than it
// announced) is served in slices of the set's size.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "framework/ProcessTypes.h"

namespace zelk {

// The buffers for one process call, as the audio thread sees them.
struct TScratchView {
  float** Buffers = nullptr;         // one per output channel
  float** ShiftedInputs = nullptr;   // room for one pointer per input channel
  float** ShiftedOutputs = nullptr;  // room for one pointer per output channel
  int32_t Frames = 0;                // samples per buffer; 0: no set fits
  explicit operator bool() const { return Frames > 0; }
};

class TScratchBuffers {
 public:
  static constexpr int32_t kMinimumFrames = 64;
  static constexpr int32_t kMaximumFrames = 65536;

  TScratchBuffers() = default;
  ~TScratchBuffers();
  TScratchBuffers(const TScratchBuffers&) = delete;
  TScratchBuffers& operator=(const TScratchBuffers&) = delete;

  // Any thread but the audio thread. Prepares buffers for these channel
  // counts and blockSize frames (within the limits above) for the audio
  // thread's next call, unless they are what was reserved last; frees the
  // sets the audio thread has retired. May raise std::bad_alloc.
  void Reserve(TChannelCounts channels, int32_t blockSize);

  // Audio thread, at the start of a process call: takes over the newest
  // prepared set, then answers the current one when it holds at least these
  // channel counts, else an empty view. Never allocates, frees or blocks.
  TScratchView Take(TChannelCounts channels) noexcept;

  // What was reserved last (not necessarily taken over yet).
  TChannelCounts Channels() const;
  int32_t Frames() const;

 private:
  struct TSet;

  void Retire(TSet* set) noexcept;
  void FreeRetired() noexcept;

  mutable std::mutex reserveLock_;  // between dispatching threads, never the audio thread
  TChannelCounts reservedChannels_;
  int32_t reservedFrames_ = 0;

  std::atomic<TSet*> pending_{nullptr};  // prepared, not yet taken over
  TSet* active_ = nullptr;               // the audio thread's own
  std::atomic<TSet*> retired_{nullptr};  // given back by the audio thread, linked through NextRetired
};

}  // namespace zelk
