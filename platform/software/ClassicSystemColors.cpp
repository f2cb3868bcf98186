#include "platform/software/ClassicSystemColors.h"

#include <array>
#include <cstddef>

namespace zelk::platform {

namespace {

// By system colour index, 0x00BBGGRR.
constexpr std::array<int32_t, 25> kClassicColors = {
    0xC8C8C8,  // scroll bar
    0x000000,  // background
    0x6A240A,  // active caption
    0x808080,  // inactive caption
    0xC8D0D4,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC8D0D4,  // active border
    0xC8D0D4,  // inactive border
    0x808080,  // application workspace
    0x6A240A,  // highlight
    0xFFFFFF,  // highlight text
    0xC8D0D4,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xC8D0D4,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x404040,  // 3D dark shadow
    0xC8D0D4,  // 3D light
    0x000000,  // info text
    0xE1FFFF,  // info background
};

}  // namespace

int32_t ClassicSystemColor(int index) {
  if (index < 0 || index >= static_cast<int>(kClassicColors.size())) return 0;
  return kClassicColors[static_cast<std::size_t>(index)];
}

}  // namespace zelk::platform
