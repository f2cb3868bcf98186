// Firing an optional event and answering the host whether anything ran:
// 1 when a handler was assigned and called, 0 when none is assigned.
#pragma once

#include <cstdint>
#include <utility>

namespace zelk {

template <class Event, class... Args>
intptr_t FireIfAssigned(const Event& event, Args&&... args) {
  if (!event) return 0;
  event(std::forward<Args>(args)...);
  return 1;
}

}  // namespace zelk
