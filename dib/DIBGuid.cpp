#include "dib/DIBGuid.h"

#include <cstdio>

namespace zelk {

namespace {

// "{" + 8 + "-" + 4 + "-" + 4 + "-" + 4 + "-" + 12 + "}".
constexpr size_t kTextLength = 38;

int HexDigitValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return -1;
}

// Reads `digits` hexadecimal digits at text[offset]; false on a non-digit.
bool ReadHex(std::string_view text, size_t offset, size_t digits, uint32_t& value) {
  value = 0;
  for (size_t i = 0; i < digits; ++i) {
    const int digit = HexDigitValue(text[offset + i]);
    if (digit < 0) return false;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return true;
}

}  // namespace

std::array<uint8_t, kGUIDByteSize> GUIDToBytes(const TGUID& guid) {
  std::array<uint8_t, kGUIDByteSize> bytes{};
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(guid.Data1 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[4 + i] = static_cast<uint8_t>(guid.Data2 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[6 + i] = static_cast<uint8_t>(guid.Data3 >> (8 * i));
  for (int i = 0; i < 8; ++i) bytes[8 + i] = guid.Data4[i];
  return bytes;
}

TGUID GUIDFromBytes(std::span<const uint8_t, kGUIDByteSize> bytes) {
  TGUID guid;
  for (int i = 0; i < 4; ++i) guid.Data1 |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  guid.Data2 = static_cast<uint16_t>(bytes[4] | (bytes[5] << 8));
  guid.Data3 = static_cast<uint16_t>(bytes[6] | (bytes[7] << 8));
  for (int i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
  return guid;
}

std::string GUIDToString(const TGUID& guid) {
  char text[kTextLength + 1];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), static_cast<unsigned>(guid.Data2),
                static_cast<unsigned>(guid.Data3), guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return std::string(text, kTextLength);
}

std::optional<TGUID> GUIDFromString(std::string_view text) {
  if (text.size() != kTextLength || text.front() != '{' || text.back() != '}') return std::nullopt;
  if (text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-') return std::nullopt;
  TGUID guid;
  uint32_t value = 0;
  if (!ReadHex(text, 1, 8, guid.Data1)) return std::nullopt;
  if (!ReadHex(text, 10, 4, value)) return std::nullopt;
  guid.Data2 = static_cast<uint16_t>(value);
  if (!ReadHex(text, 15, 4, value)) return std::nullopt;
  guid.Data3 = static_cast<uint16_t>(value);
  // Data4: two bytes before the last hyphen, six after it.
  static constexpr size_t kData4Offsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (size_t i = 0; i < 8; ++i) {
    if (!ReadHex(text, kData4Offsets[i], 2, value)) return std::nullopt;
    guid.Data4[i] = static_cast<uint8_t>(value);
  }
  return guid;
}

}  // namespace zelk
