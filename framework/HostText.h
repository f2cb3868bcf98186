// Texts crossing the host boundary. Hosts hand over zero-terminated texts of
// any length (or none) and provide fixed-size buffers for the answers; a
// text read is bounded so that a missing terminator cannot run away, and a
// text written is cut to the buffer, terminator included, never inside a
// character.
#pragma once

#include <cstddef>
#include <string_view>

#include "runtime/Text.h"

namespace zelk {

// The longest text the framework reads from a host pointer.
inline constexpr size_t kMaxHostTextBytes = 1024;

// The text at ptr up to its terminator (at most maxBytes bytes); empty for null.
inline std::string_view ReadHostText(const void* ptr, size_t maxBytes = kMaxHostTextBytes) {
  if (ptr == nullptr) return {};
  const auto* text = static_cast<const char*>(ptr);
  size_t length = 0;
  while (length < maxBytes && text[length] != '\0') ++length;
  return std::string_view(text, length);
}

// Writes text into the host's buffer of bufferSize bytes; null writes nothing.
inline void WriteHostText(void* ptr, size_t bufferSize, std::string_view text) {
  CopyToBuffer(static_cast<char*>(ptr), bufferSize, text);
}

}  // namespace zelk
