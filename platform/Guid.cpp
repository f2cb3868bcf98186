#include "platform/Guid.h"

namespace zelk::platform {

namespace {

// The third value is little-endian at bytes 6 and 7: its high nibble is the
// high nibble of byte 7.
constexpr size_t kVersionByte = 7;
constexpr size_t kVariantByte = 8;

}  // namespace

TGuidBytes RandomGuidFromBytes(TGuidBytes random) {
  random[kVersionByte] = static_cast<uint8_t>((random[kVersionByte] & 0x0F) | 0x40);
  random[kVariantByte] = static_cast<uint8_t>((random[kVariantByte] & 0x3F) | 0x80);
  return random;
}

}  // namespace zelk::platform
