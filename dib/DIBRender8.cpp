// Render8Bit: a region of the picture into an 8-bit palette surface, each
// pixel mapped through the palette's 64 x 64 x 64 colour lookup table.
#include <algorithm>
#include <array>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBPlatformError.h"
#include "dib/DIBRenderPalette.h"
#include "platform/Surface.h"
#include "platform/Surface8.h"
#include "platform/SystemError.h"

namespace zelk {

namespace {

constexpr char kNoLookupTableMessage[] = "Render8Bit can only be used with a palette containing a lookup table";
constexpr char kNot8BitMessage[] = "Render8Bit can only be used to blit to an 8 bit DC";

// The first 235 palette colours; the remaining entries stay zero.
std::array<platform::TColorEntry, 256> ColorTableOf(const TRenderPalette& palette) {
  std::array<platform::TColorEntry, 256> table{};
  const auto colors = palette.Colors();
  std::copy_n(colors.begin(), std::min(colors.size(), kRenderPaletteColors), table.begin());
  return table;
}

void CheckLookupTable(const TRenderPalette& palette) {
  if (!palette.HasLookupTable() || palette.LookupTable().size() < kLookupTableSize) {
    throw EDIBError(kNoLookupTableMessage);
  }
}

uint8_t IndexOf(const uint8_t* pixel, const uint8_t* lookup) {
  return lookup[(pixel[0] >> 2) + (pixel[1] >> 2) * 64 + (pixel[2] >> 2) * 4096];
}

}  // namespace

void TAbstractSuperDIB::Render8Bit(platform::TSurfaceHandle dc, int32_t x, int32_t y, int32_t width,
                                   int32_t height, uint16_t srcX, uint16_t srcY, const TRenderPalette& palette) {
  const std::unique_ptr<platform::TSurface8> surface = platform::SurfaceFactory().Surface8Of(dc);
  if (!surface) {
    CheckLookupTable(palette);
    throw EDIBError(kNot8BitMessage);
  }
  Render8Bit(*surface, x, y, width, height, srcX, srcY, palette);
}

void TAbstractSuperDIB::Render8Bit(platform::TSurface8& surface, int32_t x, int32_t y, int32_t width, int32_t height,
                                   uint16_t srcX, uint16_t srcY, const TRenderPalette& palette) {
  CheckLookupTable(palette);
  if (surface.BitsPerPixel() != 8) throw EDIBError(kNot8BitMessage);
  if (srcX >= Width() || srcY >= Height() || Bits() == nullptr) return;
  if (width < 1 || height < 1) return;
  // Reading depends only on the source region, never on where it lands: a
  // negative x or y only moves the section, and the surface clips it.
  width = std::min<int32_t>(width, Width() - srcX);
  height = std::min<int32_t>(height, Height() - srcY);

  const auto colorTable = ColorTableOf(palette);
  platform::SystemErrors().SetLastErrorCode(0);
  auto section = surface.CreateSection(width, height, colorTable);
  if (!section || section->Width() < width || section->Height() < height || section->RowStride() < width) {
    RaiseLastPlatformError();
  }

  const uint8_t* lookup = palette.LookupTable().data();
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* sourceLine = ScanLine(srcY + row) + ptrdiff_t{srcX} * 4;
    uint8_t* targetLine = section->Bits() + ptrdiff_t{section->RowStride()} * (height - 1 - row);
    for (int32_t column = 0; column < width; ++column) targetLine[column] = IndexOf(sourceLine + column * 4, lookup);
  }
  surface.SetBits(x, y, *section);
}

}  // namespace zelk
