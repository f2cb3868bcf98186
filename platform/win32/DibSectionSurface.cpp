#include "platform/win32/DibSectionSurface.h"

#include "platform/win32/GdiSurface8.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zelk::platform {

namespace {

constexpr int32_t kLargestDimension = 65535;
// GDI hands out a handle value again once its slot has gone round; a few
// spare contexts are enough to step over one that an earlier surface had.
constexpr int kContextAttempts = 8;

// Living surfaces by device context, and every context ever handed out, so
// that no new surface gets the handle of an earlier one.
class TContextTable {
 public:
  bool WasIssued(HDC dc) const { return issued_.contains(Key(dc)); }
  void Add(HDC dc, TSurface* surface) {
    issued_.insert(Key(dc));
    living_[Key(dc)] = surface;
  }
  void Remove(HDC dc) { living_.erase(Key(dc)); }
  TSurface* Find(TSurfaceHandle handle) const {
    const auto found = living_.find(handle);
    return found == living_.end() ? nullptr : found->second;
  }

 private:
  static TSurfaceHandle Key(HDC dc) { return reinterpret_cast<TSurfaceHandle>(dc); }
  std::unordered_set<TSurfaceHandle> issued_;
  std::unordered_map<TSurfaceHandle, TSurface*> living_;
};

TContextTable& Contexts() {
  static TContextTable table;
  return table;
}

// A memory context whose handle no surface had before; null when GDI refuses.
HDC CreateFreshContext() {
  std::vector<HDC> stale;
  HDC fresh = nullptr;
  for (int attempt = 0; attempt < kContextAttempts && fresh == nullptr; ++attempt) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) break;
    if (Contexts().WasIssued(dc)) {
      stale.push_back(dc);
    } else {
      fresh = dc;
    }
  }
  for (HDC dc : stale) DeleteDC(dc);
  return fresh;
}

class TDibSectionSurface final : public TSurface {
 public:
  TDibSectionSurface(int32_t width, int32_t height, HDC dc, HBITMAP bitmap, void* bits)
      : width_(width), height_(height), dc_(dc), bitmap_(bitmap), bits_(static_cast<uint8_t*>(bits)) {
    previous_ = SelectObject(dc_, bitmap_);
    Contexts().Add(dc_, this);
  }
  ~TDibSectionSurface() override {
    Contexts().Remove(dc_);
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  uint8_t* Bits() override { return bits_; }
  TSurfaceHandle Handle() const override { return reinterpret_cast<TSurfaceHandle>(dc_); }
  // GDI may batch drawing on the context; the pixels are final after this.
  void Flush() override { GdiFlush(); }

 private:
  int32_t width_;
  int32_t height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_ = nullptr;
  uint8_t* bits_;
};

std::unique_ptr<TSurface> Refuse(DWORD fallbackError) {
  if (GetLastError() == ERROR_SUCCESS) SetLastError(fallbackError);
  return nullptr;
}

}  // namespace

std::unique_ptr<TSurface> TDibSectionSurfaceFactory::CreateSurface(int32_t width, int32_t height) {
  SetLastError(ERROR_SUCCESS);
  if (width < 1 || height < 1 || width > kLargestDimension || height > kLargestDimension) {
    return Refuse(ERROR_INVALID_PARAMETER);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: the bottom row first in memory
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return Refuse(ERROR_NOT_ENOUGH_MEMORY);
  HDC dc = CreateFreshContext();
  if (dc == nullptr) {
    DeleteObject(bitmap);
    return Refuse(ERROR_NOT_ENOUGH_MEMORY);
  }
  try {
    return std::make_unique<TDibSectionSurface>(width, height, dc, bitmap, bits);
  } catch (const std::bad_alloc&) {
    DeleteObject(bitmap);
    DeleteDC(dc);
    return Refuse(ERROR_NOT_ENOUGH_MEMORY);
  }
}

TSurface* TDibSectionSurfaceFactory::SurfaceOf(TSurfaceHandle handle) { return Contexts().Find(handle); }

std::unique_ptr<TSurface8> TDibSectionSurfaceFactory::Surface8Of(TSurfaceHandle handle) {
  return CreateGdiSurface8(handle);
}

TDibSectionSurfaceFactory& DibSectionSurfaceFactory() {
  static TDibSectionSurfaceFactory factory;
  return factory;
}

}  // namespace zelk::platform
