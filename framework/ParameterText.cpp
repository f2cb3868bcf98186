#include "framework/ParameterText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "runtime/DecimalSeparator.h"

namespace zelk {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kLargestFixedExponent = kSignificantDigits - 1;  // below 10^15
constexpr int kSmallestFixedExponent = -5;                      // 0.00001 and up

// The value's decimal digits after rounding to 15 significant digits, without
// trailing zeros, and the power of ten of the first digit.
struct TDecimalDigits {
  std::string Digits;
  int Exponent = 0;
};

TDecimalDigits RoundedDigits(double magnitude) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", kSignificantDigits - 1, magnitude);
  // "d.ddddde±XX"; the decimal point follows the C locale, so only the digits
  // before the exponent mark are taken.
  TDecimalDigits result;
  const char* at = text;
  for (; *at != '\0' && *at != 'e'; ++at) {
    if (*at >= '0' && *at <= '9') result.Digits += *at;
  }
  if (*at == 'e') result.Exponent = std::atoi(at + 1);
  while (result.Digits.size() > 1 && result.Digits.back() == '0') result.Digits.pop_back();
  return result;
}

std::string FixedForm(const TDecimalDigits& decimal) {
  const std::string& digits = decimal.Digits;
  if (decimal.Exponent < 0) return "0" + std::string(1, DecimalSeparator()) + std::string(static_cast<size_t>(-decimal.Exponent - 1), '0') + digits;
  const size_t integerDigits = static_cast<size_t>(decimal.Exponent) + 1;
  if (digits.size() <= integerDigits) return digits + std::string(integerDigits - digits.size(), '0');
  return digits.substr(0, integerDigits) + DecimalSeparator() + digits.substr(integerDigits);
}

std::string ExponentForm(const TDecimalDigits& decimal) {
  std::string text = decimal.Digits.substr(0, 1);
  if (decimal.Digits.size() > 1) text += DecimalSeparator() + decimal.Digits.substr(1);
  return text + "E" + std::to_string(decimal.Exponent);
}

bool IsBlank(char character) {
  return character == ' ' || character == '\t' || character == '\r' || character == '\n';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string FormatParameterValue(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0.0) return "0";
  const TDecimalDigits decimal = RoundedDigits(std::fabs(value));
  const bool fixed = decimal.Exponent >= kSmallestFixedExponent && decimal.Exponent <= kLargestFixedExponent;
  return (value < 0 ? "-" : "") + (fixed ? FixedForm(decimal) : ExponentForm(decimal));
}

std::optional<float> ParseParameterValue(std::string_view typed) {
  // The parser knows only '.'; a person may type the system's separator.
  std::string normalized(TrimBlanks(typed));
  for (char& character : normalized) {
    if (character == DecimalSeparator()) character = '.';
  }
  std::string_view text = normalized;
  // One sign, then a digit or the decimal point: this also keeps out the
  // words for infinity and non-numbers that the parser would accept.
  const bool hasSign = !text.empty() && (text.front() == '+' || text.front() == '-');
  if (text.size() <= (hasSign ? 1u : 0u)) return std::nullopt;
  const char lead = text[hasSign ? 1 : 0];
  if (!(lead >= '0' && lead <= '9') && lead != '.') return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);  // the parser takes only '-'
  double number = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!(std::fabs(number) <= std::numeric_limits<float>::max())) return std::nullopt;
  return static_cast<float>(number);
}

}  // namespace zelk
