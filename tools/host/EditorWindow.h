// zelk-host --editor: the plug-in's editor in a top-level window of our own,
// opened the way a host opens it (effEditGetRect, effEditOpen with the
// window, effEditIdle about 30 times a second, effEditClose), so that the
// knob can be tried without a host application.
#pragma once

#include <optional>
#include <string>

namespace zelk::host {

struct TEditorOptions {
  std::string PluginPath;
  // The "Angle" parameter in degrees (0..360), set before the editor opens.
  std::optional<float> Angle;
  // Offered to the plug-in as the host's content scale before the editor
  // opens (effVendorSpecific 'PreS' 'AeCs').
  std::optional<float> Scale;
  // Writes the window's pixels to this file (PNG or JPEG, as its name asks)
  // once the editor has painted, prints what it wrote, and closes.
  std::optional<std::string> ScreenshotPath;
};

// Runs until the window is closed (or the screenshot is written). Answers
// the process's exit status: 0 on success, 1 when the plug-in, its editor
// or the display fails, with a one-line reason on standard error.
int RunEditor(const TEditorOptions& options);

}  // namespace zelk::host
