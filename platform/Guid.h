// New GUIDs from the system, for identities that must not collide (control
// templates name their images by one).
//
// A GUID is handed over as its 16 bytes in the binary layout that stored
// images use: a 32-bit value and two 16-bit values, each little-endian, then
// eight bytes in order. New ones are random (version 4, RFC 4122 variant).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zelk::platform {

inline constexpr size_t kGuidByteSize = 16;
using TGuidBytes = std::array<uint8_t, kGuidByteSize>;

// A new random GUID, or nothing when the system has no random bytes to give
// (the caller reports that as its own error).
std::optional<TGuidBytes> CreateGuid();

// The random GUID made of 16 random bytes: the version nibble (the high one
// of the third value) becomes 4 and the two top bits of the first of the
// eight bytes become 10. Shared by the backends that draw raw random bytes.
TGuidBytes RandomGuidFromBytes(TGuidBytes random);

}  // namespace zelk::platform
