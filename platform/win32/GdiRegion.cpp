#include "platform/win32/GdiRegion.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstring>

namespace zelk::platform {

namespace {

// An empty region; GDI refuses it only when it has no memory left.
HRGN CreateEmptyRegion() { return CreateRectRgn(0, 0, 0, 0); }

// The union of rects, built with one ExtCreateRegion call, or rectangle by
// rectangle when GDI will not take them all at once.
HRGN CreateRegionOf(std::span<const TRegionRect> rects) {
  std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rects.size_bytes());
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(rects.size());
  header.nRgnSize = static_cast<DWORD>(rects.size_bytes());
  RECT bounds{0, 0, 0, 0};
  for (const TRegionRect& rect : rects) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) continue;
    if (IsRectEmpty(&bounds)) {
      bounds = {rect.Left, rect.Top, rect.Right, rect.Bottom};
    } else {
      bounds = {std::min<LONG>(bounds.left, rect.Left), std::min<LONG>(bounds.top, rect.Top),
                std::max<LONG>(bounds.right, rect.Right), std::max<LONG>(bounds.bottom, rect.Bottom)};
    }
  }
  header.rcBound = bounds;
  std::memcpy(data.data(), &header, sizeof header);
  if (!rects.empty()) std::memcpy(data.data() + sizeof header, rects.data(), rects.size_bytes());
  if (HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()))) {
    return region;
  }
  HRGN region = CreateEmptyRegion();
  if (region == nullptr) return nullptr;
  for (const TRegionRect& rect : rects) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) continue;
    HRGN piece = CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (piece == nullptr) continue;
    CombineRgn(region, region, piece, RGN_OR);
    DeleteObject(piece);
  }
  return region;
}

class TGdiRegion final : public TRegion {
 public:
  explicit TGdiRegion(HRGN region) : region_(region) {}
  ~TGdiRegion() override {
    if (region_ != nullptr) DeleteObject(region_);
  }
  TGdiRegion(const TGdiRegion&) = delete;
  TGdiRegion& operator=(const TGdiRegion&) = delete;

  void Unite(const TRegion& other) override {
    if (const auto* gdi = dynamic_cast<const TGdiRegion*>(&other)) {
      if (region_ != nullptr && gdi->region_ != nullptr) CombineRgn(region_, region_, gdi->region_, RGN_OR);
      return;
    }
    HRGN added = static_cast<HRGN>(CreateGdiRegionFrom(other));
    if (added == nullptr) return;
    if (region_ != nullptr) CombineRgn(region_, region_, added, RGN_OR);
    DeleteObject(added);
  }

  bool Contains(int32_t x, int32_t y) const override { return region_ != nullptr && PtInRegion(region_, x, y); }

  std::vector<TRegionRect> Rectangles() const override {
    if (region_ == nullptr) return {};
    const DWORD size = GetRegionData(region_, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER)) return {};
    std::vector<uint8_t> data(size);
    if (GetRegionData(region_, size, reinterpret_cast<RGNDATA*>(data.data())) == 0) return {};
    RGNDATAHEADER header;
    std::memcpy(&header, data.data(), sizeof header);
    const size_t available = (size - header.dwSize) / sizeof(RECT);
    std::vector<TRegionRect> rects(std::min<size_t>(header.nCount, available));
    if (!rects.empty()) std::memcpy(rects.data(), data.data() + header.dwSize, rects.size() * sizeof(RECT));
    return rects;
  }

  HRGN Handle() const { return region_; }

 private:
  HRGN region_;
};

static_assert(sizeof(RECT) == sizeof(TRegionRect));

}  // namespace

std::unique_ptr<TRegion> TGdiRegionFactory::CreateFromData(const TRegionDataHeader& header,
                                                           std::span<const TRegionRect> rects) {
  return std::make_unique<TGdiRegion>(CreateRegionOf(rects.first(std::min<size_t>(header.Count, rects.size()))));
}

void* CreateGdiRegionFrom(const TRegion& region) {
  if (const auto* gdi = dynamic_cast<const TGdiRegion*>(&region)) {
    HRGN copy = CreateEmptyRegion();
    if (copy != nullptr && gdi->Handle() != nullptr) CombineRgn(copy, gdi->Handle(), nullptr, RGN_COPY);
    return copy;
  }
  const std::vector<TRegionRect> rects = region.Rectangles();
  return CreateRegionOf(rects);
}

}  // namespace zelk::platform
