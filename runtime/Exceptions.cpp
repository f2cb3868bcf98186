#include "runtime/Exceptions.h"

namespace zelk {

std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string result;
  result.reserve(pattern.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%' || i + 1 >= pattern.size()) {
      result += c;
      continue;
    }
    const char directive = pattern[++i];
    if (directive == '%') {
      result += '%';
    } else if (next != args.end()) {
      result += *next++;
    }
  }
  return result;
}

std::string FormatMessage(std::string_view pattern, std::string_view arg) {
  return FormatMessage(pattern, {arg});
}

}  // namespace zelk
