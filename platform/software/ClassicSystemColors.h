// System colours of a classic grey desktop, for backends whose system has
// no colour scheme of its own.
#pragma once

#include <cstdint>

namespace zelk::platform {

// 0x00BBGGRR for system colour index 0 to 24; black for any other index.
int32_t ClassicSystemColor(int index);

}  // namespace zelk::platform
