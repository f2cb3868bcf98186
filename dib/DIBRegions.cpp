// AlphaRegion and ColorRegion: the inside pixels of each row as runs of
// rectangles, handed to the platform in batches of at most 400.
#include <array>
#include <memory>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBPixels.h"
#include "platform/Region.h"

namespace zelk {

namespace {

constexpr size_t kBatchRectangles = 400;

// The platform's region-data buffer: a header and room for one batch.
struct TRegionBatch {
  platform::TRegionDataHeader Header;
  std::array<platform::TRegionRect, kBatchRectangles> Rects;
};
static_assert(sizeof(TRegionBatch) == 6432);

class TRegionBuilder {
 public:
  TRegionBuilder(int32_t width, int32_t height) { batch_->Header.Bounds = {0, 0, width, height}; }

  void Add(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    batch_->Rects[batch_->Header.Count++] = {left, top, right, bottom};
    if (batch_->Header.Count == kBatchRectangles) Flush();
  }

  std::unique_ptr<platform::TRegion> Finish() {
    if (batch_->Header.Count > 0) Flush();
    return std::move(result_);
  }

 private:
  // The batch becomes a region, the first is the result and later ones are
  // united with it.
  void Flush() {
    auto region = platform::RegionFactory().CreateFromData(batch_->Header, batch_->Rects);
    if (result_) {
      result_->Unite(*region);
    } else {
      result_ = std::move(region);
    }
    batch_->Header.Count = 0;
  }

  std::unique_ptr<TRegionBatch> batch_ = std::make_unique<TRegionBatch>();
  std::unique_ptr<platform::TRegion> result_;
};

template <class IsInside>
std::unique_ptr<platform::TRegion> RegionOf(const TAbstractSuperDIB& dib, IsInside isInside) {
  if (dib.Bits() == nullptr) return nullptr;
  TRegionBuilder builder(dib.Width(), dib.Height());
  for (int32_t y = 0; y < dib.Height(); ++y) {
    const uint8_t* line = dib.ScanLine(y);
    bool inside = false;
    int32_t start = 0;
    for (int32_t x = 0; x < dib.Width(); ++x) {
      const bool pixelInside = isInside(LoadPixel(line + x * 4));
      if (inside && !pixelInside) builder.Add(start, y, x, y + 1);
      if (!inside && pixelInside) start = x;
      inside = pixelInside;
    }
    if (inside) builder.Add(start, y, dib.Width(), y + 1);
  }
  return builder.Finish();
}

}  // namespace

std::unique_ptr<platform::TRegion> TAbstractSuperDIB::AlphaRegion(uint8_t threshold) const {
  return RegionOf(*this, [threshold](TPixel pixel) { return AlphaOf(pixel) > threshold; });
}

std::unique_ptr<platform::TRegion> TAbstractSuperDIB::ColorRegion(TColor color) const {
  const TPixel key = ColorToPixel(color) & kColorBits;
  return RegionOf(*this, [key](TPixel pixel) { return (pixel & kColorBits) != key; });
}

}  // namespace zelk
