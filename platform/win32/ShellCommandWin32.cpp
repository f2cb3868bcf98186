#include <cstdlib>

#include "platform/ShellCommand.h"

namespace zelk::platform {

// The C runtime of Windows answers the exit code itself.
int RunShellCommand(const std::string& commandLine) { return std::system(commandLine.c_str()); }

}  // namespace zelk::platform
