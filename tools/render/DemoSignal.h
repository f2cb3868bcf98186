// The built-in demo input: 4 s at 48 kHz of a 440 Hz tone on the left only
// (peak 0.5) and a 660 Hz tone on the right only (peak 0.25), each faded in
// and out over 10 ms. Rotating it moves the two pitches between the channels
// and changes the channel peaks, so the effect is both heard and seen.
#pragma once

#include <string>

namespace zelk::render {

inline constexpr int kDemoSampleRate = 48000;
inline constexpr int kDemoSeconds = 4;

// Writes the demo signal as a 16-bit PCM WAV file; throws TSoundFileError.
void WriteDemoSignal(const std::string& path);

}  // namespace zelk::render
