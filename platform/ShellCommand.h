// A command line run by the system's command interpreter, as std::system
// runs it, answered with the exit code the command ended with.
#pragma once

#include <string>

namespace zelk::platform {

// The command's exit code; -1 when no interpreter could run it or the
// command did not end by itself (killed by a signal).
int RunShellCommand(const std::string& commandLine);

}  // namespace zelk::platform
