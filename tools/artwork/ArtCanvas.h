// The drawing surface of the artwork generator: colours in floating point,
// shapes as coverage masks that are laid over the canvas in one colour.
// Edges are anti-aliased from the distance of each pixel's centre to the
// shape's outline, so every shape is smooth at any position and angle.
//
// Coordinates are pixels counted from the top-left corner; the centre of
// pixel (x, y) lies at (x + 0.5, y + 0.5). All arithmetic is in double
// precision and every pattern comes from an integer hash, so the pictures
// are the same bytes on every run.
#pragma once

#include <cstdint>
#include <vector>

#include "dib/PictureSource.h"

namespace zelk::artwork {

struct TRGB {
  double Red = 0.0;
  double Green = 0.0;
  double Blue = 0.0;
};

// 0xRRGGBB as a colour with channels 0..1.
constexpr TRGB Hex(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}
TRGB Mix(const TRGB& from, const TRGB& to, double amount);
TRGB Scaled(const TRGB& color, double factor);

struct TVector {
  double X = 0.0;
  double Y = 0.0;
};

// The unit vector of a dial angle: whole or fractional degrees clockwise
// from twelve o'clock, y growing downwards.
TVector Direction(double degrees);

// How much of each pixel a shape covers, 0..1. Shapes added to one mask
// join by the larger coverage, so overlapping strokes never darken twice.
class TMask {
 public:
  TMask(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  double At(int x, int y) const;

  // A line from `from` to `to` with round ends.
  void Stroke(TVector from, TVector to, double width);
  void Disc(TVector center, double radius);
  // The band between two radii.
  void Ring(TVector center, double innerRadius, double outerRadius);

 private:
  void Cover(int x, int y, double coverage);
  std::vector<double> coverage_;
  int width_;
  int height_;
};

class TArtCanvas {
 public:
  TArtCanvas(int width, int height, const TRGB& fill);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const TRGB& At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, const TRGB& color) { pixels_[Index(x, y)] = color; }
  // Blends color over the pixel by amount (0 keeps it, 1 replaces it).
  void Blend(int x, int y, const TRGB& color, double amount);

  // Lays color over the canvas through mask, shifted by (dx, dy) pixels.
  void Paint(const TMask& mask, const TRGB& color, double opacity = 1.0, int dx = 0, int dy = 0);

  // Opaque pixels 0xFFRRGGBB, top row first, each channel rounded to 8 bits.
  TLoadedPicture ToPicture() const;

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + x; }
  std::vector<TRGB> pixels_;
  int width_;
  int height_;
};

// Smooth 0..1 step between edge0 and edge1.
double SmoothStep(double edge0, double edge1, double value);
// A hash of an integer, 0..1, the same on every platform.
double HashUnit(uint32_t value);
// Noise along one axis: hashed values at whole steps, eased in between.
double ValueNoise(double position, uint32_t seed);

}  // namespace zelk::artwork
