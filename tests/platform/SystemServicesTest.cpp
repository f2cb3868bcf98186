// The small system services of the seam that tools and tests use: loading a
// shared library and running a command line.
#include <gtest/gtest.h>

#include "platform/DynamicLibrary.h"
#include "platform/ShellCommand.h"

namespace zelk::tests {
namespace {

using namespace platform;

TEST(DynamicLibraryTest, FailuresLeaveAReasonNamingTheFileOrSymbol) {
  TDynamicLibrary library;
  EXPECT_EQ(library.FindSymbol("main"), nullptr);
  EXPECT_EQ(library.ErrorText(), "no library is open");

  EXPECT_FALSE(library.Open("no-such-folder/NoSuchLibrary.so"));
  EXPECT_FALSE(library.IsOpen());
  EXPECT_NE(library.ErrorText().find("NoSuchLibrary.so"), std::string::npos) << library.ErrorText();
}

TEST(ShellCommandTest, AnswersTheExitCodeOfTheCommand) {
  EXPECT_EQ(RunShellCommand("exit 0"), 0);
  EXPECT_EQ(RunShellCommand("exit 3"), 3);
  EXPECT_EQ(RunShellCommand("exit 255"), 255);
}

}  // namespace
}  // namespace zelk::tests
