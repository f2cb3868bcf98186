// Compressor identities: a 16-byte GUID with its binary layout (a 32-bit and
// two 16-bit values little-endian, then eight bytes in order) and its
// canonical text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelk {

struct TGUID {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  std::array<uint8_t, 8> Data4{};

  bool operator==(const TGUID&) const = default;
};

inline constexpr size_t kGUIDByteSize = 16;

// The 16 bytes of the binary layout.
std::array<uint8_t, kGUIDByteSize> GUIDToBytes(const TGUID& guid);
TGUID GUIDFromBytes(std::span<const uint8_t, kGUIDByteSize> bytes);

// The canonical text form: braces, upper-case hexadecimal, 8-4-4-4-12.
std::string GUIDToString(const TGUID& guid);
// Parses exactly the canonical layout (either letter case); nothing otherwise.
std::optional<TGUID> GUIDFromString(std::string_view text);

}  // namespace zelk
