// What a user gets wrong must end in one clear line on stderr and a non-zero
// exit, without touching the output: a missing input, a mono input, a file
// that is no plug-in, a plug-in that cannot build its effect, bad options.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "RenderTestSupport.h"

namespace zelk::tests {
namespace {

class RenderErrors : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FindPluginUnderTest(m_Plugin));
    WriteStereoWav(m_Folder.PathOf("stereo.wav"), TestFrames(100));
  }

  // Expects failure with exactly one line on stderr that contains `mention`.
  void ExpectOneLineError(const TRunResult& run, const std::string& mention, int exitCode = 1) {
    EXPECT_EQ(run.ExitCode, exitCode);
    EXPECT_NE(run.Errors.find(mention), std::string::npos) << run.Errors;
    EXPECT_EQ(std::count(run.Errors.begin(), run.Errors.end(), '\n'), 1) << run.Errors;
    EXPECT_FALSE(std::filesystem::exists(m_Folder.PathOf("out.wav")));
  }

  std::string m_Plugin;
  TTemporaryFolder m_Folder;
};

TEST_F(RenderErrors, AMissingInputFileIsNamed) {
  const std::string missing = m_Folder.PathOf("missing.wav");
  ExpectOneLineError(RunRenderer({"--plugin", m_Plugin, missing, m_Folder.PathOf("out.wav")}), missing);
}

TEST_F(RenderErrors, AMonoInputIsRejected) {
  WriteMonoWav(m_Folder.PathOf("mono.wav"), 100);
  ExpectOneLineError(RunRenderer({"--plugin", m_Plugin, m_Folder.PathOf("mono.wav"), m_Folder.PathOf("out.wav")}),
                     "1 channel");
}

TEST_F(RenderErrors, AFileThatIsNoLibraryIsNamed) {
  const std::string notALibrary = m_Folder.PathOf("stereo.wav");
  ExpectOneLineError(RunRenderer({"--plugin", notALibrary, notALibrary, m_Folder.PathOf("out.wav")}), notALibrary);
}

TEST_F(RenderErrors, APluginWhoseEntryPointAnswersNullIsReported) {
  ExpectOneLineError(
      RunRenderer({"--plugin", ZELK_NULL_ENTRY_PLUGIN, m_Folder.PathOf("stereo.wav"), m_Folder.PathOf("out.wav")}),
      "answered no effect");
}

TEST_F(RenderErrors, BadOptionsExitWithUsageStatus) {
  const std::string in = m_Folder.PathOf("stereo.wav"), out = m_Folder.PathOf("out.wav");
  ExpectOneLineError(RunRenderer({"--angle", "361", in, out}), "--angle", 2);
  ExpectOneLineError(RunRenderer({"--sweep", "0-90", in, out}), "--sweep", 2);
  ExpectOneLineError(RunRenderer({"--block", "0", in, out}), "--block", 2);
  ExpectOneLineError(RunRenderer({"--angle", "10", "--sweep", "0:90", in, out}), "exclude", 2);
  ExpectOneLineError(RunRenderer({in}), "output", 2);
}

TEST_F(RenderErrors, HelpPrintsUsageAndSucceeds) {
  const TRunResult run = RunRenderer({"--help"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Output.find("usage: zelk-render"), std::string::npos);
}

}  // namespace
}  // namespace zelk::tests
