#include "framework/Processing.h"

#include <algorithm>

#include "framework/AudioRoutines.h"

namespace zelk {

namespace {

constexpr int32_t kDefaultChannels = 2;
constexpr int32_t kDefaultBlockSize = 1024;

// channels pointers of buffers, each advanced by offset samples.
float** Shifted(float** buffers, float** shifted, int32_t channels, int32_t offset) {
  if (buffers == nullptr || offset == 0) return buffers;
  for (int32_t channel = 0; channel < channels; ++channel) {
    shifted[channel] = buffers[channel] != nullptr ? buffers[channel] + offset : nullptr;
  }
  return shifted;
}

}  // namespace

TProcessRoute RouteFor(TProcessingMode mode, const TProcessAudioEvent& userEvent) {
  switch (mode) {
    case pmCopy:
      return {TProcessRoutine::prCopy, {}};
    case pmMute:
      return {TProcessRoutine::prMute, {}};
    case pmBlockSave:
      if (userEvent) return {TProcessRoutine::prBlock, userEvent};
      return {};
    case pmNormal:
    default:
      if (userEvent) return {TProcessRoutine::prUser, userEvent};
      return {};
  }
}

TProcessing::TProcessing() {
  scratch_.Reserve({kDefaultChannels, kDefaultChannels}, kDefaultBlockSize);
  const TProcessRoute* none = Intern({});
  accumulating_.store(none, std::memory_order_release);
  replacing_.store(none, std::memory_order_release);
}

bool TProcessing::SetMode(TProcessingMode mode, const TProcessAudioEvent& onProcess,
                          const TProcessAudioEvent& onProcessReplacing) {
  if (mode == mode_) return false;
  mode_ = mode;
  RouteAccumulating(onProcess);
  RouteReplacing(onProcessReplacing);
  return true;
}

void TProcessing::RouteAccumulating(const TProcessAudioEvent& onProcess) {
  accumulating_.store(Intern(RouteFor(mode_, onProcess)), std::memory_order_release);
}

void TProcessing::RouteReplacing(const TProcessAudioEvent& onProcessReplacing) {
  replacing_.store(Intern(RouteFor(mode_, onProcessReplacing)), std::memory_order_release);
}

const TProcessRoute* TProcessing::Intern(const TProcessRoute& route) {
  for (const auto& known : routes_) {
    if (*known == route) return known.get();
  }
  routes_.push_back(std::make_unique<const TProcessRoute>(route));
  return routes_.back().get();
}

void TProcessing::ProcessAccumulating(float** inputs, float** outputs, int32_t frames,
                                      TChannelCounts channels) noexcept {
  // Buffers prepared since the last call are taken over even by calls that
  // do no work, so that the ones retired can be freed soon.
  const TScratchView scratch = scratch_.Take(channels);
  if (frames <= 0 || outputs == nullptr) return;
  const TProcessRoute& route = EffectiveProcess();
  if (route.Routine == TProcessRoutine::prNone) return;  // adding zeros changes nothing
  // Without buffers for this many channels (a count changed and its buffers
  // are not ready yet) nothing is added.
  if (!scratch) return;
  for (int32_t done = 0; done < frames;) {
    const int32_t slice = std::min(frames - done, scratch.Frames);
    MuteChannels(scratch.Buffers, channels.Outputs, slice);
    try {
      Run(route, Shifted(inputs, scratch.ShiftedInputs, channels.Inputs, done), scratch.Buffers, slice, channels);
    } catch (...) {
      return;  // a failed handler contributes silence
    }
    AccumulateChannels(scratch.Buffers, Shifted(outputs, scratch.ShiftedOutputs, channels.Outputs, done),
                       channels.Outputs, slice);
    done += slice;
  }
}

void TProcessing::ProcessReplacing(float** inputs, float** outputs, int32_t frames, TChannelCounts channels) noexcept {
  if (frames <= 0 || outputs == nullptr) return;
  try {
    Run(EffectiveProcessReplacing(), inputs, outputs, frames, channels);
  } catch (...) {
    MuteChannels(outputs, channels.Outputs, frames);
  }
}

void TProcessing::Run(const TProcessRoute& route, float** inputs, float** outputs, int32_t frames,
                      TChannelCounts channels) {
  switch (route.Routine) {
    case TProcessRoutine::prUser:
      route.Event(inputs, outputs, frames);
      break;
    case TProcessRoutine::prBlock:
      blocks_.Process(route.Event, inputs, outputs, frames);
      break;
    case TProcessRoutine::prCopy:
      CopyChannels(inputs, outputs, std::min(channels.Inputs, channels.Outputs), frames);
      break;
    case TProcessRoutine::prMute:
      MuteChannels(outputs, channels.Outputs, frames);
      break;
    case TProcessRoutine::prNone:
      break;
  }
}

}  // namespace zelk
