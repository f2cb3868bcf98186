// Text helpers shared by every layer. 8-bit strings (std::string) are in the
// system code page, which is UTF-8 on Linux; wide strings are UTF-16.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelk {

// ASCII case-insensitive comparison, as names of components, properties,
// classes and resources compare.
bool SameText(std::string_view left, std::string_view right);
std::string UpperCase(std::string_view text);

// A valid identifier: a letter or '_' followed by letters, digits or '_'.
bool IsValidIdent(std::string_view name);

// Conversions to and from the 8-bit system code page.
std::string WideToSystem(std::u16string_view text);
std::u16string SystemToWide(std::string_view text);
std::string Utf8ToSystem(std::string_view text);
bool IsAscii(std::string_view text);

// Number of characters (not bytes) in a system-code-page string.
size_t CharacterCount(std::string_view text);
// The longest prefix of at most maxCharacters characters, never splitting one.
std::string_view FirstCharacters(std::string_view text, size_t maxCharacters);
// The longest prefix that fits in maxBytes bytes, never splitting a character.
std::string_view FitBytes(std::string_view text, size_t maxBytes);
// Copies text into a C buffer of bufferSize bytes including the terminator,
// never splitting a character. A null buffer or zero size writes nothing.
void CopyToBuffer(char* buffer, size_t bufferSize, std::string_view text);

std::string IntToStr(long long value);

}  // namespace zelk
