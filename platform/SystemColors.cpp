#include "platform/SystemColors.h"

#include "platform/Backend.h"

namespace zelk::platform {

int32_t ResolveColor(int32_t color) {
  const int32_t rgb = IsSystemColor(color) ? Backend().SystemColor(static_cast<int>(color & 0xFF)) : color;
  return static_cast<int32_t>(static_cast<uint32_t>(rgb) & 0xFFFFFFu);
}

}  // namespace zelk::platform
