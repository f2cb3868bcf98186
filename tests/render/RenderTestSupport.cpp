#include "RenderTestSupport.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/ShellCommand.h"
#include "tests/support/BuiltPlugin.h"

namespace zelk::tests {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  std::stringstream content;
  content << stream.rdbuf();
  return content.str();
}

}  // namespace

std::vector<TFrame> TestFrames(int frames) {
  std::vector<TFrame> result(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    // Two unrelated sawtooth-like sequences that reach near full scale.
    result[i].Left = static_cast<int16_t>((i * 7919) % 65535 - 32767);
    result[i].Right = static_cast<int16_t>(32767 - (i * 104729) % 65535);
  }
  return result;
}

void WriteStereoWav(const std::string& path, const std::vector<TFrame>& frames, int sampleRate) {
  SF_INFO info{};
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  info.channels = 2;
  info.samplerate = sampleRate;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  sf_writef_short(file, reinterpret_cast<const short*>(frames.data()), static_cast<sf_count_t>(frames.size()));
  sf_close(file);
}

void WriteMonoWav(const std::string& path, int frames) {
  SF_INFO info{};
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  info.channels = 1;
  info.samplerate = 48000;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  const std::vector<short> samples(static_cast<size_t>(frames), 1000);
  sf_writef_short(file, samples.data(), frames);
  sf_close(file);
}

std::vector<TFrame> ReadStereoWav(const std::string& path, int* format) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    ADD_FAILURE() << "cannot read " << path << ": " << sf_strerror(nullptr);
    return {};
  }
  std::vector<TFrame> frames;
  if (info.channels == 2) {
    frames.resize(static_cast<size_t>(info.frames));
    sf_readf_short(file, reinterpret_cast<short*>(frames.data()), info.frames);
  } else {
    ADD_FAILURE() << path << " has " << info.channels << " channels";
  }
  if (format != nullptr) {
    *format = info.format;
  }
  sf_close(file);
  return frames;
}

::testing::AssertionResult FindPluginUnderTest(std::string& path) { return tests::FindBuiltPlugin(path); }

TRunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& folder) {
  TTemporaryFolder captures;
  const std::string outputFile = captures.PathOf("stdout.txt");
  const std::string errorFile = captures.PathOf("stderr.txt");
  std::string command = folder.empty() ? "" : "cd " + Quoted(folder) + " && ";
  command.append(Quoted(program));
  for (const std::string& argument : arguments) {
    command.append(" ").append(Quoted(argument));
  }
  command.append(" >").append(Quoted(outputFile)).append(" 2>").append(Quoted(errorFile));
  TRunResult result;
  result.ExitCode = platform::RunShellCommand(command);
  result.Output = ReadWholeFile(outputFile);
  result.Errors = ReadWholeFile(errorFile);
  return result;
}

TRunResult RunRenderer(const std::vector<std::string>& arguments) { return RunProgram(ZELK_RENDER_TOOL, arguments); }

}  // namespace zelk::tests
