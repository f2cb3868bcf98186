#include <sys/wait.h>

#include <cstdlib>

#include "platform/ShellCommand.h"

namespace zelk::platform {

int RunShellCommand(const std::string& commandLine) {
  const int status = std::system(commandLine.c_str());
  if (status == -1) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace zelk::platform
