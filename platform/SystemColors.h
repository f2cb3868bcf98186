// Colour values as the platform resolves them: 0x00BBGGRR, or a system
// colour (high byte 0xFF, low byte the system colour index, clBtnFace = 15)
// that the backend's lookup turns into 0x00BBGGRR (see Backend.h).
#pragma once

#include <cstdint>

namespace zelk::platform {

constexpr bool IsSystemColor(int32_t color) { return (static_cast<uint32_t>(color) >> 24) == 0xFFu; }

// 0x00BBGGRR for any colour value: system colours through the backend,
// other values keep their low 24 bits.
int32_t ResolveColor(int32_t color);

}  // namespace zelk::platform
