#include "platform/software/SoftwareSurface8.h"

#include <algorithm>
#include <cerrno>
#include <limits>

#include "platform/SystemError.h"

namespace zelk::platform {

namespace {

// Sections larger than this are refused like an exhausted platform would.
constexpr int64_t kMaxSectionBytes = int64_t{1} << 30;

int32_t StrideOf(int32_t width) { return static_cast<int32_t>((int64_t{width} + 3) / 4 * 4); }

int32_t DistanceOf(const TColorEntry& a, const TColorEntry& b) {
  const int32_t blue = a.Blue - b.Blue;
  const int32_t green = a.Green - b.Green;
  const int32_t red = a.Red - b.Red;
  return blue * blue + green * green + red * red;
}

}  // namespace

TSoftwareSection8::TSoftwareSection8(int32_t width, int32_t height, std::span<const TColorEntry, 256> colorTable)
    : width_(width),
      height_(height),
      stride_(StrideOf(width)),
      bits_(static_cast<size_t>(int64_t{StrideOf(width)} * height)) {
  std::copy(colorTable.begin(), colorTable.end(), colorTable_.begin());
}

TSoftwareSurface8::TSoftwareSurface8(int32_t width, int32_t height, std::span<const TColorEntry, 256> palette,
                                     int bitsPerPixel)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bitsPerPixel_(bitsPerPixel),
      indices_(static_cast<size_t>(int64_t{std::max(width, 0)} * std::max(height, 0))) {
  std::copy(palette.begin(), palette.end(), palette_.begin());
}

std::unique_ptr<TSection8> TSoftwareSurface8::CreateSection(int32_t width, int32_t height,
                                                            std::span<const TColorEntry, 256> colorTable) {
  if (width < 1 || height < 1 || int64_t{StrideOf(width)} * height > kMaxSectionBytes) {
    SystemErrors().SetLastErrorCode(width < 1 || height < 1 ? EINVAL : ENOMEM);
    return nullptr;
  }
  return std::make_unique<TSoftwareSection8>(width, height, colorTable);
}

uint8_t TSoftwareSurface8::NearestIndex(const TColorEntry& color) const {
  size_t best = 0;
  int32_t bestDistance = std::numeric_limits<int32_t>::max();
  for (size_t index = 0; index < palette_.size(); ++index) {
    const int32_t distance = DistanceOf(color, palette_[index]);
    if (distance < bestDistance) {
      best = index;
      bestDistance = distance;
    }
  }
  return static_cast<uint8_t>(best);
}

void TSoftwareSurface8::SetBits(int32_t x, int32_t y, const TSection8& section) {
  std::array<uint8_t, 256> toSurface{};
  for (size_t index = 0; index < 256; ++index) toSurface[index] = NearestIndex(section.ColorTable()[index]);
  // Section rows are bottom-up: picture row r is memory row Height - 1 - r.
  for (int32_t row = 0; row < section.Height(); ++row) {
    const int64_t targetY = int64_t{y} + row;
    if (targetY < 0 || targetY >= height_) continue;
    const uint8_t* line = section.Bits() + int64_t{section.RowStride()} * (section.Height() - 1 - row);
    for (int32_t column = 0; column < section.Width(); ++column) {
      const int64_t targetX = int64_t{x} + column;
      if (targetX < 0 || targetX >= width_) continue;
      indices_[static_cast<size_t>(targetY * width_ + targetX)] = toSurface[line[column]];
    }
  }
}

uint8_t TSoftwareSurface8::IndexAt(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return indices_[static_cast<size_t>(int64_t{y} * width_ + x)];
}

}  // namespace zelk::platform
