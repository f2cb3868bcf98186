#include "dib/AbstractSuperDIB.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "dib/DIBPixels.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

namespace {

constexpr char kEndUpdateMessage[] = "EndUpdate without BeginUpdate";
constexpr char kAssignMessage[] = "Cannot assign a TAbstractDIB to a ";

}  // namespace

const TClassInfo& TAbstractSuperDIB::StaticClass() {
  using T = TAbstractSuperDIB;
  // No stream defaults: every property is always written. Height comes
  // before Width, so a loaded bitmap is sized once both are read.
  static const TClassInfo info = TClassBuilder<T>("TAbstractSuperDIB")
                                     .Property("Angle", &T::Angle, &T::SetAngle)
                                     .Property("AutoSize", &T::AutoSize, &T::SetAutoSize)
                                     .Property("Height", &T::Height, &T::SetHeight)
                                     .Property("Masked", &T::Masked, &T::SetMasked)
                                     .Property("Opacity", &T::Opacity, &T::SetOpacity)
                                     .Property("Scale", &T::Scale, &T::SetScale)
                                     .Precision(TFloatType::ftExtended)
                                     .Property("Transparent", &T::Transparent, &T::SetTransparent)
                                     .Property("TransparentColor", &T::TransparentColor, &T::SetTransparentColor)
                                     .Idents(ColorIdents())
                                     .Property("TransparentMode", &T::TransparentMode, &T::SetTransparentMode)
                                     .Property("Width", &T::Width, &T::SetWidth)
                                     .Build();
  return info;
}

TAbstractSuperDIB::TAbstractSuperDIB() {
  drawProc_ = {TRowRoutine::rrCopyRow, this};
  InitDefaults();
}

// Concrete classes release their pixels in their own destructor (FreeBits is
// theirs); by the time this runs there is nothing left to release here.
TAbstractSuperDIB::~TAbstractSuperDIB() = default;

void TAbstractSuperDIB::BeforeDestruction() {
  ReleaseBits();
  TPersistent::BeforeDestruction();
}

void TAbstractSuperDIB::InitDefaults() {
  angle_ = 0;
  masked_ = false;
  opacity_ = 255;
  scaleX_ = 100.0L;
  scaleY_ = 100.0L;
  transparent_ = false;
}

// --- settings ---

void TAbstractSuperDIB::SetAngle(TAngle value) {
  const TAngle reduced = static_cast<TAngle>(value % 360);
  if (reduced == angle_) return;
  angle_ = reduced;
  Changed();
}

void TAbstractSuperDIB::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  Changed();
}

void TAbstractSuperDIB::SetClipRect(const TRect& rect) {
  TRect clip = rect;
  if (clip.Right < clip.Left) std::swap(clip.Left, clip.Right);
  if (clip.Bottom < clip.Top) std::swap(clip.Top, clip.Bottom);
  if (clip.Right >= width_) clip.Right = width_ - 1;
  if (clip.Left < 0) clip.Left = 0;
  if (clip.Bottom >= height_) clip.Bottom = height_ - 1;
  if (clip.Top < 0) clip.Top = 0;
  clipRect_ = clip;
}

void TAbstractSuperDIB::SetHeight(uint16_t value) { SetSize(width_, value); }

void TAbstractSuperDIB::SetWidth(uint16_t value) { SetSize(value, height_); }

void TAbstractSuperDIB::SetMasked(bool value) {
  if (value == masked_) return;
  masked_ = value;
  if (value) transparent_ = false;
  Changed();
}

void TAbstractSuperDIB::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  if (value) masked_ = false;
  Changed();
}

void TAbstractSuperDIB::SetOpacity(uint8_t value) {
  if (value == opacity_) return;
  opacity_ = value;
  Changed();
}

void TAbstractSuperDIB::SetScale(long double value) {
  if (value == scaleX_ && value == scaleY_) return;
  scaleX_ = value;
  scaleY_ = value;
  Changed();
}

void TAbstractSuperDIB::SetScaleX(long double value) {
  if (value == scaleX_) return;
  scaleX_ = value;
  Changed();
}

void TAbstractSuperDIB::SetScaleY(long double value) {
  if (value == scaleY_) return;
  scaleY_ = value;
  Changed();
}

TColor TAbstractSuperDIB::TransparentColor() const {
  if (transparentMode_ == TTransparentMode::tmAuto && bits_ != nullptr) return PixelToColor(LoadPixel(bits_));
  return PixelToColor(transparentColorValue_);
}

void TAbstractSuperDIB::SetTransparentColor(TColor value) {
  if (value == PixelToColor(transparentColorValue_)) return;
  transparentColorValue_ = ColorToPixel(value);
  Changed();
}

void TAbstractSuperDIB::SetTransparentMode(TTransparentMode value) {
  if (value == transparentMode_) return;
  transparentMode_ = value;
  Changed();
}

// --- pixels ---

bool TAbstractSuperDIB::HasBits() const { return bits_ != nullptr || !ownsBits_; }

uint8_t* TAbstractSuperDIB::ScanLine(int32_t row) const {
  if (bits_ == nullptr || row < 0 || row >= height_) return nullptr;
  return bits_ + PixelOffset(width_, 0, height_ - 1 - row);
}

TPixel TAbstractSuperDIB::Pixel(int32_t x, int32_t y) const {
  const uint8_t* row = ScanLine(y);
  if (row == nullptr || x < 0 || x >= width_) return 0;
  return LoadPixel(row + static_cast<ptrdiff_t>(x) * 4);
}

void TAbstractSuperDIB::SetPixel(int32_t x, int32_t y, TPixel pixel) {
  uint8_t* row = ScanLine(y);
  if (row == nullptr || x < 0 || x >= width_) return;
  StorePixel(row + static_cast<ptrdiff_t>(x) * 4, pixel);
}

size_t TAbstractSuperDIB::PixelBufferSize() const {
  const uint64_t bytes = PixelByteCount();
  if (bytes > static_cast<uint64_t>(std::numeric_limits<ptrdiff_t>::max())) throw std::bad_alloc();
  return static_cast<size_t>(bytes);
}

// --- life cycle and sharing ---

void TAbstractSuperDIB::ReleaseBits() {
  if (ownsBits_ && bits_ != nullptr) FreeBits();
  if (ownsBits_) bits_ = nullptr;
}

void TAbstractSuperDIB::SetDimensions(uint16_t width, uint16_t height) {
  if (!ownsBits_ && (width != width_ || height != height_)) bits_ = nullptr;
  width_ = width;
  height_ = height;
}

void TAbstractSuperDIB::SetSize(uint16_t width, uint16_t height) {
  if (width == width_ && height == height_) return;
  ReleaseBits();
  SetDimensions(width == 0 ? 1 : width, height == 0 ? 1 : height);
  clipRect_ = {0, 0, width_ - 1, height_ - 1};
  if (ownsBits_) AllocateBits();
  if (OnResize) OnResize(this);
}

void TAbstractSuperDIB::ShareFrom(TAbstractSuperDIB& source) {
  if (&source == this) return;
  ReleaseBits();
  ownsBits_ = false;
  source.AssignPropertiesTo(this);
  bits_ = source.bits_;
}

void TAbstractSuperDIB::AssignPropertiesTo(TPersistent* dest) {
  auto* target = (dest != nullptr && dest->Is<TAbstractSuperDIB>()) ? static_cast<TAbstractSuperDIB*>(dest) : nullptr;
  if (target == nullptr) {
    const std::string className = dest ? std::string(dest->ClassName()) : std::string("nil");
    throw EDIBError(kAssignMessage + className);
  }
  target->angle_ = angle_;
  target->autoSize_ = autoSize_;
  target->masked_ = masked_;
  target->opacity_ = opacity_;
  target->scaleX_ = scaleX_;
  target->scaleY_ = scaleY_;
  target->transparent_ = transparent_;
  target->transparentColorValue_ = transparentColorValue_;
  target->transparentMode_ = transparentMode_;
  target->drawProc_ = drawProc_;
  if (!target->ownsBits_) target->SetDimensions(width_, height_);
}

void TAbstractSuperDIB::CopyPixelsFrom(const TAbstractSuperDIB& source) {
  if (&source == this) {
    Changed();
    return;
  }
  SetSize(source.width_, source.height_);
  const bool sameSize = width_ == source.width_ && height_ == source.height_;
  if (source.width_ != 0 && source.height_ != 0 && sameSize && bits_ != nullptr && source.bits_ != nullptr) {
    std::memmove(bits_, source.bits_, static_cast<size_t>(PixelByteCount()));
  }
  Changed();
}

void TAbstractSuperDIB::AssignTo(TPersistent* dest) {
  if (dest == nullptr || !dest->Is<TAbstractSuperDIB>()) {
    TPersistent::AssignTo(dest);
    return;
  }
  auto* target = static_cast<TAbstractSuperDIB*>(dest);
  target->CopyPixelsFrom(*this);
  AssignPropertiesTo(target);
  target->Changed();
}

// --- change notification ---

void TAbstractSuperDIB::Changed() {
  UpdateDrawProc();
  if (updateCount_ == 0 && OnChange) OnChange(this);
}

void TAbstractSuperDIB::UpdateDrawProc() {
  TRowRoutine routine;
  if (masked_) {
    routine = opacity_ == 255 ? TRowRoutine::rrBlendRowAlpha : TRowRoutine::rrBlendRowAlphaOpacity;
  } else if (transparent_) {
    routine = opacity_ == 255 ? TRowRoutine::rrKeyRow : TRowRoutine::rrKeyRowOpacity;
  } else {
    routine = opacity_ == 255 ? TRowRoutine::rrCopyRow : TRowRoutine::rrBlendRowOpacity;
  }
  drawProc_ = {routine, this};
}

void TAbstractSuperDIB::BeginUpdate() { ++updateCount_; }

void TAbstractSuperDIB::EndUpdate() {
  if (updateCount_ == 0) throw EDIBError(kEndUpdateMessage);
  --updateCount_;
  if (updateCount_ == 0) Changed();
}

// --- filling ---

void TAbstractSuperDIB::Fill(TColor color) {
  if (bits_ == nullptr) return;
  const TPixel pixel = ColorToPixel(color);
  const size_t count = static_cast<size_t>(uint64_t{width_} * height_);
  for (size_t index = 0; index < count; ++index) StorePixel(bits_ + index * 4, pixel);
  Changed();
}

void TAbstractSuperDIB::FillRect(TColor color, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (bits_ == nullptr) return;
  int64_t left = x, top = y, columns = width, rows = height;
  if (columns < 1 || rows < 1 || left + columns < 0 || top + rows < 0 || left >= width_ || top >= height_) return;
  if (left < 0) {
    columns += left;
    left = 0;
  }
  if (top < 0) {
    rows += top;
    top = 0;
  }
  columns = std::min<int64_t>(columns, width_ - left);
  rows = std::min<int64_t>(rows, height_ - top);
  const TPixel pixel = ColorToPixel(color);
  for (int64_t row = top; row < top + rows; ++row) {
    uint8_t* line = ScanLine(static_cast<int32_t>(row)) + left * 4;
    for (int64_t column = 0; column < columns; ++column) StorePixel(line + column * 4, pixel);
  }
}

void TAbstractSuperDIB::SetAlpha(uint8_t value) {
  if (bits_ == nullptr) return;
  const size_t count = static_cast<size_t>(uint64_t{width_} * height_);
  for (size_t index = 0; index < count; ++index) bits_[index * 4 + 3] = value;
  Changed();
}

}  // namespace zelk
