// The module's audio processing between the host's two process entries and
// the user's process events: the processing mode, the handler each entry
// actually runs, the fixed-size blocks and the accumulating path's scratch
// buffers.
//
// Threads: the mode and the user events are changed on the host's
// user-interface thread (or while settings load); the two Process entries
// run on the host's audio thread. The handler each entry runs is published
// as one atomic pointer to an immutable route, so the audio thread sees
// either the old or the new handler, never half of each. Routes are kept
// until the module goes (identical ones are shared), because the audio
// thread may still be running one that was just replaced. The scratch
// buffers are handed over the same way (ScratchBuffers.h), since hosts
// change the block size while running; the blocks of block mode are
// expected to change only while the host is not processing.
//
// Both Process entries are real-time safe in steady state (no allocation,
// lock or exception) and never let an exception out: a handler that throws
// leaves the replacing outputs silent and adds nothing to accumulating ones.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/BlockProcessor.h"
#include "framework/ProcessTypes.h"
#include "framework/ScratchBuffers.h"

namespace zelk {

// Which routine an entry runs, and over which user event.
enum class TProcessRoutine : uint8_t { prNone, prUser, prBlock, prCopy, prMute };

struct TProcessRoute {
  TProcessRoutine Routine = TProcessRoutine::prNone;
  TProcessAudioEvent Event;
  bool operator==(const TProcessRoute&) const = default;
};

// The route of one entry in a mode: pmNormal runs the user event, pmBlockSave
// the block routine over it (nothing when either lacks a user event), pmCopy
// and pmMute their own routines.
TProcessRoute RouteFor(TProcessingMode mode, const TProcessAudioEvent& userEvent);

class TProcessing {
 public:
  // Scratch buffers for the module's defaults: two inputs, two outputs and
  // 1024 frames.
  TProcessing();

  TProcessingMode Mode() const { return mode_; }
  // Reroutes both entries for a new mode; answers false, and does nothing,
  // when the mode is already the current one.
  bool SetMode(TProcessingMode mode, const TProcessAudioEvent& onProcess, const TProcessAudioEvent& onProcessReplacing);
  // Reroutes one entry after its user event was assigned.
  void RouteAccumulating(const TProcessAudioEvent& onProcess);
  void RouteReplacing(const TProcessAudioEvent& onProcessReplacing);

  const TProcessRoute& EffectiveProcess() const { return *accumulating_.load(std::memory_order_acquire); }
  const TProcessRoute& EffectiveProcessReplacing() const { return *replacing_.load(std::memory_order_acquire); }

  TBlockProcessor& Blocks() { return blocks_; }
  const TBlockProcessor& Blocks() const { return blocks_; }
  // Sizes the accumulating path's buffers for the announced block size and
  // hands them to the audio thread (see ScratchBuffers.h). Any thread but
  // the audio thread, also while it processes.
  void ReserveScratch(TChannelCounts channels, int32_t blockSize) { scratch_.Reserve(channels, blockSize); }
  const TScratchBuffers& Scratch() const { return scratch_; }

  // Audio thread. The outputs receive the effective handler's output added
  // to what they hold; more frames than the scratch buffers hold are
  // processed in slices of their size.
  void ProcessAccumulating(float** inputs, float** outputs, int32_t frames, TChannelCounts channels) noexcept;
  // Audio thread. The effective handler writes the outputs; without one they
  // keep what they hold.
  void ProcessReplacing(float** inputs, float** outputs, int32_t frames, TChannelCounts channels) noexcept;

 private:
  const TProcessRoute* Intern(const TProcessRoute& route);
  void Run(const TProcessRoute& route, float** inputs, float** outputs, int32_t frames, TChannelCounts channels);

  TProcessingMode mode_ = pmNormal;
  std::vector<std::unique_ptr<const TProcessRoute>> routes_;
  std::atomic<const TProcessRoute*> accumulating_{nullptr};
  std::atomic<const TProcessRoute*> replacing_{nullptr};
  TBlockProcessor blocks_;
  TScratchBuffers scratch_;
};

}  // namespace zelk
