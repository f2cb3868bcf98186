// An 8-bit palette drawing surface (a device context with 8 bits per pixel)
// and the 8-bit pixel sections drawn into it.
//
// The bitmap engine renders a picture into a section of palette indices and
// hands it to the surface with SetBits, which places the rows at (x, y) and
// clips at the surface's edges: pixels outside the surface are dropped.
// A portable software implementation lives in platform/software/SoftwareSurface8.h.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace zelk::platform {

// A colour-table entry: blue, green, red, reserved.
struct TColorEntry {
  uint8_t Blue = 0;
  uint8_t Green = 0;
  uint8_t Red = 0;
  uint8_t Reserved = 0;

  bool operator==(const TColorEntry&) const = default;
};

// An 8-bit section: Height rows of RowStride bytes (Width rounded up to a
// multiple of 4), bottom row first in memory, with a 256-entry colour table.
class TSection8 {
 public:
  virtual ~TSection8() = default;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual int32_t RowStride() const = 0;
  virtual uint8_t* Bits() = 0;
  virtual const uint8_t* Bits() const = 0;
  virtual std::span<const TColorEntry, 256> ColorTable() const = 0;
};

class TSurface8 {
 public:
  virtual ~TSurface8() = default;
  virtual int BitsPerPixel() const = 0;
  // A section compatible with this surface; null when the platform refuses
  // it (the reason is left in the last error code, see SystemError.h).
  virtual std::unique_ptr<TSection8> CreateSection(int32_t width, int32_t height,
                                                   std::span<const TColorEntry, 256> colorTable) = 0;
  // Copies section's rows (colours taken from its table) to (x, y); clips at
  // the surface's edges.
  virtual void SetBits(int32_t x, int32_t y, const TSection8& section) = 0;
};

}  // namespace zelk::platform
