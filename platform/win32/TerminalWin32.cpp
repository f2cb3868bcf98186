#include <io.h>

#include <cstdio>

#include "platform/Terminal.h"

namespace zelk::platform {

bool ErrorOutputIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace zelk::platform
