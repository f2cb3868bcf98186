#include "tools/render/DemoSignal.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/render/SoundFiles.h"

namespace zelk::render {

namespace {

constexpr double kLeftFrequency = 440.0;
constexpr double kRightFrequency = 660.0;
constexpr double kLeftPeak = 0.5;
constexpr double kRightPeak = 0.25;
constexpr double kFadeSeconds = 0.010;

double Tone(double frequency, int frame) {
  return std::sin(2.0 * std::numbers::pi * frequency * frame / kDemoSampleRate);
}

// 0 to 1 over the first and last kFadeSeconds, 1 between: no clicks.
double Fade(int frame, int frames) {
  const double fadeFrames = kFadeSeconds * kDemoSampleRate;
  return std::min({1.0, frame / fadeFrames, (frames - 1 - frame) / fadeFrames});
}

}  // namespace

void WriteDemoSignal(const std::string& path) {
  const int frames = kDemoSampleRate * kDemoSeconds;
  std::vector<float> interleaved(static_cast<size_t>(frames) * 2);
  for (int frame = 0; frame < frames; ++frame) {
    const double gain = Fade(frame, frames);
    interleaved[2 * frame] = static_cast<float>(kLeftPeak * gain * Tone(kLeftFrequency, frame));
    interleaved[2 * frame + 1] = static_cast<float>(kRightPeak * gain * Tone(kRightFrequency, frame));
  }
  TSoundFileWriter writer(path, {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, kDemoSampleRate});
  writer.Write(interleaved.data(), frames);
  writer.Close();
}

}  // namespace zelk::render
