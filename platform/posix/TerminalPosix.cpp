#include <unistd.h>

#include "platform/Terminal.h"

namespace zelk::platform {

bool ErrorOutputIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace zelk::platform
