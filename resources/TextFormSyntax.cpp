#include "resources/TextFormSyntax.h"

#include "runtime/Text.h"

namespace zelk::textform {

bool IsPlainName(std::string_view name) {
  if (name.empty()) return false;
  size_t start = 0;
  while (true) {
    const size_t dot = name.find('.', start);
    const std::string_view part = name.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (!IsValidIdent(part)) return false;
    if (dot == std::string_view::npos) return true;
    start = dot + 1;
  }
}

bool IsBlockKeyword(std::string_view word) {
  for (std::string_view keyword : {"object", "inherited", "inline", "end", "item"}) {
    if (SameText(word, keyword)) return true;
  }
  return false;
}

bool IsValueKeyword(std::string_view word) {
  for (std::string_view keyword : {"True", "False", "nil", "Null", "file", "picture"}) {
    if (SameText(word, keyword)) return true;
  }
  return false;
}

}  // namespace zelk::textform
