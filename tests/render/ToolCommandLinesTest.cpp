// Every tool reads its command line the same way: --help, -h and --version
// answer at once with exit 0; options go in any order and in both forms;
// a wrong option or value ends with status 2 and a line naming it. And
// scripts/demo draws the editor at the angle the audio ends at, whatever
// form the renderer's options took.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "RenderTestSupport.h"

#ifndef ZELK_HOST_TOOL
#define ZELK_HOST_TOOL ""
#endif
#ifndef ZELK_EDITOR_SHOT_TOOL
#define ZELK_EDITOR_SHOT_TOOL ""
#endif
#ifndef ZELK_ARTWORK_TOOL
#define ZELK_ARTWORK_TOOL ""
#endif
#ifndef ZELK_CPUINFO_TOOL
#define ZELK_CPUINFO_TOOL ""
#endif
#ifndef ZELK_RESC_TOOL
#define ZELK_RESC_TOOL ""
#endif

namespace zelk::tests {
namespace {

struct TTool {
  const char* Name;
  const char* Path;
};
const TTool kTools[] = {{"zelk-render", ZELK_RENDER_TOOL},         {"zelk-host", ZELK_HOST_TOOL},
                        {"zelk-editor-shot", ZELK_EDITOR_SHOT_TOOL}, {"zelk-artwork", ZELK_ARTWORK_TOOL},
                        {"zelk-cpuinfo", ZELK_CPUINFO_TOOL},         {"zelk-resc", ZELK_RESC_TOOL}};

std::string PathOf(const char* tool) {
  for (const TTool& known : kTools) {
    if (std::string(known.Name) == tool) return known.Path;
  }
  return "";
}

class ToolCommandLines : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FindPluginUnderTest(m_Plugin));
    WriteStereoWav(m_Folder.PathOf("in.wav"), TestFrames(2000));
  }

  // {plugin}, {dir} in an argument become the plug-in's path and the test's folder.
  std::string Expanded(std::string argument) const {
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"{plugin}", m_Plugin},
                                     std::pair<std::string, std::string>{"{dir}", m_Folder.PathOf("")}}) {
      if (const size_t at = argument.find(key); at != std::string::npos) argument.replace(at, key.size(), value);
    }
    return argument;
  }

  std::string m_Plugin;
  TTemporaryFolder m_Folder;
};

TEST_F(ToolCommandLines, EveryToolAnswersHelpAndVersionAtOnce) {
  for (const TTool& tool : kTools) {
    if (std::string(tool.Path).empty()) continue;
    for (const char* option : {"--help", "-h", "--version"}) {
      SCOPED_TRACE(std::string(tool.Name) + " " + option);
      const TRunResult run = RunProgram(tool.Path, {option});
      EXPECT_EQ(run.ExitCode, 0) << run.Errors;
      const std::string expected = std::string(option) == "--version" ? std::string(tool.Name) + " 1."
                                                                         : "usage: " + std::string(tool.Name);
      EXPECT_EQ(run.Output.rfind(expected, 0), 0u) << run.Output;
      EXPECT_EQ(run.Errors, "");
    }
  }
}

TEST_F(ToolCommandLines, OptionsInAnyOrderAndFormAndBadValuesNamed) {
  const struct {
    const char* Tool;
    std::vector<std::string> Arguments;
    int ExitCode;
    const char* Says;  // on stdout when the exit code is 0, on stderr otherwise
  } cases[] = {
      {"zelk-render", {"--angle=45", "{dir}in.wav", "{dir}a.wav"}, 0, "angle      45 degrees"},
      {"zelk-render", {"{dir}in.wav", "{dir}b.wav", "--angle", "45", "--block=64"}, 0, "in blocks of 64"},
      {"zelk-render", {"--sweep=0:90", "{dir}in.wav", "{dir}c.wav"}, 0, "swept from 0 to 90"},
      {"zelk-render", {"--format=flac", "{dir}in.wav", "{dir}d.bin"}, 0, "-> FLAC"},
      {"zelk-render", {"{dir}in.wav", "{dir}e.ogg"}, 0, "-> OGG"},
      {"zelk-render", {"--angle", "abc", "{dir}in.wav", "{dir}f.wav"}, 2, "--angle expects 0 to 360 degrees, got 'abc'"},
      {"zelk-render", {"--angle=361", "{dir}in.wav", "{dir}f.wav"}, 2, "got '361'"},
      {"zelk-render", {"{dir}in.wav", "{dir}f.wav", "--block"}, 2, "--block needs a value"},
      {"zelk-render", {"--bogus", "{dir}in.wav", "{dir}f.wav"}, 2, "unknown option '--bogus'"},
      {"zelk-render", {"{dir}in.wav", "{dir}f.xyz"}, 1, "'.xyz' names no sound file format"},
      {"zelk-render", {"{dir}missing.wav", "{dir}f.wav"}, 1, "missing.wav' does not exist"},
      {"zelk-host", {"{plugin}"}, 0, "effect name      Zelk Vorlan"},
      {"zelk-host", {"--angle=abc", "--editor", "{plugin}"}, 2, "--angle expects 0 to 360 degrees, got 'abc'"},
      {"zelk-host", {"--editor", "{plugin}", "--screenshot", "x.bmp"}, 2, "--screenshot expects a .png or .jpg"},
      {"zelk-host", {"--angle", "90", "{plugin}"}, 2, "belong to --editor"},
      {"zelk-host", {}, 2, "give the plug-in file"},
      {"zelk-host", {"--editor=yes", "{plugin}"}, 2, "--editor takes no value"},
      {"zelk-editor-shot", {"{dir}shot.png", "--angle=45"}, 0, "the editor at 45 degrees"},
      {"zelk-editor-shot", {"--angle", "30", "{dir}shot.jpg"}, 0, "(JPEG)"},
      {"zelk-editor-shot", {"--angle", "400", "{dir}shot.png"}, 2, "got '400'"},
      {"zelk-editor-shot", {"{dir}shot.bmp"}, 2, "must be a .png or .jpg"},
      {"zelk-artwork", {"preview", "{dir}p.png", "--zoom=2", "90"}, 0, "wrote"},
      {"zelk-artwork", {"preview", "{dir}p.png", "abc"}, 2, "ANGLE expects a whole number from 0 to 359, got 'abc'"},
      {"zelk-artwork", {"preview", "{dir}p.png", "400"}, 2, "got '400'"},
      {"zelk-artwork", {"preview", "{dir}p.png", "--zoom", "0"}, 2, "--zoom expects a whole number from 1 to 8"},
      {"zelk-artwork", {"paint", "{dir}"}, 2, "unknown command 'paint'"},
      {"zelk-cpuinfo", {}, 0, "Rotation kernel"},
      {"zelk-cpuinfo", {"extra"}, 2, "takes no arguments"},
      {"zelk-resc", {"compile", "x.zres"}, 2, "compile needs -o OUTPUT"},
      {"zelk-resc", {"dump"}, 2, "dump takes one input file"},
  };
  for (const auto& test : cases) {
    const std::string path = PathOf(test.Tool);
    if (path.empty()) continue;
    std::vector<std::string> arguments;
    std::string line = test.Tool;
    for (const std::string& argument : test.Arguments) {
      arguments.push_back(Expanded(argument));
      line += " " + argument;
    }
    SCOPED_TRACE(line);
    const TRunResult run = RunProgram(path, arguments);
    EXPECT_EQ(run.ExitCode, test.ExitCode) << run.Errors;
    const std::string& said = test.ExitCode == 0 ? run.Output : run.Errors;
    EXPECT_NE(said.find(test.Says), std::string::npos) << said;
  }
}

// A bare file name is the file in the current folder, as the user typed it.
TEST_F(ToolCommandLines, APluginGivenByBareNameIsTheFileInTheCurrentFolder) {
  const std::filesystem::path plugin(m_Plugin);
  const TRunResult run = RunProgram(ZELK_HOST_TOOL, {plugin.filename().string()}, plugin.parent_path().string());
  EXPECT_EQ(run.ExitCode, 0) << run.Errors;
}

// The angle after "the editor at" in the demo's output must be the one the
// renderer reported the audio ends at.
TEST_F(ToolCommandLines, TheDemosEditorPictureShowsTheAngleTheAudioEndsAt) {
  const struct {
    std::vector<std::string> Options;
    const char* EndAngle;  // null: a sweep's last block, as the renderer reports it
  } cases[] = {{{}, "90"},
               {{"--angle=45"}, "45"},
               {{"--angle", "45"}, "45"},
               {{"--block=64", "--angle", "300"}, "300"},
               {{"--sweep=0:180"}, nullptr},
               {{"--sweep", "270:90", "--block", "128"}, nullptr}};
  const std::regex endsAt("ends at +([0-9.]+) degrees");
  const std::regex editorAt("the editor at ([0-9.]+) degrees");
  for (const auto& test : cases) {
    std::vector<std::string> arguments = test.Options;
    arguments.insert(arguments.end(), {m_Folder.PathOf("in.wav"), m_Folder.PathOf("out.wav")});
    SCOPED_TRACE(testing::PrintToString(test.Options));
    const TRunResult run = RunProgram("env", [&] {
      std::vector<std::string> command{"ZELK_BUILD_DIR=" ZELK_BUILD_DIR, ZELK_DEMO_SCRIPT};
      command.insert(command.end(), arguments.begin(), arguments.end());
      return command;
    }());
    ASSERT_EQ(run.ExitCode, 0) << run.Errors;
    std::smatch reported, drawn;
    ASSERT_TRUE(std::regex_search(run.Output, reported, endsAt)) << run.Output;
    ASSERT_TRUE(std::regex_search(run.Output, drawn, editorAt)) << run.Output;
    EXPECT_EQ(drawn[1], reported[1]);
    if (test.EndAngle != nullptr) EXPECT_EQ(drawn[1], test.EndAngle);
  }
}

}  // namespace
}  // namespace zelk::tests
