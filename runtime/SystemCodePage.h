// The 8-bit system code page. On Linux it is UTF-8; a platform backend may
// install another (the ANSI code page on Windows) before anything is loaded.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelk {

class TCodePage {
 public:
  virtual ~TCodePage() = default;
  virtual std::u16string ToWide(std::string_view text) const = 0;
  virtual std::string FromWide(std::u16string_view text) const = 0;
  // Bytes taken by the character at the start of text (at least 1 when text
  // is not empty, never more than text.size()).
  virtual size_t CharacterLength(std::string_view text) const = 0;
};

const TCodePage& SystemCodePage();
void SetSystemCodePage(const TCodePage* codePage);  // null restores UTF-8

// UTF-8 <-> UTF-16 with U+FFFD for malformed input.
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);

}  // namespace zelk
