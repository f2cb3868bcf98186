#include "dib/DIBTypes.h"

#include <array>

namespace zelk {

namespace {

// Classic default system colours (0x00BBGGRR) by system colour index, for
// builds whose platform installed no lookup of its own.
constexpr std::array<TColor, 25> kDefaultSystemColors = {
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

TColor DefaultSystemColor(int index) {
  if (index < 0 || index >= static_cast<int>(kDefaultSystemColors.size())) return clBlack;
  return kDefaultSystemColors[static_cast<size_t>(index)];
}

TSystemColorLookup& InstalledLookup() {
  static TSystemColorLookup lookup = nullptr;
  return lookup;
}

TColor LowBits(TColor color) { return static_cast<TColor>(static_cast<uint32_t>(color) & 0xFFFFFFu); }

}  // namespace

void SetSystemColorLookup(TSystemColorLookup lookup) { InstalledLookup() = lookup; }

TColor ResolveColor(TColor color) {
  if (!IsSystemColor(color)) return LowBits(color);
  const int index = static_cast<int>(static_cast<uint32_t>(color) & 0xFFu);
  const TSystemColorLookup lookup = InstalledLookup();
  return LowBits(lookup ? lookup(index) : DefaultSystemColor(index));
}

}  // namespace zelk
