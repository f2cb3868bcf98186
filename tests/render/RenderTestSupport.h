// Helpers of the renderer's tests: a scratch folder per test, 16-bit stereo
// and mono WAV files written and read back with libsndfile, and zelk-render
// run as a separate process with its exit code and error output.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TemporaryFolder.h"

namespace zelk::tests {

// A 16-bit sample pair of one frame.
struct TFrame {
  int16_t Left;
  int16_t Right;
};

struct TRunResult {
  int ExitCode = -1;
  std::string Output;  // stdout
  std::string Errors;  // stderr
};


// Distinct, full-range content on both channels (never -32768, which has no
// positive counterpart, so negation stays exact).
std::vector<TFrame> TestFrames(int frames);

void WriteStereoWav(const std::string& path, const std::vector<TFrame>& frames, int sampleRate = 48000);
void WriteMonoWav(const std::string& path, int frames);
// Reads a 16-bit stereo file; fails the running test when it is not one.
std::vector<TFrame> ReadStereoWav(const std::string& path, int* format = nullptr);

// The plug-in under test (tests/support/BuiltPlugin.h); use as
// ASSERT_TRUE(FindPluginUnderTest(path)).
::testing::AssertionResult FindPluginUnderTest(std::string& path);

// Runs a program with the given arguments (each quoted for the shell), in
// folder when one is given.
TRunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& folder = "");
// Runs zelk-render with the given arguments.
TRunResult RunRenderer(const std::vector<std::string>& arguments);

}  // namespace zelk::tests
