#include "runtime/DecimalSeparator.h"

#include <atomic>
#include <locale>

namespace zelk {

namespace {

// The user's locale as the environment names it (LC_ALL, LC_NUMERIC, LANG),
// without touching the process's global locale, which belongs to the host.
char SeparatorFromEnvironment() {
  try {
    const char separator = std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    return separator != '\0' ? separator : '.';
  } catch (...) {
    return '.';  // a locale the system does not know
  }
}

std::atomic<char>& Separator() {
  static std::atomic<char> separator{SeparatorFromEnvironment()};
  return separator;
}

}  // namespace

char DecimalSeparator() { return Separator().load(std::memory_order_relaxed); }

void SetDecimalSeparator(char separator) { Separator().store(separator, std::memory_order_relaxed); }

}  // namespace zelk
