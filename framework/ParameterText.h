// Numbers as the host reads and writes parameter values in text form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelk {

// General decimal form with up to 15 significant digits and no trailing
// zeros, with the system's decimal separator: "90", "22.5",
// "0.100000001490116" (or "22,5" where the separator is a comma).
// Magnitudes of 10^15 and above or below 0.00001 use exponent form ("1E15",
// "1.5E-6"); zero is "0", non-numbers "NAN", "INF" and "-INF".
std::string FormatParameterValue(double value);

// A decimal number with optional sign, fraction and exponent, surrounded by
// optional blanks; the decimal point is '.' or the system's separator. Nothing for any other text and
// for numbers that do not fit a finite 32-bit float.
std::optional<float> ParseParameterValue(std::string_view text);

}  // namespace zelk
