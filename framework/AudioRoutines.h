// Plain routines over sample buffers as the host passes them: arrays of
// channel pointers to 32-bit float samples. Each is real-time safe (no
// allocation, lock or exception) and correct when an input channel is the
// very buffer of the output channel of the same number (in-place hosts).
// Null arrays and null channels are skipped; a frame count of zero or less
// touches nothing.
#pragma once

#include <cstdint>

namespace zelk {

// outputs[c] := inputs[c] for c below channels.
void CopyChannels(float* const* inputs, float* const* outputs, int32_t channels, int32_t frames);
// outputs[c] := 0.0 for c below channels.
void MuteChannels(float* const* outputs, int32_t channels, int32_t frames);
// outputs[c] += additions[c] for c below channels.
void AccumulateChannels(const float* const* additions, float* const* outputs, int32_t channels, int32_t frames);

// Copies frames samples from source + sourceAt to target + targetAt for each
// of channels channels (the building block of block-wise processing).
void CopyChannelRange(const float* const* sources, int32_t sourceAt, float* const* targets, int32_t targetAt,
                      int32_t channels, int32_t frames);

}  // namespace zelk
