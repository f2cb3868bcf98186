#include "runtime/Text.h"

#include <cstring>

#include "runtime/SystemCodePage.h"

namespace zelk {

namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

}  // namespace

bool SameText(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i) {
    if (AsciiUpper(left[i]) != AsciiUpper(right[i])) return false;
  }
  return true;
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = AsciiUpper(c);
  return result;
}

bool IsValidIdent(std::string_view name) {
  if (name.empty() || !IsIdentStart(name[0])) return false;
  for (char c : name) {
    if (!IsIdentChar(c)) return false;
  }
  return true;
}

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::string WideToSystem(std::u16string_view text) { return SystemCodePage().FromWide(text); }
std::u16string SystemToWide(std::string_view text) { return SystemCodePage().ToWide(text); }
std::string Utf8ToSystem(std::string_view text) { return WideToSystem(Utf8ToWide(text)); }

size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += SystemCodePage().CharacterLength(text.substr(at))) ++count;
  return count;
}

std::string_view FirstCharacters(std::string_view text, size_t maxCharacters) {
  size_t at = 0;
  for (size_t count = 0; count < maxCharacters && at < text.size(); ++count) {
    at += SystemCodePage().CharacterLength(text.substr(at));
  }
  return text.substr(0, at);
}

std::string_view FitBytes(std::string_view text, size_t maxBytes) {
  size_t at = 0;
  while (at < text.size()) {
    const size_t length = SystemCodePage().CharacterLength(text.substr(at));
    if (at + length > maxBytes) break;
    at += length;
  }
  return text.substr(0, at);
}

void CopyToBuffer(char* buffer, size_t bufferSize, std::string_view text) {
  if (buffer == nullptr || bufferSize == 0) return;
  const std::string_view fitting = FitBytes(text, bufferSize - 1);
  std::memcpy(buffer, fitting.data(), fitting.size());
  buffer[fitting.size()] = '\0';
}

std::string IntToStr(long long value) { return std::to_string(value); }

}  // namespace zelk
