#include "platform/win32/GdiSurface8.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace zelk::platform {

namespace {

// The header with room for 256 colour entries and one more word.
struct TBitmapInfo8 {
  BITMAPINFOHEADER Header;
  RGBQUAD Colors[256];
  DWORD Spare;
};
static_assert(sizeof(TBitmapInfo8) == 1068);

TBitmapInfo8 HeaderFor(int32_t width, int32_t height, std::span<const TColorEntry, 256> colorTable) {
  TBitmapInfo8 info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = width;
  info.Header.biHeight = height;  // bottom-up rows
  info.Header.biPlanes = 1;
  info.Header.biBitCount = 8;
  info.Header.biCompression = BI_RGB;
  for (size_t index = 0; index < 256; ++index) {
    info.Colors[index] = {colorTable[index].Blue, colorTable[index].Green, colorTable[index].Red, 0};
  }
  return info;
}

class TGdiSection8 final : public TSection8 {
 public:
  TGdiSection8(HDC memory, HBITMAP section, HGDIOBJ previous, void* bits, const TBitmapInfo8& info)
      : memory_(memory), section_(section), previous_(previous), bits_(static_cast<uint8_t*>(bits)), info_(info) {
    for (size_t index = 0; index < 256; ++index) {
      colorTable_[index] = {info.Colors[index].rgbBlue, info.Colors[index].rgbGreen, info.Colors[index].rgbRed, 0};
    }
  }
  ~TGdiSection8() override {
    SelectObject(memory_, previous_);
    DeleteObject(section_);
    DeleteDC(memory_);
  }
  TGdiSection8(const TGdiSection8&) = delete;
  TGdiSection8& operator=(const TGdiSection8&) = delete;

  int32_t Width() const override { return info_.Header.biWidth; }
  int32_t Height() const override { return info_.Header.biHeight; }
  int32_t RowStride() const override { return (Width() + 3) & ~3; }
  uint8_t* Bits() override { return bits_; }
  const uint8_t* Bits() const override { return bits_; }
  std::span<const TColorEntry, 256> ColorTable() const override { return colorTable_; }
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(&info_); }

 private:
  HDC memory_;
  HBITMAP section_;
  HGDIOBJ previous_;
  uint8_t* bits_;
  TBitmapInfo8 info_;
  std::array<TColorEntry, 256> colorTable_{};
};

class TGdiSurface8 final : public TSurface8 {
 public:
  explicit TGdiSurface8(HDC dc) : dc_(dc) {}

  int BitsPerPixel() const override {
    if (GetObjectType(dc_) == OBJ_MEMDC) {
      BITMAP bitmap{};
      if (GetObject(GetCurrentObject(dc_, OBJ_BITMAP), sizeof(bitmap), &bitmap) != 0) {
        return bitmap.bmBitsPixel * bitmap.bmPlanes;
      }
    }
    return GetDeviceCaps(dc_, BITSPIXEL) * GetDeviceCaps(dc_, PLANES);
  }

  std::unique_ptr<TSection8> CreateSection(int32_t width, int32_t height,
                                           std::span<const TColorEntry, 256> colorTable) override {
    HDC memory = CreateCompatibleDC(dc_);
    if (memory == nullptr) return nullptr;
    const TBitmapInfo8 info = HeaderFor(width, height, colorTable);
    void* bits = nullptr;
    HBITMAP section =
        CreateDIBSection(memory, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr || bits == nullptr) {
      const DWORD error = GetLastError();
      if (section != nullptr) DeleteObject(section);
      DeleteDC(memory);
      SetLastError(error);
      return nullptr;
    }
    GdiFlush();
    HGDIOBJ previous = SelectObject(memory, section);
    return std::make_unique<TGdiSection8>(memory, section, previous, bits, info);
  }

  void SetBits(int32_t x, int32_t y, const TSection8& section) override {
    // The header travels with sections made here; others get one built
    // from their own size and colour table.
    const auto* gdi = dynamic_cast<const TGdiSection8*>(&section);
    const TBitmapInfo8 built = HeaderFor(section.Width(), section.Height(), section.ColorTable());
    const BITMAPINFO* info = gdi != nullptr ? gdi->Info() : reinterpret_cast<const BITMAPINFO*>(&built);
    GdiFlush();
    SetDIBitsToDevice(dc_, x, y, static_cast<DWORD>(section.Width()), static_cast<DWORD>(section.Height()), 0, 0, 0,
                      static_cast<UINT>(section.Height()), section.Bits(), info, DIB_RGB_COLORS);
  }

 private:
  HDC dc_;
};

}  // namespace

std::unique_ptr<TSurface8> CreateGdiSurface8(TSurfaceHandle dc) {
  if (dc == 0) return nullptr;
  return std::make_unique<TGdiSurface8>(reinterpret_cast<HDC>(dc));
}

}  // namespace zelk::platform
