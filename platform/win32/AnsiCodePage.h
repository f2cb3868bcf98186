// The system's ANSI code page, the 8-bit code page of Windows programs,
// as the runtime's system code page.
#pragma once

#include "runtime/SystemCodePage.h"

namespace zelk::platform {

const TCodePage& AnsiCodePage();

}  // namespace zelk::platform
