// zelk-render: renders audio through the Zelk Vorlan plug-in, hosting it
// through its entry point the way a host does. See UsageText for the options.

#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/render/DemoSignal.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/Renderer.h"

namespace {

using namespace zelk::render;
namespace fs = std::filesystem;

// The directory of the running executable: /proc/self/exe where it exists,
// else argv[0] made absolute.
fs::path ExecutableDirectory(const char* argv0) {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    return self.parent_path();
  }
  return fs::absolute(argv0, error).parent_path();
}

// The tool lives in <build>/tools/render; the plug-in and the demo files
// belong to <build>.
fs::path BuildDirectory(const char* argv0) { return ExecutableDirectory(argv0) / ".." / ".."; }

std::string PluginFileName() {
#if defined(_WIN32)
  return "Zelk.dll";
#else
  return "Zelk.so";
#endif
}

std::string Decibels(float peak) {
  if (peak <= 0.0f) {
    return "-inf dBFS";
  }
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f dBFS", 20.0 * std::log10(peak));
  return text;
}

void PrintPeaks(const char* label, const TChannelPeaks& peaks) {
  std::printf("  %-10s left %.4f (%s), right %.4f (%s)\n", label, peaks.Left, Decibels(peaks.Left).c_str(),
              peaks.Right, Decibels(peaks.Right).c_str());
}

void PrintReport(const TRenderOptions& options, const std::string& pluginPath, const TRenderResult& result) {
  const double seconds = static_cast<double>(result.Frames) / result.InputFormat.SampleRate;
  std::printf("zelk-render: wrote %s\n", fs::path(options.OutputPath).lexically_normal().string().c_str());
  std::printf("  %-10s %s\n", "input", fs::path(options.InputPath).lexically_normal().string().c_str());
  std::printf("  %-10s %s", "plug-in", fs::path(pluginPath).lexically_normal().string().c_str());
  if (!result.EffectName.empty()) {
    std::printf(" (\"%s\"%s%s)", result.EffectName.c_str(), result.VendorName.empty() ? "" : " by ",
                result.VendorName.c_str());
  }
  std::printf("\n");
  if (options.Sweep) {
    std::printf("  %-10s swept from %g to %g degrees, set per block\n", "angle", options.FromAngle, options.ToAngle);
  } else {
    std::printf("  %-10s %g degrees\n", "angle", options.FromAngle);
  }
  std::printf("  %-10s %lld frames (%.3f s at %d Hz) in blocks of %d\n", "audio",
              static_cast<long long>(result.Frames), seconds, result.InputFormat.SampleRate, options.BlockSize);
  std::printf("  %-10s %s -> %s\n", "format", DescribeFormat(result.InputFormat.Format).c_str(),
              DescribeFormat(result.OutputFormat).c_str());
  PrintPeaks("peak in", result.InputPeaks);
  PrintPeaks("peak out", result.OutputPeaks);
  std::printf("  %-10s %.1f ms in all, %.2f ms in the plug-in", "time", result.TotalSeconds * 1e3,
              result.PluginSeconds * 1e3);
  if (result.TotalSeconds > 0.0) {
    std::printf(" (%.0fx real time)", seconds / result.TotalSeconds);
  }
  std::printf("\n");
  // Last, in a fixed form: scripts/demo reads it for the editor picture.
  std::printf("  %-10s %g degrees\n", "ends at", result.LastAngle);
}

int Run(int argc, char** argv) {
  TRenderOptions options;
  try {
    options = ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const TUsageError& error) {
    return zelk::tools::ReportUsageError("zelk-render", error);
  }
  if (options.ShowHelp) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (options.ShowVersion) {
    std::printf("%s\n", zelk::tools::VersionLine("zelk-render").c_str());
    return 0;
  }
  const fs::path buildDirectory = BuildDirectory(argv[0]);
  const std::string pluginPath =
      options.PluginPath.empty() ? (buildDirectory / PluginFileName()).lexically_normal().string() : options.PluginPath;
  if (options.InputPath.empty()) {
    options.InputPath = (buildDirectory / "zelk-demo-in.wav").lexically_normal().string();
    options.OutputPath = (buildDirectory / "zelk-demo.wav").lexically_normal().string();
    WriteDemoSignal(options.InputPath);
    std::printf("zelk-render: no files given; rendering the demo signal (440 Hz left, 660 Hz right)\n");
  }
  const TRenderResult result = RenderFile(options, pluginPath);
  PrintReport(options, pluginPath, result);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelk-render: %s\n", error.what());
    return 1;
  }
}
