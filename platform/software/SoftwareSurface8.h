// An 8-bit palette surface in memory: rows of palette indices, top row
// first, with its own 256-colour palette. Sections handed to SetBits are
// mapped to this palette by colour (an exact match, else the nearest colour)
// and clipped at the surface's edges.
#pragma once

#include <array>
#include <vector>

#include "platform/Surface8.h"

namespace zelk::platform {

class TSoftwareSection8 final : public TSection8 {
 public:
  TSoftwareSection8(int32_t width, int32_t height, std::span<const TColorEntry, 256> colorTable);

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  int32_t RowStride() const override { return stride_; }
  uint8_t* Bits() override { return bits_.data(); }
  const uint8_t* Bits() const override { return bits_.data(); }
  std::span<const TColorEntry, 256> ColorTable() const override { return colorTable_; }

 private:
  int32_t width_;
  int32_t height_;
  int32_t stride_;
  std::vector<uint8_t> bits_;
  std::array<TColorEntry, 256> colorTable_;
};

class TSoftwareSurface8 final : public TSurface8 {
 public:
  // bitsPerPixel other than 8 makes a surface that Render8Bit refuses.
  TSoftwareSurface8(int32_t width, int32_t height, std::span<const TColorEntry, 256> palette, int bitsPerPixel = 8);

  int BitsPerPixel() const override { return bitsPerPixel_; }
  std::unique_ptr<TSection8> CreateSection(int32_t width, int32_t height,
                                           std::span<const TColorEntry, 256> colorTable) override;
  void SetBits(int32_t x, int32_t y, const TSection8& section) override;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Palette index at (x, y) counted from the top-left; 0 outside.
  uint8_t IndexAt(int32_t x, int32_t y) const;

 private:
  uint8_t NearestIndex(const TColorEntry& color) const;

  int32_t width_;
  int32_t height_;
  int bitsPerPixel_;
  std::array<TColorEntry, 256> palette_;
  std::vector<uint8_t> indices_;
};

}  // namespace zelk::platform
