#include "tools/render/Renderer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <vector>

#include "tools/common/HostSession.h"
#include "tools/render/ProgressBar.h"

namespace zelk::render {

namespace {

using TClock = std::chrono::steady_clock;

// Files shorter than this render too fast for a progress bar to help.
constexpr int kProgressMinimumSeconds = 30;

void CheckStereo(const TSoundFileReader& reader, const std::string& path) {
  const int channels = reader.Format().Channels;
  if (channels != 2) {
    throw TRenderError("'" + path + "' has " + std::to_string(channels) + (channels == 1 ? " channel" : " channels") +
                       "; the plug-in turns stereo only (2 channels)");
  }
}

void CheckDistinctFiles(const std::string& input, const std::string& output) {
  std::error_code error;
  if (std::filesystem::equivalent(input, output, error)) {
    throw TRenderError("the output '" + output + "' is the input file; choose another name");
  }
}

void CheckEffect(const AEffect& effect, const std::string& pluginPath) {
  if (effect.numInputs != 2 || effect.numOutputs != 2) {
    throw TRenderError("'" + pluginPath + "' has " + std::to_string(effect.numInputs) + " inputs and " +
                       std::to_string(effect.numOutputs) + " outputs; a 2-in/2-out effect is needed");
  }
  if (effect.processReplacing == nullptr || (effect.flags & effFlagsCanReplacing) == 0) {
    throw TRenderError("'" + pluginPath + "' offers no replacing process entry");
  }
}

std::string EffectText(host::THostSession& session, int32_t opcode) {
  // Room beyond the documented sizes, for plug-ins that overrun them.
  char text[256] = {};
  session.Dispatch(opcode, 0, 0, text);
  text[sizeof(text) - 1] = '\0';
  return text;
}

void RaisePeak(float& peak, const float* samples, int64_t frames) {
  for (int64_t i = 0; i < frames; ++i) {
    peak = std::max(peak, std::fabs(samples[i]));
  }
}

double SecondsSince(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

// The render loop's buffers: one interleaved block as the file holds it and
// the two channel buffers each way that the plug-in sees.
struct TBlockBuffers {
  explicit TBlockBuffers(int32_t blockSize)
      : Interleaved(static_cast<size_t>(blockSize) * 2), Left(blockSize), Right(blockSize), OutLeft(blockSize),
        OutRight(blockSize) {}

  void Deinterleave(int64_t frames) {
    for (int64_t i = 0; i < frames; ++i) {
      Left[i] = Interleaved[2 * i];
      Right[i] = Interleaved[2 * i + 1];
    }
  }
  void Interleave(int64_t frames) {
    for (int64_t i = 0; i < frames; ++i) {
      Interleaved[2 * i] = OutLeft[i];
      Interleaved[2 * i + 1] = OutRight[i];
    }
  }

  std::vector<float> Interleaved, Left, Right, OutLeft, OutRight;
};

}  // namespace

double BlockAngle(const TRenderOptions& options, int64_t firstFrame, int64_t totalFrames) {
  if (!options.Sweep || totalFrames <= 1) {
    return options.FromAngle;
  }
  const double position = static_cast<double>(firstFrame) / static_cast<double>(totalFrames - 1);
  return options.FromAngle + (options.ToAngle - options.FromAngle) * position;
}

TRenderResult RenderFile(const TRenderOptions& options, const std::string& pluginPath) {
  const TClock::time_point start = TClock::now();
  TSoundFileReader reader(options.InputPath);
  CheckStereo(reader, options.InputPath);
  if (reader.Frames() == 0) throw TRenderError("'" + options.InputPath + "' has no audio (0 frames)");
  CheckDistinctFiles(options.InputPath, options.OutputPath);
  const int outputFormat = ChooseOutputFormat(reader.Format(), options.OutputPath, options.OutputFormat);

  host::THostSession session;
  if (!session.Open(pluginPath, {static_cast<float>(reader.Format().SampleRate), options.BlockSize})) {
    throw TRenderError(session.ErrorText());
  }
  CheckEffect(*session.Effect(), pluginPath);

  TRenderResult result;
  result.EffectName = EffectText(session, effGetEffectName);
  result.VendorName = EffectText(session, effGetVendorString);
  result.InputFormat = reader.Format();
  result.OutputFormat = outputFormat;
  TSoundFileWriter writer(options.OutputPath, {result.OutputFormat, 2, reader.Format().SampleRate});

  TBlockBuffers buffers(options.BlockSize);
  float* inputs[2] = {buffers.Left.data(), buffers.Right.data()};
  float* outputs[2] = {buffers.OutLeft.data(), buffers.OutRight.data()};
  TProgressBar progress(reader.Frames(),
                        reader.Frames() >= int64_t{kProgressMinimumSeconds} * reader.Format().SampleRate);

  session.Resume();
  double angle = BlockAngle(options, 0, reader.Frames());
  session.SetParameter(0, static_cast<float>(angle / 360.0));
  while (const int64_t frames = reader.Read(buffers.Interleaved.data(), options.BlockSize)) {
    if (options.Sweep) {
      angle = BlockAngle(options, result.Frames, reader.Frames());
      session.SetParameter(0, static_cast<float>(angle / 360.0));
    }
    buffers.Deinterleave(frames);
    const TClock::time_point processStart = TClock::now();
    session.ProcessReplacing(inputs, outputs, static_cast<int32_t>(frames));
    result.PluginSeconds += SecondsSince(processStart);
    RaisePeak(result.InputPeaks.Left, inputs[0], frames);
    RaisePeak(result.InputPeaks.Right, inputs[1], frames);
    RaisePeak(result.OutputPeaks.Left, outputs[0], frames);
    RaisePeak(result.OutputPeaks.Right, outputs[1], frames);
    buffers.Interleave(frames);
    writer.Write(buffers.Interleaved.data(), frames);
    result.Frames += frames;
    progress.Update(result.Frames);
  }
  progress.Finish();
  session.Close();
  writer.Close();
  result.LastAngle = angle;
  result.TotalSeconds = SecondsSince(start);
  return result;
}

}  // namespace zelk::render
