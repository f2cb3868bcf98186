// New GUIDs from COM's generator, which needs no COM initialisation.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <objbase.h>

#include "platform/Guid.h"

namespace zelk::platform {

std::optional<TGuidBytes> CreateGuid() {
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) return std::nullopt;
  TGuidBytes bytes{};
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(guid.Data1 >> (8 * i));
  for (size_t i = 0; i < 2; ++i) bytes[4 + i] = static_cast<uint8_t>(guid.Data2 >> (8 * i));
  for (size_t i = 0; i < 2; ++i) bytes[6 + i] = static_cast<uint8_t>(guid.Data3 >> (8 * i));
  for (size_t i = 0; i < 8; ++i) bytes[8 + i] = guid.Data4[i];
  return bytes;
}

}  // namespace zelk::platform
