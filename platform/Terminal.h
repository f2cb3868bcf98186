// Whether the program's error output goes to a terminal, where progress may
// be drawn in place, rather than into a file or a pipe.
#pragma once

namespace zelk::platform {

bool ErrorOutputIsTerminal();

}  // namespace zelk::platform
