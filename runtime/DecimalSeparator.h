// The decimal separator of the system's numeric settings, used where texts
// are shown to a person (parameter displays). Read once from the user's
// locale environment; a platform backend may set it from the system's
// regional settings at start, and tests may set it explicitly.
#pragma once

namespace zelk {

char DecimalSeparator();
void SetDecimalSeparator(char separator);

}  // namespace zelk
