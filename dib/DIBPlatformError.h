// Platform error texts for the messages of the bitmap engine.
#pragma once

#include <cstdint>
#include <string>

namespace zelk {

// The platform's message text for its last error code.
std::string LastErrorText();

// Raises zelk::Exception "Windows error (<code>) <text>" for the platform's
// last error code, as the engine does when the platform refuses a section.
[[noreturn]] void RaiseLastPlatformError();

}  // namespace zelk
