#include "runtime/SystemCodePage.h"

namespace zelk {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence; answers the code point and the bytes used.
// Malformed or truncated sequences use one byte and give U+FFFD.
char32_t DecodeUtf8(std::string_view text, size_t& used) {
  const auto lead = static_cast<unsigned char>(text[0]);
  used = 1;
  if (lead < 0x80) return lead;
  size_t length = 0;
  char32_t codePoint = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    codePoint = lead & 0x07;
  } else {
    return kReplacement;
  }
  if (text.size() < length) return kReplacement;
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return kReplacement;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    return kReplacement;
  }
  used = length;
  return codePoint;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

class TUtf8CodePage final : public TCodePage {
 public:
  std::u16string ToWide(std::string_view text) const override { return Utf8ToWide(text); }
  std::string FromWide(std::u16string_view text) const override { return WideToUtf8(text); }
  size_t CharacterLength(std::string_view text) const override {
    if (text.empty()) return 0;
    size_t used = 1;
    DecodeUtf8(text, used);
    return used;
  }
};

const TUtf8CodePage kUtf8;
const TCodePage* currentCodePage = &kUtf8;

}  // namespace

const TCodePage& SystemCodePage() { return *currentCodePage; }
void SetSystemCodePage(const TCodePage* codePage) { currentCodePage = codePage ? codePage : &kUtf8; }

std::u16string Utf8ToWide(std::string_view text) {
  std::u16string result;
  result.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    size_t used = 1;
    const char32_t codePoint = DecodeUtf8(text.substr(at), used);
    at += used;
    if (codePoint >= 0x10000) {
      result += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
      result += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
      result += static_cast<char16_t>(codePoint);
    }
  }
  return result;
}

std::string WideToUtf8(std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      unit = kReplacement;  // an unpaired surrogate
    }
    AppendUtf8(result, unit);
  }
  return result;
}

}  // namespace zelk
