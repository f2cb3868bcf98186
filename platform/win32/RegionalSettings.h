// What the user chose in the system's regional settings.
#pragma once

namespace zelk::platform {

// The decimal separator for numbers, when it is one character of the ANSI
// code page; '.' otherwise.
char RegionalDecimalSeparator();

}  // namespace zelk::platform
