// What happened to an image of an image list, as the list tells its links:
// a byte-sized value, 0 for a deletion and 1 for a change.
#pragma once

#include <cstdint>

namespace zelk {

enum class TDIBImageOperation : uint8_t {
  ioDeleted = 0,  // the image at the index was deleted
  ioChanged = 1,  // the image at the index changed (or a link was set to it)
};

}  // namespace zelk
