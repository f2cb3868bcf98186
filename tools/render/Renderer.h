// Renders one audio file through the plug-in as a host does: the plug-in is
// loaded through its entry point, opened, told the file's sample rate and the
// block size, resumed; the angle is set through setParameter before the first
// block (and before every block when sweeping); each block goes through
// processReplacing; then the plug-in is suspended and closed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "tools/render/RenderOptions.h"
#include "tools/render/SoundFiles.h"

namespace zelk::render {

class TRenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TChannelPeaks {
  float Left = 0.0f;
  float Right = 0.0f;
};

struct TRenderResult {
  std::string EffectName;  // as the plug-in names itself; may be empty
  std::string VendorName;
  TSoundFormat InputFormat;
  int OutputFormat = 0;
  int64_t Frames = 0;
  TChannelPeaks InputPeaks;
  TChannelPeaks OutputPeaks;  // before the output file clips them
  double LastAngle = 0.0;     // the angle of the last block
  double TotalSeconds = 0.0;  // reading, processing and writing
  double PluginSeconds = 0.0; // inside processReplacing only
};

// The angle of the block that starts at firstFrame: the fixed angle, or the
// sweep's value at that frame (FromAngle at frame 0, ToAngle at the last frame).
double BlockAngle(const TRenderOptions& options, int64_t firstFrame, int64_t totalFrames);

// Renders options.InputPath into options.OutputPath through the plug-in at
// pluginPath. Throws TRenderError or TSoundFileError with a one-line reason.
TRenderResult RenderFile(const TRenderOptions& options, const std::string& pluginPath);

}  // namespace zelk::render
