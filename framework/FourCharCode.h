// Four-character codes as VST 2 packs them into a 32-bit integer: the first
// character in the most significant byte ('VstP' = 0x56737450).
//
// A text shorter than four characters is padded with spaces ("Ab" packs as
// "Ab  "), the usual filler of such codes, so that every text gives a code
// and reading it back gives the padded text. Characters beyond the fourth are
// ignored. Characters are the bytes of the 8-bit text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelk {

constexpr int32_t FourCharCode(std::string_view text) {
  uint32_t code = 0;
  for (size_t position = 0; position < 4; ++position) {
    const char character = position < text.size() ? text[position] : ' ';
    code = (code << 8) | static_cast<unsigned char>(character);
  }
  return static_cast<int32_t>(code);
}

// The four characters from the most significant byte down.
inline std::string FourCharText(int32_t code) {
  const auto bits = static_cast<uint32_t>(code);
  std::string text(4, ' ');
  for (size_t position = 0; position < 4; ++position) {
    text[position] = static_cast<char>((bits >> (8 * (3 - position))) & 0xFF);
  }
  return text;
}

inline constexpr int32_t kNoEffectID = FourCharCode("NoEf");    // uniqueID before the setting is read
inline constexpr int32_t kIdentifyAnswer = FourCharCode("NvEf");  // answer to effIdentify
static_assert(FourCharCode("VstP") == 0x56737450);
static_assert(kNoEffectID == 0x4E6F4566 && kIdentifyAnswer == 0x4E764566);

}  // namespace zelk
