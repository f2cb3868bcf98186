// What Render8Bit needs of a palette: whether it has a colour lookup table,
// the table (64 x 64 x 64 palette indices, indexed by
// (B >> 2) + (G >> 2) * 64 + (R >> 2) * 4096), and the palette's colours, of
// which the first 235 go into the rendered section's colour table.
#pragma once

#include <cstdint>
#include <span>

#include "platform/Surface8.h"

namespace zelk {

inline constexpr size_t kLookupTableSize = 64 * 64 * 64;
inline constexpr size_t kRenderPaletteColors = 235;

class TRenderPalette {
 public:
  virtual ~TRenderPalette() = default;
  virtual bool HasLookupTable() const = 0;
  // kLookupTableSize entries when HasLookupTable.
  virtual std::span<const uint8_t> LookupTable() const = 0;
  // The platform palette's colours (fewer than 235 are allowed).
  virtual std::span<const platform::TColorEntry> Colors() const = 0;
};

}  // namespace zelk
