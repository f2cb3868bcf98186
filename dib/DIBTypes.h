// Small value types shared by the bitmap engine: angles, colours, pixels,
// rectangles, the transparency mode and the engine's exception class.
//
// A pixel is 4 bytes in memory order blue, green, red, alpha; read as a
// little-endian 32-bit value it is 0xAARRGGBB, with straight (not
// premultiplied) alpha, 255 opaque. A colour value (TColor) is 0x00BBGGRR,
// or a system colour (high byte 0xFF, low bits the system colour index).
#pragma once

#include <bit>
#include <cstdint>

#include "runtime/Exceptions.h"
#include "runtime/TypeInfo.h"
#include "runtime/Types.h"

static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian 32-bit values");

namespace zelk {

// Whole degrees 0..359, clockwise on the screen from twelve o'clock.
using TAngle = uint16_t;

// 0xAARRGGBB as read from the 4 pixel bytes B, G, R, A.
using TPixel = uint32_t;

// What TransparentColor reports: the stored key (tmFixed) or the colour of
// the bitmap's bottom-left pixel (tmAuto). Drawing always keys on the stored
// value.
enum class TTransparentMode : uint8_t { tmAuto, tmFixed };
ZELK_ENUM_NAMES(TTransparentMode, "tmAuto", "tmFixed")

// Errors raised by the bitmap engine (message only).
ZELK_EXCEPTION_CLASS(EDIBError, Exception);

// True for colour values that name a system colour (high byte 0xFF).
constexpr bool IsSystemColor(TColor color) { return (static_cast<uint32_t>(color) >> 24) == 0xFFu; }

// Resolves system colours to 0x00BBGGRR through the platform backend, as
// canvases do; other values keep their low 24 bits.
TColor ResolveColor(TColor color);

// Colour to pixel: red, green, blue go to the pixel's red, green, blue bytes;
// the alpha byte is 0.
inline TPixel ColorToPixel(TColor color) {
  const uint32_t rgb = static_cast<uint32_t>(ResolveColor(color));
  const uint32_t red = rgb & 0xFFu;
  const uint32_t green = (rgb >> 8) & 0xFFu;
  const uint32_t blue = (rgb >> 16) & 0xFFu;
  return (red << 16) | (green << 8) | blue;
}

// Pixel to colour: 0x00BBGGRR from the pixel's red, green and blue bytes; the
// alpha byte is dropped.
constexpr TColor PixelToColor(TPixel pixel) {
  const uint32_t blue = pixel & 0xFFu;
  const uint32_t green = (pixel >> 8) & 0xFFu;
  const uint32_t red = (pixel >> 16) & 0xFFu;
  return static_cast<TColor>((blue << 16) | (green << 8) | red);
}

}  // namespace zelk
