#include "tools/artwork/ArtCanvas.h"

#include <algorithm>
#include <cmath>

namespace zelk::artwork {

namespace {

constexpr double kPi = 3.14159265358979323846;

double Clamp01(double value) { return std::clamp(value, 0.0, 1.0); }

// Coverage of a pixel whose centre lies `inside` pixels within an edge
// (negative: outside): a one-pixel ramp centred on the edge.
double EdgeCoverage(double inside) { return Clamp01(inside + 0.5); }

double DistanceToSegment(TVector point, TVector from, TVector to) {
  const double dx = to.X - from.X;
  const double dy = to.Y - from.Y;
  const double lengthSquared = dx * dx + dy * dy;
  double along = 0.0;
  if (lengthSquared > 0.0) along = Clamp01(((point.X - from.X) * dx + (point.Y - from.Y) * dy) / lengthSquared);
  return std::hypot(point.X - (from.X + along * dx), point.Y - (from.Y + along * dy));
}

int FloorInt(double value) { return static_cast<int>(std::floor(value)); }

}  // namespace

TRGB Mix(const TRGB& from, const TRGB& to, double amount) {
  return {from.Red + (to.Red - from.Red) * amount, from.Green + (to.Green - from.Green) * amount,
          from.Blue + (to.Blue - from.Blue) * amount};
}

TRGB Scaled(const TRGB& color, double factor) {
  return {color.Red * factor, color.Green * factor, color.Blue * factor};
}

TVector Direction(double degrees) {
  const double radians = degrees * kPi / 180.0;
  return {std::sin(radians), -std::cos(radians)};
}

double SmoothStep(double edge0, double edge1, double value) {
  const double t = Clamp01((value - edge0) / (edge1 - edge0));
  return t * t * (3.0 - 2.0 * t);
}

double HashUnit(uint32_t value) {
  value ^= value >> 16;
  value *= 0x7FEB352Du;
  value ^= value >> 15;
  value *= 0x846CA68Bu;
  value ^= value >> 16;
  return (value & 0xFFFFFFu) / static_cast<double>(0xFFFFFF);
}

double ValueNoise(double position, uint32_t seed) {
  const double cell = std::floor(position);
  const auto index = static_cast<uint32_t>(static_cast<int64_t>(cell));
  const double t = position - cell;
  const double eased = t * t * (3.0 - 2.0 * t);
  const double left = HashUnit(index * 0x9E3779B9u ^ seed);
  const double right = HashUnit((index + 1u) * 0x9E3779B9u ^ seed);
  return left + (right - left) * eased;
}

// --- TMask ---

TMask::TMask(int width, int height)
    : coverage_(static_cast<size_t>(width) * static_cast<size_t>(height), 0.0), width_(width), height_(height) {}

double TMask::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0.0;
  return coverage_[static_cast<size_t>(y) * static_cast<size_t>(width_) + x];
}

void TMask::Cover(int x, int y, double coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0.0) return;
  double& cell = coverage_[static_cast<size_t>(y) * static_cast<size_t>(width_) + x];
  cell = std::max(cell, coverage);
}

void TMask::Stroke(TVector from, TVector to, double width) {
  const double reach = width / 2.0 + 1.0;
  const int left = FloorInt(std::min(from.X, to.X) - reach);
  const int right = FloorInt(std::max(from.X, to.X) + reach);
  const int top = FloorInt(std::min(from.Y, to.Y) - reach);
  const int bottom = FloorInt(std::max(from.Y, to.Y) + reach);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const double distance = DistanceToSegment({x + 0.5, y + 0.5}, from, to);
      Cover(x, y, EdgeCoverage(width / 2.0 - distance));
    }
  }
}

void TMask::Disc(TVector center, double radius) { Ring(center, -1.0, radius); }

void TMask::Ring(TVector center, double innerRadius, double outerRadius) {
  const int left = FloorInt(center.X - outerRadius - 1.0);
  const int right = FloorInt(center.X + outerRadius + 1.0);
  const int top = FloorInt(center.Y - outerRadius - 1.0);
  const int bottom = FloorInt(center.Y + outerRadius + 1.0);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const double distance = std::hypot(x + 0.5 - center.X, y + 0.5 - center.Y);
      Cover(x, y, EdgeCoverage(std::min(distance - innerRadius, outerRadius - distance)));
    }
  }
}

// --- TArtCanvas ---

TArtCanvas::TArtCanvas(int width, int height, const TRGB& fill)
    : pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), fill), width_(width), height_(height) {}

void TArtCanvas::Blend(int x, int y, const TRGB& color, double amount) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || amount <= 0.0) return;
  TRGB& pixel = pixels_[Index(x, y)];
  pixel = Mix(pixel, color, std::min(amount, 1.0));
}

void TArtCanvas::Paint(const TMask& mask, const TRGB& color, double opacity, int dx, int dy) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) Blend(x, y, color, mask.At(x - dx, y - dy) * opacity);
  }
}

TLoadedPicture TArtCanvas::ToPicture() const {
  const auto channel = [](double value) {
    return static_cast<uint32_t>(std::lround(Clamp01(value) * 255.0));
  };
  TLoadedPicture picture;
  picture.width = width_;
  picture.height = height_;
  picture.pixels.reserve(pixels_.size());
  for (const TRGB& pixel : pixels_) {
    picture.pixels.push_back(0xFF000000u | channel(pixel.Red) << 16 | channel(pixel.Green) << 8 | channel(pixel.Blue));
  }
  return picture;
}

}  // namespace zelk::artwork
